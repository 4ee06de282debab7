#include <gtest/gtest.h>

#include <cmath>

#include "engine/backtest.h"

using namespace dlt;

namespace {

// Front: seven draws that hold 1..35 once each, then seven of 01..05, so the
// picks are the five lowest numbers drawn at most once; back: 01 02 .. 11 12,
// then eight draws of 01 02, so the picks are the two lowest drawn at most
// once. Four walked draws follow, each changing the next picks in a way
// worked out by hand below.
struct Synthetic {
    std::string front;
    std::string back;
};

Synthetic knownPicksHistory() {
    Synthetic s;
    for (int v = 1; v <= 35; ++v) {
        s.front.push_back(static_cast<char>('0' + v / 10));
        s.front.push_back(static_cast<char>('0' + v % 10));
    }
    for (int i = 0; i < 7; ++i) {
        s.front += "0102030405";
    }
    s.back = "010203040506070809101112";
    for (int i = 0; i < 8; ++i) {
        s.back += "0102";
    }
    // Picks 06 07 08 09 10 / 03 04: 3 and 1 hits.
    s.front += "0607083031";
    s.back += "0312";
    // Picks 09 10 11 12 13 / 04 05: 1 and 2 hits.
    s.front += "0920212223";
    s.back += "0405";
    // Picks 10 11 12 13 14 / 06 07: 0 and 0 hits.
    s.front += "0102030405";
    s.back += "0102";
    // The same picks again: 5 and 1 hits.
    s.front += "1011121314";
    s.back += "0709";
    return s;
}

TEST(Backtest, CountsTheHitsOfPicksMadeFromTheEarlierDraws) {
    const Synthetic history = knownPicksHistory();
    const BacktestResult result = runBacktest(history.front, history.back);
    EXPECT_EQ(result.firstDraw, 14);
    EXPECT_EQ(result.totalDraws, 4);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(result.front.perDraw, (std::vector<std::int32_t>{3, 1, 0, 5}));
    EXPECT_EQ(result.back.perDraw, (std::vector<std::int32_t>{1, 2, 0, 1}));
    EXPECT_EQ(result.front.counts, (std::vector<std::int32_t>{1, 1, 0, 1, 0, 1}));
    EXPECT_EQ(result.back.counts, (std::vector<std::int32_t>{1, 2, 1}));
    EXPECT_DOUBLE_EQ(result.front.mean(), 9.0 / 4);
    EXPECT_DOUBLE_EQ(result.back.mean(), 1.0);
}

TEST(Backtest, WalksNothingBelowFifteenDraws) {
    const Synthetic history = knownPicksHistory();
    const BacktestResult result =
        runBacktest(history.front.substr(0, 140), history.back.substr(0, 56));
    EXPECT_EQ(result.totalDraws, 0);
    EXPECT_EQ(result.walked(), 0);
}

TEST(Backtest, CancelStopsTheWalk) {
    const Synthetic history = knownPicksHistory();
    std::vector<std::int32_t> reported;
    const BacktestResult result =
        runBacktest(history.front, history.back, [&](std::int32_t done, std::int32_t total) {
            reported.push_back(done);
            EXPECT_EQ(total, 4);
            return done < 2;
        });
    EXPECT_EQ(reported, (std::vector<std::int32_t>{1, 2}));
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.walked(), 2);
    EXPECT_EQ(result.front.perDraw, (std::vector<std::int32_t>{3, 1}));
}

TEST(Backtest, ChanceFiguresAreTheExactHypergeometricValues) {
    const std::vector<double> front = chanceOfHits(35, 5, 5);
    const double all = 324632; // C(35, 5)
    const double expected[] = {142506 / all, 137025 / all, 40600 / all,
                               4350 / all,   150 / all,    1 / all};
    ASSERT_EQ(front.size(), 6u);
    for (std::size_t k = 0; k < 6; ++k) {
        EXPECT_NEAR(front[k], expected[k], 1e-15) << k << " hits";
    }
    EXPECT_EQ(chanceOfHits(12, 2, 2), (std::vector<double>{45.0 / 66, 20.0 / 66, 1.0 / 66}));

    const ChanceMoments frontMoments = chanceMoments(35, 5, 5);
    EXPECT_NEAR(frontMoments.mean, 25.0 / 35, 1e-15);
    EXPECT_NEAR(frontMoments.variance, 5.0 * (5.0 / 35) * (30.0 / 35) * (30.0 / 34), 1e-15);
    const ChanceMoments backMoments = chanceMoments(12, 2, 2);
    EXPECT_NEAR(backMoments.mean, 4.0 / 12, 1e-15);
    EXPECT_NEAR(backMoments.variance, 2.0 * (2.0 / 12) * (10.0 / 12) * (10.0 / 11), 1e-15);
}

TEST(Backtest, LuckIntervalIsNineteenSixHundredthsStandardErrorsWide) {
    const ChanceInterval front = chanceInterval(rulesFor(Zone::Front), 2782);
    const double margin = 1.96 * std::sqrt(5.0 * (5.0 / 35) * (30.0 / 35) * (30.0 / 34) / 2782);
    EXPECT_NEAR(front.low, 25.0 / 35 - margin, 1e-12);
    EXPECT_NEAR(front.high, 25.0 / 35 + margin, 1e-12);
    EXPECT_TRUE(front.holds(25.0 / 35));
    EXPECT_FALSE(front.holds(25.0 / 35 + 1.01 * margin));
}

