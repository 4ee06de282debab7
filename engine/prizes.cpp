#include "engine/prizes.h"

#include <algorithm>

namespace dlt {

namespace {

// tiers[front hits][back hits]: the tier number, 0 for no prize.
using TierGrid = std::array<std::array<int, 3>, 6>;

constexpr TierGrid kNineTierGrid{{
    {0, 0, 9}, // 0+0, 0+1, 0+2
    {0, 0, 9}, // 1+2
    {0, 9, 8}, // 2+1, 2+2
    {9, 8, 6}, // 3+0, 3+1, 3+2
    {7, 5, 4}, // 4+0, 4+1, 4+2
    {3, 2, 1}, // 5+0, 5+1, 5+2
}};

constexpr TierGrid kSevenTierGrid{{
    {0, 0, 7},
    {0, 0, 7},
    {0, 7, 6},
    {7, 6, 5},
    {5, 4, 3},
    {3, 2, 1},
}};

// Fixed prizes by tier number (0 and the floating tiers 1 and 2 pay nothing
// fixed), by pool column.
using PrizeColumn = std::array<std::int64_t, kMostTiers + 1>;
constexpr PrizeColumn kNineTierYuan{0, 0, 0, 10000, 3000, 300, 200, 100, 15, 5};
constexpr PrizeColumn kSevenTierYuanBelow{0, 0, 0, 5000, 300, 150, 15, 5, 0, 0};
constexpr PrizeColumn kSevenTierYuanAtOrAbove{0, 0, 0, 6666, 380, 200, 18, 7, 0, 0};

bool isFiveDigits(std::string_view issue) {
    return issue.size() == 5 &&
           std::all_of(issue.begin(), issue.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

PrizeRules prizeRulesFor(std::string_view issue) {
    // Five-digit issues compare as their numbers do.
    if (!isFiveDigits(issue) || issue < kFirstKnownIssue) {
        return PrizeRules::Unknown;
    }
    return issue < kFirstSevenTierIssue ? PrizeRules::NineTiers : PrizeRules::SevenTiers;
}

int tierCount(PrizeRules rules) {
    switch (rules) {
    case PrizeRules::NineTiers:
        return 9;
    case PrizeRules::SevenTiers:
        return 7;
    case PrizeRules::Unknown:
        break;
    }
    return 0;
}

Tier tierFor(PrizeRules rules, int frontHits, int backHits) {
    Tier tier;
    if (rules == PrizeRules::Unknown || frontHits < 0 || frontHits > 5 || backHits < 0 ||
        backHits > 2) {
        return tier;
    }
    const auto f = static_cast<std::size_t>(frontHits);
    const auto b = static_cast<std::size_t>(backHits);
    const bool nine = rules == PrizeRules::NineTiers;
    tier.number = (nine ? kNineTierGrid : kSevenTierGrid)[f][b];
    tier.floating = tier.number == 1 || tier.number == 2;
    const auto n = static_cast<std::size_t>(tier.number);
    tier.yuan = nine ? std::array{kNineTierYuan[n], kNineTierYuan[n]}
                     : std::array{kSevenTierYuanBelow[n], kSevenTierYuanAtOrAbove[n]};
    return tier;
}

PrizeSum sumPrizes(PrizeRules rules, const HitTable& bets) {
    PrizeSum sum;
    for (int f = 0; f <= 5; ++f) {
        for (int b = 0; b <= 2; ++b) {
            const std::int64_t count =
                bets[static_cast<std::size_t>(f)][static_cast<std::size_t>(b)];
            const Tier tier = tierFor(rules, f, b);
            sum.betsByTier[static_cast<std::size_t>(tier.number)] += count;
            for (int c = 0; c < kPoolColumns; ++c) {
                sum.fixedYuan[static_cast<std::size_t>(c)] +=
                    count * tier.yuan[static_cast<std::size_t>(c)];
            }
        }
    }
    return sum;
}

const HitTable& randomBetWays() {
    // C(5, f) C(30, 5 - f) front and C(2, b) C(10, 2 - b) back.
    static constexpr std::array<std::int64_t, 6> front{142506, 137025, 40600, 4350, 150, 1};
    static constexpr std::array<std::int64_t, 3> back{45, 20, 1};
    static const HitTable ways = [] {
        HitTable table{};
        for (std::size_t f = 0; f < front.size(); ++f) {
            for (std::size_t b = 0; b < back.size(); ++b) {
                table[f][b] = front[f] * back[b];
            }
        }
        return table;
    }();
    return ways;
}

PrizeMoments randomBetPrize(PrizeRules rules, PrizePool pool) {
    // Sums of whole yuan over all equally likely bets are exact integers; only
    // the final division rounds.
    std::int64_t sum = 0;
    std::int64_t squares = 0;
    const HitTable& ways = randomBetWays();
    for (int f = 0; f <= 5; ++f) {
        for (int b = 0; b <= 2; ++b) {
            const std::int64_t yuan = tierFor(rules, f, b).yuan[static_cast<std::size_t>(pool)];
            const std::int64_t n = ways[static_cast<std::size_t>(f)][static_cast<std::size_t>(b)];
            sum += n * yuan;
            squares += n * yuan * yuan;
        }
    }
    const double mean = static_cast<double>(sum) / kAllBets;
    return {mean, static_cast<double>(squares) / kAllBets - mean * mean};
}

std::optional<PaidPrizes> paidPrizes(PrizeRules rules, const DrawDetails& details) {
    if (rules == PrizeRules::Unknown || (poolMatters(rules) && !details.poolBefore))
        return std::nullopt;
    PaidPrizes paid;
    if (details.poolBefore && *details.poolBefore >= kPoolThresholdFen)
        paid.pool = PrizePool::AtOrAbove;
    for (const TierPayout& row : details.tiers) {
        if (row.tier == 1 || row.tier == 2) {
            auto& prizes = row.addOn ? paid.addOn : paid.base;
            prizes[static_cast<std::size_t>(row.tier)] = row.prizePerBet;
        }
    }
    return paid;
}

std::optional<Fen> paidPrize(const PaidPrizes& paid, const Tier& tier, bool additional) {
    if (!tier.floating)
        return tier.yuan[static_cast<std::size_t>(paid.pool)] * 100;
    const auto n = static_cast<std::size_t>(tier.number);
    if (!paid.base[n] || (additional && !paid.addOn[n]))
        return std::nullopt;
    return *paid.base[n] + (additional ? *paid.addOn[n] : 0);
}

PaidSum sumPaid(PrizeRules rules, const HitTable& bets, bool additional, const PaidPrizes& paid) {
    PaidSum sum;
    for (int f = 0; f <= 5; ++f) {
        for (int b = 0; b <= 2; ++b) {
            const std::int64_t count =
                bets[static_cast<std::size_t>(f)][static_cast<std::size_t>(b)];
            const Tier tier = tierFor(rules, f, b);
            if (count == 0 || !tier.wins())
                continue;
            if (const auto prize = paidPrize(paid, tier, additional))
                sum.fen += count * *prize;
            else
                sum.unpaidFloatingBets += count;
        }
    }
    return sum;
}

PrizeMoments randomBetPaid(PrizeRules rules, const PaidPrizes& paid) {
    // In fen the sums can pass 64 bits (a first prize squared), so they are
    // taken as doubles; the means are exact to far below a fen.
    double sum = 0;
    double squares = 0;
    const HitTable& ways = randomBetWays();
    for (int f = 0; f <= 5; ++f) {
        for (int b = 0; b <= 2; ++b) {
            const Tier tier = tierFor(rules, f, b);
            if (!tier.wins())
                continue;
            const auto prize = static_cast<double>(paidPrize(paid, tier, false).value_or(0));
            const auto n =
                static_cast<double>(ways[static_cast<std::size_t>(f)][static_cast<std::size_t>(b)]);
            sum += n * prize;
            squares += n * prize * prize;
        }
    }
    const double mean = sum / kAllBets;
    return {mean, squares / kAllBets - mean * mean};
}

} // namespace dlt
