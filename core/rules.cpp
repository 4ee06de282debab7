#include "core/rules.h"

#include "core/draw_check.h"

namespace dlt {

Zone zoneOf(const ZoneRules& rules) {
    return rules.zoneKey == kLotteryRules.front.zoneKey ? Zone::Front : Zone::Back;
}

std::int32_t tokenCount(std::string_view text) {
    return static_cast<std::int32_t>(text.size() / 2);
}

std::int32_t tokenNumber(std::string_view text, std::int32_t k, std::int32_t poolSize) {
    const std::size_t at = 2 * static_cast<std::size_t>(k - 1);
    const char hi = text[at];
    const char lo = text[at + 1];
    if (!isAsciiDigit(hi) || !isAsciiDigit(lo)) {
        return 0;
    }
    const std::int32_t v = (hi - '0') * 10 + (lo - '0');
    return v >= 1 && v <= poolSize ? v : 0;
}

std::int32_t tokenPosition(std::string_view list, std::int32_t number) {
    if (number < 0 || number > 99) {
        return 0;
    }
    const char hi = static_cast<char>('0' + number / 10);
    const char lo = static_cast<char>('0' + number % 10);
    const std::int32_t tokens = tokenCount(list);
    for (std::int32_t k = 1; k <= tokens; ++k) {
        const std::size_t at = 2 * static_cast<std::size_t>(k - 1);
        if (list[at] == hi && list[at + 1] == lo) {
            return 2 * k - 1;
        }
    }
    return 0;
}

std::int32_t zoneDrawCount(const ZoneRules& rules, std::string_view zoneText) {
    return static_cast<std::int32_t>(zoneText.size() /
                                     static_cast<std::size_t>(rules.digitsPerDraw()));
}

bool hasEnoughHistory(const ZoneRules& rules, std::string_view zoneText) {
    return zoneDrawCount(rules, zoneText) >= rules.minimumDraws();
}

} // namespace dlt