// A walk put together by hand: each draw's issue and the picks' hits.
BacktestResult walkOf(const std::vector<std::pair<int, int>>& hits) {
    BacktestResult result;
    for (const auto& [front, back] : hits) {
        result.front.perDraw.push_back(front);
        result.back.perDraw.push_back(back);
    }
    return result;
}

TEST(BacktestMoney, EachDrawIsPaidByTheRulesOfItsIssue) {
    // 18001: rules unknown; 19019: nine tiers, 4+2 pays 3000; 25001: 5+1 is
    // floating; 26014: seven tiers, 3+2 pays 150 or 200; 26015: 1+1 nothing.
    const BacktestResult walk = walkOf({{5, 0}, {4, 2}, {5, 1}, {3, 2}, {1, 1}});
    const BacktestMoney money = backtestMoney(walk, "1800119019250012601426015");
    EXPECT_EQ(money.counted, 4);
    EXPECT_EQ(money.unknownRules, 1);
    EXPECT_EQ(money.poolMatters, 2);
    EXPECT_EQ(money.costYuan, 8);
    EXPECT_EQ(money.floatingBets, 1);
    EXPECT_EQ(money.columns[0].fixedYuan, 3150);
    EXPECT_EQ(money.columns[1].fixedYuan, 3200);
    EXPECT_DOUBLE_EQ(money.returnPerYuan(PrizePool::Below), 3150.0 / 8);
    EXPECT_DOUBLE_EQ(money.returnPerYuan(PrizePool::AtOrAbove), 3200.0 / 8);
    for (const PrizePool pool : {PrizePool::Below, PrizePool::AtOrAbove}) {
        const PrizeMoments nine = randomBetPrize(PrizeRules::NineTiers, pool);
        const PrizeMoments seven = randomBetPrize(PrizeRules::SevenTiers, pool);
        const double mean = 2 * nine.mean + 2 * seven.mean;
        const double margin = 1.96 * std::sqrt(2 * nine.variance + 2 * seven.variance);
        EXPECT_NEAR(money.expectedPerYuan(pool), mean / 8, 1e-12);
        EXPECT_NEAR(money.luckPerYuan(pool).high, (mean + margin) / 8, 1e-12);
        EXPECT_EQ(money.luckPerYuan(pool).low, 0.0) << "the interval stops at nothing won";
    }
}

TEST(BacktestMoney, TheWalkStartsAtItsFirstDrawInTheIssueColumn) {
    BacktestResult walk = walkOf({{4, 2}});
    walk.firstDraw = 2;
    EXPECT_EQ(backtestMoney(walk, "180011800225001").columns[0].fixedYuan, 3000);
    EXPECT_EQ(backtestMoney(walk, "1800118002").unknownRules, 1) << "a missing issue";
}

TEST(BacktestMoney, PublishedDetailsPayTheFloatingTiersAndFixTheColumn) {
    // 26014 and 26015 have details (pools below and above 8亿); 26016 has none.
    DrawDetails first;
    first.issue = "26014";
    first.poolBefore = 70'000'000'000;
    first.tiers = {{1, false, 1, 1'234'567'800}, {2, false, 10, 12'345'600}};
    DrawDetails second = first;
    second.issue = "26015";
    second.poolBefore = 90'000'000'000;
    const std::map<std::string, DrawDetails> details{{"26014", first}, {"26015", second}};

    const BacktestMoney money =
        backtestMoney(walkOf({{5, 2}, {3, 2}, {5, 1}}), "260142601526016", details);
    EXPECT_EQ(money.counted, 3);
    EXPECT_EQ(money.detailed, 2);
    EXPECT_EQ(money.poolMatters, 1) << "only the draw without details has two columns";
    EXPECT_EQ(money.floatingPaidBets, 1);
    EXPECT_EQ(money.floatingPaidFen, 1'234'567'800);
    EXPECT_EQ(money.floatingBets, 1) << "the 5+1 of 26016 is counted apart";
    EXPECT_EQ(money.columns[0].fixedYuan, 200); // 3+2 at 8亿 and above
    EXPECT_EQ(money.columns[1].fixedYuan, 200);
    EXPECT_DOUBLE_EQ(money.prizesYuan(PrizePool::Below), 12'345'678.0 + 200);
    EXPECT_DOUBLE_EQ(money.returnPerYuan(PrizePool::AtOrAbove), (12'345'678.0 + 200) / 6);

    const PrizeMoments paid =
        randomBetPaid(PrizeRules::SevenTiers, *paidPrizes(PrizeRules::SevenTiers, first));
    const PrizeMoments paidAbove =
        randomBetPaid(PrizeRules::SevenTiers, *paidPrizes(PrizeRules::SevenTiers, second));
    const PrizeMoments rest = randomBetPrize(PrizeRules::SevenTiers, PrizePool::Below);
    EXPECT_NEAR(money.expectedPerYuan(PrizePool::Below),
                ((paid.mean + paidAbove.mean) / 100 + rest.mean) / 6, 1e-9);
}

} // namespace
