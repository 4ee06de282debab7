// What a draw is, for every layer: the one test of whether a stored, typed,
// downloaded or imported draw is whole and sound.
#pragma once

#include <string_view>

#include "core/draw_record.h"

namespace dlt {

constexpr bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

// A text of one or more ASCII digits and nothing else.
bool isDigitText(std::string_view text);

// An issue as the library keeps it: kIssueDigits digits.
bool isIssue(std::string_view issue);

// A zone's numbers as the library keeps them: exactly the zone's two-digit
// numbers, each within its pool, none twice, in any order.
bool isSoundZone(std::string_view digits, const ZoneRules& rules);

// Where a draw first fails to be one.
enum class DrawFault { None, Issue, Front, Back };
DrawFault drawFault(const DrawRecord& draw);

// A draw as a draw can be: a five-digit issue, five different front numbers
// in 1..35 and two different back numbers in 1..12. A downloaded or imported
// entry that is not sound is no draw (an error page, a changed layout).
bool isSoundDraw(const DrawRecord& draw);

// What the store can hold without shifting its other records: fields of
// exactly 5, 10 and 4 bytes with no zero byte. The digits are not checked:
// the entry form stores what the user typed.
bool fitsRecord(const DrawRecord& draw);

} // namespace dlt
