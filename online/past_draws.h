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
// at fixed offsets from its "|"; the bytes are taken as they stand, and an
// entry that is no sound draw (isSoundDraw) is left out. Time in proportion
// to the text read.
std::vector<DrawRecord> parseDrawFile(std::string_view text, const YieldHook& yield = {});

// The draws of the results page that are newer than latestIssue, newest
// first: none unless the page's newest issue is greater, and only those that
// stand before the first occurrence of latestIssue on the page; one that is
// no whole draw is left out. Time in proportion to the page, however many
// draws it holds.
std::vector<DrawRecord> parseResultsPage(std::string_view page, std::string_view latestIssue,
                                         const YieldHook& yield = {});

// A source's draws as the library keeps them: in issue order, each issue
// once. A draw the source gives again (the same numbers, in any order) is
// taken once; an issue it also gives with other numbers is a conflict, of
// which the draw given first is taken.
struct IssueConflict {
    DrawRecord taken;
    DrawRecord other;
};
struct SourceDraws {
    std::vector<DrawRecord> newestFirst;
    std::vector<IssueConflict> conflicts;
};
SourceDraws inIssueOrder(const std::vector<DrawRecord>& given);

// Where the fetch shows its progress: the history list and the two summary
// lines.
class FetchSink {
public:
    virtual ~FetchSink() = default;
    virtual void clearList() = 0;
    virtual void insertLine(int position, const std::string& line) = 0;
    virtual void showSummary(const std::string& countLine, const std::string& numbersLine) = 0;
};

enum class FetchOutcome {
    Replaced,       // the library now holds the fetched draws
    NothingFetched, // no draw file (fewer draws than it always lists): the library is unchanged
    NotWritten,     // the new library could not be written: the old one stays
    Kept,           // the fetched draws would drop draws and the user said No
    Cancelled,      // given up through the cancel flag: the library is unchanged
};

struct FetchResult {
    FetchOutcome outcome;
    int drawCount; // draws in the list when the fetch ended
};

// Draws of `held` that `fetched` lacks (each draw of `held` matched by one
// equal draw of `fetched` at most): what a library replaced by `fetched`
// would lose.
int drawsDropped(const std::vector<DrawRecord>& held, const std::vector<DrawRecord>& fetched);

// The whole fetch: downloads both sources, shows every draw as it arrives
// (the draw file's in file order, the page's newer draws at the top),
// replaces the library with them in issue order, each issue once
// (inIssueOrder), and shows the closing message. A download that gives fewer
// than kDrawFileEntries draws is no draw file (an error page, a cut
// transfer): nothing is fetched then. Before fetched draws replace a library
// that holds draws they lack, or when a source gives an issue with two sets
// of numbers, the user is asked (Yes/No, No the default: naming the draws
// held, kept, dropped and added, and the conflicts). When nothing was
// fetched, the user said No, the new library could not be written or the
// cancel flag was raised, the old library stays; the list and the summary
// show the library as it ends, and a message says what happened, except
// after a cancel, which the user asked for. Nothing is written once the flag
// is raised.
FetchResult fetchPastDraws(const HistoryStore& store, HttpGetter& http,
                           const std::string& drawFileUrl, const std::string& resultsPageUrl,
                           FetchSink& sink, MessageBoxPort& messages, const CancelFlag& cancel,
                           const YieldHook& yield = {});

} // namespace dlt
