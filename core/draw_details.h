// What a draw paid, as the lottery publishes it: the date, the prize pool
// before and after the draw, the sales, and for each tier (and each 追加
// row) the winning bets and the prize of one bet. Kept beside the library,
// keyed by issue; a draw without details is graded by the fixed prizes of
// its rules alone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace dlt {

// Money in fen (hundredths of a yuan), so that a pool of "826,970,066.74"
// is kept exactly.
using Fen = std::int64_t;

struct TierPayout {
    int tier = 0;       // 1 for 一等奖, 2 for 二等奖, ... as published
    bool addOn = false; // the 追加 row of the tier
    std::int64_t winners = 0;
    // The prize of one winning bet; none when the tier had no winner
    // ("---", "-1" or "0" as published).
    std::optional<Fen> prizePerBet;
    bool operator==(const TierPayout&) const = default;
};

struct DrawDetails {
    std::string issue; // five digits, as the library keeps it
    std::string date;  // "YYYY-MM-DD", or empty when not published
    std::optional<Fen> poolBefore;
    std::optional<Fen> poolAfter;
    std::optional<Fen> sales;
    std::vector<TierPayout> tiers; // in the published order
    bool operator==(const DrawDetails&) const = default;
};

} // namespace dlt
