// The library as plain text that the user can keep, move and read back
// (history/draw_file.h reads it): one draw a line, newest first,
// "issue f1 f2 f3 f4 f5 b1 b2" (ASCII digits).
#pragma once

#include <string>
#include <vector>

#include "history/history_store.h"

namespace dlt {

// The lines of the draws as the store lists them (newest first).
std::string libraryText(const std::vector<DrawRecord>& newestFirst);

// The three column texts (oldest draw first) of draws listed newest first.
struct HistoryColumns {
    std::string issues;
    std::string fronts;
    std::string backs;
};
HistoryColumns columnsOf(const std::vector<DrawRecord>& newestFirst);

} // namespace dlt
