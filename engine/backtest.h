// The honest check of the recommendation: walk the history draw by draw, make
// the next-draw picks from the draws before each one exactly as a run would,
// and count how many of them the draw hit. Beside it, what picking at random
// gives, exactly (the hypergeometric distribution), and whether the
// difference is within what luck explains.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/draw_details.h"
#include "core/rules.h"
#include "engine/prizes.h"

namespace dlt {

// P(k hits), k = 0 .. picks, when `picks` numbers are chosen at random from a
// pool of `poolSize` of which `drawn` are drawn: C(drawn, k) C(pool - drawn,
// picks - k) / C(pool, picks).
std::vector<double> chanceOfHits(std::int32_t poolSize, std::int32_t drawn, std::int32_t picks);

// Mean and variance of that distribution.
struct ChanceMoments {
    double mean;
    double variance;
};
ChanceMoments chanceMoments(std::int32_t poolSize, std::int32_t drawn, std::int32_t picks);

// The hits of one zone over the walk.
struct ZoneHits {
    std::vector<std::int32_t> perDraw; // hits of each walked draw, oldest first
    std::vector<std::int32_t> counts;  // counts[k]: walked draws with k hits, k = 0 .. picksPerDraw
    double mean() const;
};

struct BacktestResult {
    std::int32_t firstDraw = 0;  // 0-based index (oldest first) of the first walked draw
    std::int32_t totalDraws = 0; // draws the walk would cover
    bool cancelled = false;
    ZoneHits front;
    ZoneHits back;
    std::int32_t walked() const { return static_cast<std::int32_t>(front.perDraw.size()); }
};

// Called after every walked draw with the draws done and the total; returning
// false stops the walk (the result then holds the draws done so far).
using BacktestProgress = std::function<bool(std::int32_t done, std::int32_t total)>;

// The zone texts as the store keeps them (oldest first). The walk starts at
// the first draw whose earlier draws are enough for both zones (14 draws
// before it). A missing pick (0) never hits; a draw's repeated or
// out-of-range numbers count once or not at all.
BacktestResult runBacktest(std::string_view front, std::string_view back,
                           const BacktestProgress& progress = {});

// What luck explains: the interval around the chance mean in which the mean of
// `draws` independent random picks falls 95 times in 100 (normal
// approximation, 1.96 standard errors).
struct ChanceInterval {
    double low;
    double high;
    bool holds(double mean) const { return mean >= low && mean <= high; }
};
ChanceInterval chanceInterval(const ZoneRules& rules, std::int32_t draws);

// The walk in money: each walked draw's picks bought as one bet of 2 yuan and
// paid by the fixed tiers of the rules in force at that draw's issue. Where a
// draw's details were published, its fixed prizes are those of the pool it
// had and its floating tiers are paid at the published amounts; elsewhere
// the floating tiers are counted apart and every seven-tier draw is put in
// each pool column in turn. Draws whose rules are unknown (before 19019) are
// counted apart too. Beside the prizes won, what random bets win in the same
// draws: the exact mean and variance of each draw's prize, summed.
struct MoneyColumn {
    std::int64_t fixedYuan = 0; // fixed prizes the picks won
    double expectedYuan = 0;    // mean prize of a random bet, summed over the draws
    double varianceYuan = 0;    // its variance, summed over the draws
};

struct BacktestMoney {
    std::int32_t counted = 0;          // walked draws whose rules are known
    std::int32_t unknownRules = 0;     // walked draws before 19019
    std::int32_t poolMatters = 0;      // counted seven-tier draws whose pool is not known
    std::int32_t detailed = 0;         // counted draws with their published prizes
    std::int64_t costYuan = 0;         // 2 yuan per counted draw
    std::int64_t floatingBets = 0;     // picks that won 一等奖 or 二等奖 at no known prize
    std::int64_t floatingPaidBets = 0; // picks that won them at a published prize
    Fen floatingPaidFen = 0;           // what those were paid
    std::array<MoneyColumn, kPoolColumns> columns{}; // every seven-tier draw in one pool column

    // The fixed prizes of the column and the published floating prizes won.
    double prizesYuan(PrizePool pool) const;
    double returnPerYuan(PrizePool pool) const;
    double expectedPerYuan(PrizePool pool) const;
    // Where the return per yuan of random bets falls 95 times in 100 (normal
    // approximation, 1.96 standard errors; never below 0).
    ChanceInterval luckPerYuan(PrizePool pool) const;
};

// The money of a walk; issues is the library's issue column (five digits per
// draw, oldest first), aligned with the zone texts the walk read; details,
// the published details of the draws that have them, by issue.
BacktestMoney backtestMoney(const BacktestResult& result, std::string_view issues,
                            const std::map<std::string, DrawDetails>& details = {});

} // namespace dlt
