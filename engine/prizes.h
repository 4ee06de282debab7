// The prize tiers of the game by issue: which hits win which tier and what the
// fixed tiers pay. The game changed its tiers at issue 26014 (nine tiers
// before, seven from then on, with fixed prizes that depend on the prize pool);
// the rules before issue 19019 are not known to the program, which says so
// rather than guess.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/draw_details.h"
#include "core/rules.h"

namespace dlt {

enum class PrizeRules { Unknown, NineTiers, SevenTiers };

// The first issue whose rules the program knows, and the first of the
// seven-tier rules.
inline constexpr std::string_view kFirstKnownIssue = "19019";
inline constexpr std::string_view kFirstSevenTierIssue = "26014";

// The rules in force for a draw's issue (five digits); Unknown for an earlier
// issue or one that is not five digits.
PrizeRules prizeRulesFor(std::string_view issue);

// Under the seven-tier rules the fixed prizes depend on the prize pool before
// the draw: below 800 million yuan (8亿) or at or above it. Under the
// nine-tier rules both columns are the same.
enum class PrizePool { Below, AtOrAbove };
inline constexpr int kPoolColumns = 2;
constexpr bool poolMatters(PrizeRules rules) {
    return rules == PrizeRules::SevenTiers;
}

inline constexpr int kMostTiers = 9;
// A bet costs 2 yuan, with 追加 1 yuan more; 追加 adds to the floating tiers only.
inline constexpr std::int64_t kBetYuan = 2;
inline constexpr std::int64_t kAdditionalYuan = 1;

struct Tier {
    int number = 0;        // 1 (一等奖) .. 9; 0 when the hits win nothing
    bool floating = false; // 一等奖 and 二等奖: published per draw
    std::array<std::int64_t, kPoolColumns> yuan{}; // the fixed prize by pool column
    bool wins() const { return number != 0; }
};

// The tier a bet with these hits wins under the rules (no tier under Unknown).
Tier tierFor(PrizeRules rules, int frontHits, int backHits);

// Tiers of the rules: 9, 7, or 0 when unknown.
int tierCount(PrizeRules rules);

// Bets of every hit pair: bets[front hits][back hits].
using HitTable = std::array<std::array<std::int64_t, 3>, 6>;

// What bets with those hits win: the fixed prizes by pool column and the bets
// of each tier (index = tier number, 0 = no prize).
struct PrizeSum {
    std::array<std::int64_t, kPoolColumns> fixedYuan{};
    std::array<std::int64_t, kMostTiers + 1> betsByTier{};
    std::int64_t floatingBets() const { return betsByTier[1] + betsByTier[2]; }
};
PrizeSum sumPrizes(PrizeRules rules, const HitTable& bets);

// The exact chance of each hit pair for one random bet: ways[f][b] of the
// C(35,5) x C(12,2) = 21,425,712 equally likely bets.
const HitTable& randomBetWays();
inline constexpr std::int64_t kAllBets = 21'425'712;

// The exact mean and variance of the fixed prize of one random bet under the
// rules, by pool column (floating tiers count as nothing).
struct PrizeMoments {
    double mean = 0;
    double variance = 0;
};
PrizeMoments randomBetPrize(PrizeRules rules, PrizePool pool);

// What a draw paid by its published details: the pool column of its fixed
// prizes (from the pool before the draw) and the prize of one bet of the
// floating tiers, base and 追加 row, in fen. A floating tier that nobody won
// has no published prize.
inline constexpr Fen kPoolThresholdFen = 800'000'000LL * 100; // 8亿 yuan
struct PaidPrizes {
    PrizePool pool = PrizePool::Below;
    std::array<std::optional<Fen>, 3> base{};  // [1] 一等奖, [2] 二等奖
    std::array<std::optional<Fen>, 3> addOn{}; // their 追加 rows
};

// None when the details cannot grade the draw: unknown rules, or a
// seven-tier draw whose pool was not published.
std::optional<PaidPrizes> paidPrizes(PrizeRules rules, const DrawDetails& details);

// The prize of one bet of the tier in fen, with 追加 when additional (it adds
// to the floating tiers only): a fixed tier by the pool column the draw paid,
// a floating tier at its published amounts; none when the draw published no
// prize for it.
std::optional<Fen> paidPrize(const PaidPrizes& paid, const Tier& tier, bool additional);

// What bets with those hits were paid: the prizes known, and the winning
// bets of floating tiers whose prize was not published, counted apart.
struct PaidSum {
    Fen fen = 0;
    std::int64_t unpaidFloatingBets = 0;
};
PaidSum sumPaid(PrizeRules rules, const HitTable& bets, bool additional, const PaidPrizes& paid);

// The exact mean and variance in fen of what one random bet (without 追加)
// was paid in the draw: the fixed tiers in its pool column and the floating
// tiers at their published amounts (nothing where none was published).
PrizeMoments randomBetPaid(PrizeRules rules, const PaidPrizes& paid);

} // namespace dlt
