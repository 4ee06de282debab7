// The library as plain text that the user can keep, move and read back: one
// draw a line, newest first, "issue f1 f2 f3 f4 f5 b1 b2" (UTF-8; the draws
// themselves are ASCII digits).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "history/history_store.h"

namespace dlt {

// The lines of the draws as the store lists them (newest first).
std::string libraryText(const std::vector<DrawRecord>& newestFirst);

enum class LineProblem {
    Fields, // not an issue, an optional date, five front and two back numbers
    Issue,  // the issue is not five digits
    Front,  // a front number outside 1..35, or one twice
    Back,   // a back number outside 1..12, or one twice
    Order,  // the issue repeats an earlier one or is not older than it
};

struct LibraryImport {
    std::vector<DrawRecord> newestFirst; // the draws read, when every line is good
    std::vector<std::string> dates;      // each draw's date as the line gives it, or ""
    int badLine = 0;                     // 1-based number of the first bad line; 0 when none
    std::string badText;                 // that line as the file has it
    LineProblem problem = LineProblem::Fields;
    bool ok() const { return badLine == 0; }
};

// Reads the text line by line. Besides the export's own form it takes a date
// after the issue ("25128 2025-11-10 03 06 ...") and commas in place of
// spaces; blank lines are skipped. Stops at the first bad line, with no draws.
LibraryImport parseLibraryText(std::string_view text);

// The three column texts (oldest draw first) of draws listed newest first.
struct HistoryColumns {
    std::string issues;
    std::string fronts;
    std::string backs;
};
HistoryColumns columnsOf(const std::vector<DrawRecord>& newestFirst);

} // namespace dlt
