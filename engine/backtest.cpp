#include "engine/backtest.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <variant>

#include "engine/engine.h"

namespace dlt {

namespace {

// The walk wants only the picks; the lists the run would show go nowhere.
class DiscardingSink : public ResultSink {
public:
    void showGroups(Zone, ResultLevel, const GroupSet&) override {}
    void showNextDrawPicks(Zone, const std::vector<int>&) override {}
};

double binomial(std::int32_t n, std::int32_t k) {
    if (k < 0 || k > n) {
        return 0.0;
    }
    double value = 1.0;
    for (std::int32_t i = 1; i <= k; ++i) {
        value = value * static_cast<double>(n - k + i) / static_cast<double>(i);
    }
    return value;
}

// The picks of one zone from the draws before `draw`, as a run on that
// history would make them; all 0 when the zone holds too few draws.
std::vector<int> picksBefore(const ZoneRules& rules, std::string_view text, std::int32_t draw,
                             ZoneText& scratch) {
    scratch.assign(text.substr(0, static_cast<std::size_t>(draw) *
                                      static_cast<std::size_t>(rules.digitsPerDraw())));
    DiscardingSink sink;
    const ZoneOutcome outcome = computeZone(rules, scratch, sink);
    if (const auto* result = std::get_if<ZoneResult>(&outcome)) {
        return result->nextDrawPicks;
    }
    return std::vector<int>(static_cast<std::size_t>(rules.picksPerDraw), 0);
}

// How many picks the draw (0-based, oldest first) of a zone text holds.
std::int32_t hitsOf(const ZoneRules& rules, std::string_view text, std::int32_t draw,
                    const std::vector<int>& picks) {
    std::array<bool, 100> drawn{};
    const std::int32_t first = draw * rules.picksPerDraw + 1;
    for (std::int32_t k = first; k < first + rules.picksPerDraw; ++k) {
        drawn[static_cast<std::size_t>(tokenNumber(text, k, rules.poolSize))] = true;
    }
    drawn[0] = false; // out-of-range tokens and missing picks
    return static_cast<std::int32_t>(std::count_if(picks.begin(), picks.end(), [&](int p) {
        return p > 0 && p < 100 && drawn[static_cast<std::size_t>(p)];
    }));
}

} // namespace

std::vector<double> chanceOfHits(std::int32_t poolSize, std::int32_t drawn, std::int32_t picks) {
    std::vector<double> chances(static_cast<std::size_t>(std::max(picks, 0) + 1), 0.0);
    const double all = binomial(poolSize, picks);
    for (std::int32_t k = 0; k <= picks; ++k) {
        chances[static_cast<std::size_t>(k)] =
            binomial(drawn, k) * binomial(poolSize - drawn, picks - k) / all;
    }
    return chances;
}

ChanceMoments chanceMoments(std::int32_t poolSize, std::int32_t drawn, std::int32_t picks) {
    const double n = picks;
    const double share = static_cast<double>(drawn) / poolSize;
    const double finite = static_cast<double>(poolSize - picks) / (poolSize - 1);
    return {n * share, n * share * (1.0 - share) * finite};
}

double ZoneHits::mean() const {
    if (perDraw.empty()) {
        return 0.0;
    }
    double sum = 0;
    for (const std::int32_t h : perDraw) {
        sum += h;
    }
    return sum / static_cast<double>(perDraw.size());
}

BacktestResult runBacktest(std::string_view front, std::string_view back,
                           const BacktestProgress& progress) {
    const ZoneRules& frontRules = rulesFor(Zone::Front);
    const ZoneRules& backRules = rulesFor(Zone::Back);
    BacktestResult result;
    result.firstDraw = std::max(frontRules.minimumDraws(), backRules.minimumDraws());
    const std::int32_t draws =
        std::min(zoneDrawCount(frontRules, front), zoneDrawCount(backRules, back));
    result.totalDraws = std::max(draws - result.firstDraw, 0);
    result.front.counts.assign(static_cast<std::size_t>(frontRules.picksPerDraw + 1), 0);
    result.back.counts.assign(static_cast<std::size_t>(backRules.picksPerDraw + 1), 0);
    result.front.perDraw.reserve(static_cast<std::size_t>(result.totalDraws));
    result.back.perDraw.reserve(static_cast<std::size_t>(result.totalDraws));

    ZoneText scratch;
    scratch.reserve(front.size());
    for (std::int32_t draw = result.firstDraw; draw < draws; ++draw) {
        const std::int32_t frontHits =
            hitsOf(frontRules, front, draw, picksBefore(frontRules, front, draw, scratch));
        const std::int32_t backHits =
            hitsOf(backRules, back, draw, picksBefore(backRules, back, draw, scratch));
        result.front.perDraw.push_back(frontHits);
        result.back.perDraw.push_back(backHits);
        ++result.front.counts[static_cast<std::size_t>(frontHits)];
        ++result.back.counts[static_cast<std::size_t>(backHits)];
        if (progress && !progress(draw - result.firstDraw + 1, result.totalDraws)) {
            result.cancelled = draw + 1 < draws;
            break;
        }
    }
    return result;
}

ChanceInterval chanceInterval(const ZoneRules& rules, std::int32_t draws) {
    const ChanceMoments chance =
        chanceMoments(rules.poolSize, rules.picksPerDraw, rules.picksPerDraw);
    const double margin = draws > 0 ? 1.96 * std::sqrt(chance.variance / draws) : 0.0;
    return {chance.mean - margin, chance.mean + margin};
}

} // namespace dlt

