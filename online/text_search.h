// Searching and cutting downloaded GBK texts. Positions count bytes from 1;
// searches step over double-byte characters, so a match never starts in the
// middle of one, and give -1 when nothing is found.
#pragma once

#include <string>
#include <string_view>

namespace dlt {

// A downloaded body as text: it ends before its first zero byte.
std::string_view bodyText(std::string_view body);

// The first match of what at or after start (a start of 1 or less searches
// from the beginning). ignoreCase folds ASCII letters only.
int findForward(std::string_view text, std::string_view what, int start, bool ignoreCase);

// The last match that ends before byte start (a start below 1 searches the
// whole text).
int findBackward(std::string_view text, std::string_view what, int start, bool ignoreCase);

// findBackward for a walk whose starts only grow, as a page read from top to
// bottom asks it: the text is stepped through once, from its first byte (so
// double-byte characters are stepped over exactly as findBackward does),
// however many starts are asked for. A start smaller than the previous one
// steps through again from the beginning.
class BackwardSearch {
public:
    BackwardSearch(std::string_view text, std::string_view what, bool ignoreCase);
    // What findBackward(text, what, start, ignoreCase) gives.
    int lastBefore(int start);

private:
    std::string_view text_;
    std::string_view what_;
    bool ignoreCase_;
    std::size_t end_ = 0;  // the limit of the previous start
    std::size_t next_ = 0; // the first index not yet looked at
    int found_ = -1;
};

// length bytes from start; empty when start is below 1 or past the end, the
// rest of the text when it is shorter.
std::string_view middleText(std::string_view text, int start, int length);

// The leading decimal integer of a text, as a number prefix is read: white
// space skipped, then digits; no digits give 0.
long leadingInteger(std::string_view text);

} // namespace dlt
