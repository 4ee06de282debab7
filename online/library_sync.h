// 同步最新开奖: the draws of the fetch's two sources that are newer than the
// library's newest are added after it. Nothing is ever removed.
#pragma once

#include <string>

#include "core/ports.h"
#include "history/history_store.h"

namespace dlt {

enum class SyncOutcome {
    Added,       // the newer draws were added
    UpToDate,    // the sources hold nothing newer: the library is unchanged
    Unreachable, // neither source gave a draw: the library is unchanged
    NotWritten,  // the new draws could not be written: the library is unchanged
    Cancelled,   // given up through the cancel flag: nothing written or said
};

struct SyncResult {
    SyncOutcome outcome;
    int added = 0;
};

// Downloads the maker's draw file and the results page as the fetch does
// and reads them with its parsers; the page's newer draws are those above
// the draw file's newest, or above the library's newest when the draw file
// gave none. Sound draws newer than the library's newest are appended in
// issue order in one change, and the message says what happened. Once the
// cancel flag is raised (the main window closed), nothing is written.
SyncResult syncLatestDraws(const HistoryStore& store, HttpGetter& http,
                           const std::string& drawFileUrl, const std::string& resultsPageUrl,
                           MessageBoxPort& messages, const CancelFlag& cancel,
                           const YieldHook& yield = {});

} // namespace dlt