namespace dlt {

namespace {

std::size_t column(PrizePool pool) {
    return static_cast<std::size_t>(pool);
}

} // namespace

double BacktestMoney::prizesYuan(PrizePool pool) const {
    return static_cast<double>(columns[column(pool)].fixedYuan) +
           static_cast<double>(floatingPaidFen) / 100.0;
}

double BacktestMoney::returnPerYuan(PrizePool pool) const {
    return costYuan > 0 ? prizesYuan(pool) / costYuan : 0.0;
}

double BacktestMoney::expectedPerYuan(PrizePool pool) const {
    return costYuan > 0 ? columns[column(pool)].expectedYuan / costYuan : 0.0;
}

ChanceInterval BacktestMoney::luckPerYuan(PrizePool pool) const {
    const double mean = expectedPerYuan(pool);
    if (costYuan <= 0) {
        return {mean, mean};
    }
    const double margin = 1.96 * std::sqrt(columns[column(pool)].varianceYuan) / costYuan;
    return {std::max(mean - margin, 0.0), mean + margin};
}

BacktestMoney backtestMoney(const BacktestResult& result, std::string_view issues,
                            const std::map<std::string, DrawDetails>& details) {
    // The chance figures of each rule set and pool column, worked out once.
    const PrizeRules known[] = {PrizeRules::NineTiers, PrizeRules::SevenTiers};
    PrizeMoments chance[2][kPoolColumns];
    for (std::size_t r = 0; r < 2; ++r) {
        for (const PrizePool pool : {PrizePool::Below, PrizePool::AtOrAbove}) {
            chance[r][column(pool)] = randomBetPrize(known[r], pool);
        }
    }
    static constexpr std::size_t kIssueDigits = 5;
    BacktestMoney money;
    for (std::int32_t i = 0; i < result.walked(); ++i) {
        const std::size_t at = static_cast<std::size_t>(result.firstDraw + i) * kIssueDigits;
        const std::string_view issue = at + kIssueDigits <= issues.size()
                                           ? issues.substr(at, kIssueDigits)
                                           : std::string_view{};
        const PrizeRules rules = prizeRulesFor(issue);
        if (rules == PrizeRules::Unknown) {
            ++money.unknownRules;
            continue;
        }
        ++money.counted;
        money.costYuan += kBetYuan;
        const Tier tier = tierFor(rules, result.front.perDraw[static_cast<std::size_t>(i)],
                                  result.back.perDraw[static_cast<std::size_t>(i)]);
        const auto found = details.find(std::string(issue));
        const auto paid = found == details.end() ? std::nullopt : paidPrizes(rules, found->second);
        if (paid) {
            // The draw as it was paid: the same in both columns.
            ++money.detailed;
            const PrizeMoments random = randomBetPaid(rules, *paid);
            const std::optional<Fen> prize = paidPrize(*paid, tier, false);
            if (tier.floating && prize) {
                ++money.floatingPaidBets;
                money.floatingPaidFen += *prize;
            }
            money.floatingBets += tier.floating && !prize ? 1 : 0;
            for (MoneyColumn& c : money.columns) {
                c.fixedYuan += tier.yuan[column(paid->pool)];
                c.expectedYuan += random.mean / 100.0;
                c.varianceYuan += random.variance / 10000.0;
            }
            continue;
        }
        money.poolMatters += poolMatters(rules) ? 1 : 0;
        money.floatingBets += tier.floating ? 1 : 0;
        const std::size_t r = rules == PrizeRules::NineTiers ? 0 : 1;
        for (std::size_t c = 0; c < kPoolColumns; ++c) {
            money.columns[c].fixedYuan += tier.yuan[c];
            money.columns[c].expectedYuan += chance[r][c].mean;
            money.columns[c].varianceYuan += chance[r][c].variance;
        }
    }
    return money;
}

} // namespace dlt
