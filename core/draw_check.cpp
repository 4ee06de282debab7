#include "core/draw_check.h"

#include <algorithm>
#include <bitset>

namespace dlt {

bool isDigitText(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), isAsciiDigit);
}

bool isIssue(std::string_view issue) {
    return issue.size() == kIssueDigits && isDigitText(issue);
}

bool isSoundZone(std::string_view digits, const ZoneRules& rules) {
    if (digits.size() != std::size_t(rules.digitsPerDraw()))
        return false;
    std::bitset<100> seen;
    for (std::int32_t k = 1; k <= rules.picksPerDraw; ++k) {
        const std::int32_t number = tokenNumber(digits, k, rules.poolSize);
        if (number == 0 || seen[std::size_t(number)])
            return false;
        seen[std::size_t(number)] = true;
    }
    return true;
}

DrawFault drawFault(const DrawRecord& draw) {
    if (!isIssue(draw.issue))
        return DrawFault::Issue;
    if (!isSoundZone(draw.front, kLotteryRules.front))
        return DrawFault::Front;
    if (!isSoundZone(draw.back, kLotteryRules.back))
        return DrawFault::Back;
    return DrawFault::None;
}

bool isSoundDraw(const DrawRecord& draw) {
    return drawFault(draw) == DrawFault::None;
}

bool fitsRecord(const DrawRecord& draw) {
    const auto fits = [](std::string_view field, std::size_t width) {
        return field.size() == width && field.find('\0') == std::string_view::npos;
    };
    return fits(draw.issue, kIssueDigits) && fits(draw.front, kFrontDigits) &&
           fits(draw.back, kBackDigits);
}

} // namespace dlt
