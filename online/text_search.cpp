#include "online/text_search.h"

#include <limits>

#include "core/draw_check.h"

namespace dlt {

namespace {

bool isLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

// The byte count of the character at index i.
std::size_t charWidth(std::string_view text, std::size_t i) {
    return isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

char folded(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Whether what matches at index i. Only single-byte letters fold: both bytes
// of a double-byte character must be equal.
bool matchesAt(std::string_view text, std::size_t i, std::string_view what, bool ignoreCase) {
    if (text.size() - i < what.size())
        return false;
    for (std::size_t j = 0; j < what.size();) {
        const std::size_t width = charWidth(what, j);
        if (width == 2 || !ignoreCase) {
            if (text.compare(i + j, width, what.substr(j, width)) != 0)
                return false;
        } else if (folded(text[i + j]) != folded(what[j])) {
            return false;
        }
        j += width;
    }
    return true;
}

} // namespace

std::string_view bodyText(std::string_view body) {
    return body.substr(0, body.find('\0'));
}

int findForward(std::string_view text, std::string_view what, int start, bool ignoreCase) {
    if (what.empty())
        return -1;
    for (std::size_t i = start > 1 ? std::size_t(start - 1) : 0; i < text.size();
         i += charWidth(text, i))
        if (matchesAt(text, i, what, ignoreCase))
            return int(i + 1);
    return -1;
}

int findBackward(std::string_view text, std::string_view what, int start, bool ignoreCase) {
    return BackwardSearch(text, what, ignoreCase).lastBefore(start);
}

BackwardSearch::BackwardSearch(std::string_view text, std::string_view what, bool ignoreCase)
    : text_(text), what_(what), ignoreCase_(ignoreCase) {}

int BackwardSearch::lastBefore(int start) {
    if (what_.empty())
        return -1;
    // A match at index i ends before byte start when i + size < start.
    const std::size_t end =
        start >= 1 ? std::size_t(start) : std::numeric_limits<std::size_t>::max();
    if (end < end_) {
        next_ = 0;
        found_ = -1;
    }
    end_ = end;
    for (; next_ < text_.size() && next_ + what_.size() < end; next_ += charWidth(text_, next_))
        if (matchesAt(text_, next_, what_, ignoreCase_))
            found_ = int(next_ + 1);
    return found_;
}

std::string_view middleText(std::string_view text, int start, int length) {
    if (start < 1 || std::size_t(start) > text.size() || length <= 0)
        return {};
    return text.substr(std::size_t(start - 1), std::size_t(length));
}

long leadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    long value = 0;
    for (; i < text.size() && isAsciiDigit(text[i]) && value < 100000000; ++i)
        value = value * 10 + (text[i] - '0');
    return value;
}

} // namespace dlt
