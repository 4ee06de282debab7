// 同步最新开奖: the draws newer than the library's newest are added after
// it, first from the lottery's official results service, with what each
// draw paid; only when the service gives nothing, from the fetch's two
// sources. Nothing held is ever removed or changed. And 补全开奖详情: what
// the held draws since the current prize rules paid, from the same service.
#pragma once

#include <string>
#include <string_view>

#include "core/ports.h"
#include "history/draw_details_store.h"
#include "history/history_store.h"
#include "online/official_results.h"

namespace dlt {

// Where a sync looks for draws.
struct SyncSources {
    std::string officialSite; // scheme and host; empty: the service is not asked
    std::string drawFileUrl;  // the maker's draw file
    std::string resultsPageUrl;
    OfficialReadOptions official;
};

enum class SyncOutcome {
    Added,        // newer draws were added
    UpToDate,     // nothing newer: the library is unchanged
    Unreachable,  // no source gave a draw: the library is unchanged
    Refused,      // the service refused after every wait: nothing changed
    ServiceError, // the service said it has no data: nothing changed
    NotWritten,   // the new draws could not be written: the library is unchanged
    Cancelled,    // given up through the cancel flag: nothing written or said
};

enum class SyncSource { Official, OtherSources };

struct SyncResult {
    SyncOutcome outcome;
    int added = 0;
    SyncSource source = SyncSource::Official;
    int conflicts = 0;    // held issues the source gives with other numbers
    int keptOut = 0;      // new draws that do not follow the library, not added
    int detailsSaved = 0; // draws whose details were written
};

// The whole sync. The official service is read back to the library's
// newest issue (an empty library: to 07001), its pages shown through
// progress. New draws are those above the library's newest; they are added
// in issue order, each issue once, in one change, if each follows the one
// before it (the library's newest first) as draws do: the same year's next
// numbers, or a new year starting low. The others are listed and the user is
// asked (Yes/No, No keeps them out). A source's draw for a held issue with
// other numbers is a conflict: listed, never written. The details of every
// draw the service gave that the library then holds with the same numbers
// are kept. The closing message says where the draws came from, how many
// were added and the newest issue (and its date when known), and what was
// left out and why. Once the cancel flag is raised nothing more is written
// or said.
SyncResult syncLatestDraws(const HistoryStore& store, const DrawDetailsStore& details,
                           HttpGetter& http, const SyncSources& sources, MessageBoxPort& messages,
                           const ProgressHook& progress, const CancelFlag& cancel,
                           const YieldHook& yield = {});

// The first issue whose prizes the lottery publishes in the service's form:
// the first draw of the nine-tier rules.
inline constexpr std::string_view kFirstDetailedIssue = "19019";

enum class DetailsOutcome {
    Saved,        // details were added for held draws
    Complete,     // every held draw since kFirstDetailedIssue had details already
    Unreachable,  // the service gave nothing
    Refused,      // refused after every wait
    ServiceError, // the service said it has no data
    NotWritten,   // the details file could not be written: it stays as it was
    Cancelled,    // given up: nothing written or said
};

struct DetailsResult {
    DetailsOutcome outcome;
    int saved = 0;   // held draws that got their details
    int missing = 0; // held draws since kFirstDetailedIssue still without details
};

// 补全开奖详情: reads the service back to the oldest held draw since
// kFirstDetailedIssue that lacks details, and keeps the details of the held
// draws the pages give with the same numbers. The library is never changed.
DetailsResult completeDrawDetails(const HistoryStore& store, const DrawDetailsStore& details,
                                  HttpGetter& http, const std::string& officialSite,
                                  const OfficialReadOptions& options, MessageBoxPort& messages,
                                  const ProgressHook& progress, const CancelFlag& cancel,
                                  const YieldHook& yield = {});

} // namespace dlt
