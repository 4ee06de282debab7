// The honest check of the recommendation: walk the history draw by draw, make
// the next-draw picks from the draws before each one exactly as a run would,
// and count how many of them the draw hit. Beside it, what picking at random
// gives, exactly (the hypergeometric distribution), and whether the
// difference is within what luck explains.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/rules.h"

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

// The plain sentence of verdict for a finished walk (GBK).
std::string backtestVerdict(const BacktestResult& result);

} // namespace dlt
