// Bringing draws into the library: what a file holds next to the library,
// the merged library, the draws a download adds, and the library's check.
// Draws are listed oldest first, as the store keeps them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/draw_check.h"
#include "history/history_store.h"

namespace dlt {

// Whether two draws have the same numbers in each zone, in any order.
bool sameNumbers(const DrawRecord& a, const DrawRecord& b);

struct DrawConflict {
    DrawRecord library;
    DrawRecord file;
};

struct LibraryComparison {
    int newDraws = 0;                    // issues the library does not hold
    int sameDraws = 0;                   // issues the library holds with the same numbers
    std::vector<DrawConflict> conflicts; // the library holds the issue with other numbers
    int libraryOnly = 0;                 // library draws whose issue the file does not hold
};

LibraryComparison compareWithLibrary(const std::vector<DrawRecord>& library,
                                     const std::vector<DrawRecord>& file);

// The library with the file's new draws put in issue order among its own;
// the library's draws, conflicts included, stay as they are and where they are.
std::vector<DrawRecord> mergedLibrary(const std::vector<DrawRecord>& library,
                                      const std::vector<DrawRecord>& file);

// The sound draws of fetched that are newer than every draw of the library,
// in issue order, each issue once.
std::vector<DrawRecord> drawsNewerThanLibrary(const std::vector<DrawRecord>& library,
                                              std::vector<DrawRecord> fetched);

// What the check of the library found.
enum class FindingKind {
    ColumnsOutOfStep, // the three columns do not hold the same number of whole draws
    IssueGap,         // issues missing inside a year: first and last missing
    RepeatedIssue,    // the issue stands more than once
    BadIssue,         // not five digits
    FrontNumbers,     // out of 1..35 or repeated
    BackNumbers,      // out of 1..12 or repeated
};

struct LibraryFinding {
    FindingKind kind;
    std::string issue;     // the draw's issue; the first missing one of a gap
    std::string lastIssue; // the last missing one of a gap
    int count = 0;         // times a repeated issue stands
};

struct LibraryCheck {
    int draws = 0;                          // as the store counts them: whole front groups
    std::size_t columnBytes[3] = {0, 0, 0}; // issue, front and back columns
    std::vector<LibraryFinding> findings;
};

// Reads nothing but the three column texts; changes nothing.
LibraryCheck checkLibrary(std::string_view issues, std::string_view fronts, std::string_view backs);

} // namespace dlt
