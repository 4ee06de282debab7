// The two zones of the 5-of-35 + 2-of-12 game and the engine constants that
// depend on them. Everything here is a compile-time constant.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dlt {

// A zone's history as the store keeps it: two-digit tokens, oldest draw first.
using ZoneText = std::string;

enum class Zone { Front, Back };

struct ZoneRules {
    std::string_view zoneKey;   // "qq" or "hq": names the zone's history file
    std::int32_t poolSize;      // highest number of the zone
    std::int32_t picksPerDraw;  // numbers per draw, groups per list, cells per row
    std::int32_t historyFactor; // factor of the minimum history
    std::int32_t baseCount;     // lowest cold threshold; baseCount + 1 is the window multiple

    constexpr std::int32_t digitsPerDraw() const { return 2 * picksPerDraw; }
    constexpr std::int32_t minimumDraws() const { return historyFactor * baseCount; }
    constexpr std::int32_t windowNumbers() const { return poolSize * (baseCount + 1); }
};

struct LotteryRules {
    ZoneRules front;
    ZoneRules back;
};

inline constexpr LotteryRules kLotteryRules{
    ZoneRules{"qq", 35, 5, 7, 2},
    ZoneRules{"hq", 12, 2, 6, 2},
};

constexpr const ZoneRules& rulesFor(Zone zone) {
    return zone == Zone::Front ? kLotteryRules.front : kLotteryRules.back;
}

// The front record for the key "qq", the back record for any other key.
constexpr const ZoneRules& rulesForKey(std::string_view key) {
    return key == kLotteryRules.front.zoneKey ? kLotteryRules.front : kLotteryRules.back;
}

// Whole draws held by a zone text (the fraction dropped).
std::int32_t zoneDrawCount(const ZoneRules& rules, std::string_view zoneText);

bool hasEnoughHistory(const ZoneRules& rules, std::string_view zoneText);

// The zone a rules record belongs to: Front for the key "qq", Back otherwise.
Zone zoneOf(const ZoneRules& rules);

// Whole two-character tokens in a text: floor(length / 2).
std::int32_t tokenCount(std::string_view text);

// The number spelled by token k (1-based) of a text, or 0 when the token is
// not two ASCII digits spelling a number in 1 .. poolSize. k must be in
// 1 .. tokenCount(text).
std::int32_t tokenNumber(std::string_view text, std::int32_t k, std::int32_t poolSize);

// The 1-based character position (1, 3, 5, ...) of a number's token in a list,
// or 0 when the list does not hold it. Only whole tokens count: in "1051" the
// number 05 is absent.
std::int32_t tokenPosition(std::string_view list, std::int32_t number);

static_assert(kLotteryRules.front.digitsPerDraw() == 10 && kLotteryRules.back.digitsPerDraw() == 4);
static_assert(kLotteryRules.front.minimumDraws() == 14 && kLotteryRules.back.minimumDraws() == 12);
static_assert(kLotteryRules.front.windowNumbers() == 105 &&
              kLotteryRules.back.windowNumbers() == 36);

} // namespace dlt
