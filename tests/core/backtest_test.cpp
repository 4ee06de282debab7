#include <gtest/gtest.h>

#include <cmath>

#include "core/texts.h"
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
    EXPECT_EQ(backtestVerdict(result), text::verdictTooShort);
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
    EXPECT_EQ(backtestVerdict(result).rfind(text::verdictCancelled, 0), 0u);
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

TEST(Backtest, VerdictSaysWhichZoneLuckDoesNotExplain) {
    struct Case {
        std::vector<std::int32_t> front;
        std::vector<std::int32_t> back;
        std::string_view ending;
    };
    // 21 draws: chance is 15/21 front hits and 7/21 back hits.
    std::vector<std::int32_t> chanceFront(21, 0);
    std::fill(chanceFront.begin(), chanceFront.begin() + 15, 1);
    std::vector<std::int32_t> chanceBack(21, 0);
    std::fill(chanceBack.begin(), chanceBack.begin() + 7, 1);
    const std::vector<std::int32_t> allFront(21, 5);
    const std::vector<std::int32_t> allBack(21, 2);
    const Case cases[] = {
        {chanceFront, chanceBack, text::verdictBothWithin},
        {allFront, chanceBack, text::verdictFrontOutside},
        {chanceFront, allBack, text::verdictBackOutside},
        {allFront, allBack, text::verdictBothOutside},
    };
    for (const Case& c : cases) {
        BacktestResult result;
        result.front.perDraw = c.front;
        result.back.perDraw = c.back;
        const std::string verdict = backtestVerdict(result);
        EXPECT_EQ(verdict.rfind(std::string(text::verdictWalkedPrefix) + "21", 0), 0u);
        ASSERT_GE(verdict.size(), c.ending.size());
        EXPECT_EQ(verdict.substr(verdict.size() - c.ending.size()), c.ending);
    }
}

TEST(Backtest, VerdictStatesTheMeansAndTheInterval) {
    BacktestResult result;
    result.front.perDraw.assign(100, 1);
    result.back.perDraw.assign(100, 0);
    const std::string verdict = backtestVerdict(result);
    const ChanceInterval front = chanceInterval(rulesFor(Zone::Front), 100);
    char range[64];
    std::snprintf(range, sizeof range, "%.3f%s%.3f", front.low,
                  std::string(text::verdictTo).c_str(), front.high);
    EXPECT_NE(verdict.find(std::string(text::verdictFrontMean) + "1.000" +
                           std::string(text::verdictChanceMean) + "0.714"),
              std::string::npos);
    EXPECT_NE(verdict.find(range), std::string::npos);
    EXPECT_NE(verdict.find(std::string(text::verdictBackMean) + "0.000" +
                           std::string(text::verdictChanceMean) + "0.333"),
              std::string::npos);
}

} // namespace
