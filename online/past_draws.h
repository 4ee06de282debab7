// Fetching past draws: the maker's draw file and the outside results page are
// downloaded and parsed, and the library is rebuilt from them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/ports.h"
#include "history/history_store.h"

namespace dlt {

// The draw file is read no further than this many entries.
inline constexpr int kDrawFileEntries = 280;

// The draws of the maker's draw file, newest first as the file lists them:
// the first 280 entries, or every entry of a shorter file. Each entry is read
// at fixed offsets from its "|"; the bytes are taken as they stand.
std::vector<DrawRecord> parseDrawFile(std::string_view text, const YieldHook& yield = {});

// The draws of the results page that are newer than latestIssue, newest
// first: none unless the page's newest issue is greater, and only those that
// stand before the first occurrence of latestIssue on the page.
std::vector<DrawRecord> parseResultsPage(std::string_view page, std::string_view latestIssue,
                                         const YieldHook& yield = {});

// Where the fetch shows its progress: the history list and the two summary
// lines. Texts are GBK.
class FetchSink {
public:
    virtual ~FetchSink() = default;
    virtual void clearList() = 0;
    virtual void insertLine(int position, const std::string& line) = 0;
    virtual void showSummary(const std::string& countLine, const std::string& numbersLine) = 0;
};

enum class FetchOutcome {
    Replaced,       // the library now holds the fetched draws
    NothingFetched, // neither source gave a draw: the library is unchanged
    NotWritten,     // the new library could not be written: the old one stays
};

struct FetchResult {
    FetchOutcome outcome;
    int drawCount; // draws in the list when the fetch ended
};

// The whole fetch: downloads both sources, shows every draw as it arrives
// (the draw file's in file order, the page's newer draws at the top),
// replaces the library and shows the closing message. When nothing was
// fetched or the new library could not be written, the old library stays
// and the list shows it again; the message says what happened.
FetchResult fetchPastDraws(const HistoryStore& store, HttpGetter& http,
                           const std::string& drawFileUrl, const std::string& resultsPageUrl,
                           FetchSink& sink, MessageBoxPort& messages, const YieldHook& yield = {});

} // namespace dlt
