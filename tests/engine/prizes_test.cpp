// The prize tiers against the published rules in data/prize-rules.md: the
// test reads the file's tables and checks every hit pair of both rule sets.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "engine/prizes.h"

using namespace dlt;

namespace {

// One row of a rules table: the tier's number (from its name), its hit pairs
// and its prize by pool column (-1 for a floating prize).
struct RuleRow {
    int tier = 0;
    std::vector<std::pair<int, int>> hits;
    std::array<std::int64_t, 2> yuan{};
};

int tierOfName(const std::string& name) {
    static const std::map<std::string, int> names{{"一等奖", 1}, {"二等奖", 2}, {"三等奖", 3},
                                                  {"四等奖", 4}, {"五等奖", 5}, {"六等奖", 6},
                                                  {"七等奖", 7}, {"八等奖", 8}, {"九等奖", 9}};
    const auto found = names.find(name);
    return found == names.end() ? 0 : found->second;
}

std::string trimmed(const std::string& s) {
    const std::size_t begin = s.find_first_not_of(' ');
    const std::size_t end = s.find_last_not_of(' ');
    return begin == std::string::npos ? std::string() : s.substr(begin, end - begin + 1);
}

std::vector<std::string> cells(const std::string& line) {
    std::vector<std::string> out;
    std::stringstream in(line.substr(1));
    std::string cell;
    while (std::getline(in, cell, '|'))
        out.push_back(trimmed(cell));
    return out;
}

// The tables of the file, by the heading above them.
std::map<std::string, std::vector<RuleRow>> ruleTables() {
    std::ifstream in(DLT_PRIZE_RULES_FILE);
    EXPECT_TRUE(in) << DLT_PRIZE_RULES_FILE;
    std::map<std::string, std::vector<RuleRow>> tables;
    std::string heading;
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("## ", 0) == 0)
            heading = line.substr(3);
        if (line.empty() || line[0] != '|')
            continue;
        const std::vector<std::string> row = cells(line);
        RuleRow rule;
        rule.tier = tierOfName(row[0]);
        if (rule.tier == 0)
            continue; // the header and the rule under it
        std::stringstream pairs(row[1]);
        std::string pair;
        while (std::getline(pairs, pair, ',')) {
            pair = trimmed(pair);
            rule.hits.emplace_back(pair[0] - '0', pair[2] - '0');
        }
        for (std::size_t c = 0; c < 2; ++c) {
            const std::string& prize = row[std::min<std::size_t>(2 + c, row.size() - 1)];
            rule.yuan[c] = prize.rfind("floating", 0) == 0 ? -1 : std::stoll(prize);
        }
        tables[heading].push_back(rule);
    }
    return tables;
}

struct RuleSet {
    const char* heading;
    PrizeRules rules;
};
const RuleSet kRuleSets[] = {
    {"Issues 19019 to 26013: nine tiers", PrizeRules::NineTiers},
    {"From issue 26014 (drawn 2026-02-02): seven tiers", PrizeRules::SevenTiers},
};

TEST(Prizes, EveryHitPairWinsTheTierAndPrizeOfTheRulesFile) {
    const auto tables = ruleTables();
    for (const RuleSet& set : kRuleSets) {
        ASSERT_EQ(tables.count(set.heading), 1u) << set.heading;
        const std::vector<RuleRow>& rows = tables.at(set.heading);
        EXPECT_EQ(static_cast<int>(rows.size()), tierCount(set.rules));
        std::map<std::pair<int, int>, const RuleRow*> byHits;
        for (const RuleRow& row : rows)
            for (const auto& hits : row.hits)
                byHits[hits] = &row;
        for (int f = 0; f <= 5; ++f) {
            for (int b = 0; b <= 2; ++b) {
                const Tier tier = tierFor(set.rules, f, b);
                const auto listed = byHits.find({f, b});
                if (listed == byHits.end()) {
                    EXPECT_FALSE(tier.wins()) << set.heading << " " << f << "+" << b;
                    continue;
                }
                const RuleRow& row = *listed->second;
                EXPECT_EQ(tier.number, row.tier) << set.heading << " " << f << "+" << b;
                EXPECT_EQ(tier.floating, row.yuan[0] < 0) << f << "+" << b;
                for (std::size_t c = 0; c < 2; ++c)
                    EXPECT_EQ(tier.yuan[c], std::max<std::int64_t>(row.yuan[c], 0))
                        << set.heading << " " << f << "+" << b << " column " << c;
            }
        }
    }
}

TEST(Prizes, TheRulesFollowTheIssue) {
    const std::pair<const char*, PrizeRules> cases[] = {
        {"07001", PrizeRules::Unknown},    {"19018", PrizeRules::Unknown},
        {"19019", PrizeRules::NineTiers},  {"25150", PrizeRules::NineTiers},
        {"26013", PrizeRules::NineTiers},  {"26014", PrizeRules::SevenTiers},
        {"26094", PrizeRules::SevenTiers}, {"2601", PrizeRules::Unknown},
        {"2601a", PrizeRules::Unknown},    {"", PrizeRules::Unknown},
    };
    for (const auto& [issue, rules] : cases)
        EXPECT_EQ(prizeRulesFor(issue), rules) << issue;
    EXPECT_FALSE(tierFor(PrizeRules::Unknown, 5, 2).wins());
    EXPECT_EQ(tierCount(PrizeRules::Unknown), 0);
}

TEST(Prizes, SumsCountEveryBetOnceAndPayByColumn) {
    HitTable bets{};
    bets[5][2] = 1;  // 一等奖
    bets[4][2] = 10; // nine tiers: 四等奖 3000; seven: 三等奖 5000 / 6666
    bets[0][0] = 52; // nothing
    const PrizeSum nine = sumPrizes(PrizeRules::NineTiers, bets);
    EXPECT_EQ(nine.fixedYuan, (std::array<std::int64_t, 2>{30000, 30000}));
    EXPECT_EQ(nine.betsByTier[0], 52);
    EXPECT_EQ(nine.betsByTier[4], 10);
    EXPECT_EQ(nine.floatingBets(), 1);
    const PrizeSum seven = sumPrizes(PrizeRules::SevenTiers, bets);
    EXPECT_EQ(seven.fixedYuan, (std::array<std::int64_t, 2>{50000, 66660}));
    EXPECT_EQ(seven.betsByTier[3], 10);
}

// The mean fixed prize of a random bet, by the test's own arithmetic: the
// hypergeometric ways of each hit pair times the prize of the rules file.
TEST(Prizes, RandomBetPrizeIsTheExactMeanOverAllBets) {
    auto choose = [](int n, int k) {
        double v = 1;
        for (int i = 1; i <= k; ++i)
            v = v * (n - k + i) / i;
        return v;
    };
    const auto tables = ruleTables();
    for (const RuleSet& set : kRuleSets) {
        for (const PrizePool pool : {PrizePool::Below, PrizePool::AtOrAbove}) {
            double sum = 0;
            double squares = 0;
            double all = 0;
            for (int f = 0; f <= 5; ++f)
                for (int b = 0; b <= 2; ++b)
                    all += choose(5, f) * choose(30, 5 - f) * choose(2, b) * choose(10, 2 - b);
            for (const RuleRow& row : tables.at(set.heading)) {
                const double yuan = std::max<double>(row.yuan[static_cast<std::size_t>(pool)], 0);
                for (const auto& [f, b] : row.hits) {
                    const double ways =
                        choose(5, f) * choose(30, 5 - f) * choose(2, b) * choose(10, 2 - b);
                    sum += ways * yuan;
                    squares += ways * yuan * yuan;
                }
            }
            EXPECT_EQ(all, 21425712.0);
            const PrizeMoments moments = randomBetPrize(set.rules, pool);
            EXPECT_NEAR(moments.mean, sum / all, 1e-12) << set.heading;
            EXPECT_NEAR(moments.variance, squares / all - (sum / all) * (sum / all), 1e-9);
        }
    }
    // Under the nine tiers a random bet wins 11,695,405 / 21,425,712 yuan.
    EXPECT_NEAR(randomBetPrize(PrizeRules::NineTiers, PrizePool::Below).mean,
                11695405.0 / 21425712.0, 1e-15);
}

} // namespace

namespace {

// A seven-tier draw as published: pool before it, the first prize with its
// 追加 row 1 yuan off the rounded 80%, and a second prize nobody won on 追加.
DrawDetails publishedDraw(Fen poolBefore) {
    DrawDetails draw;
    draw.issue = "26107";
    draw.poolBefore = poolBefore;
    draw.tiers = {{1, false, 2, 1'000'000'000},
                  {1, true, 1, 799'999'900},
                  {2, false, 40, 10'000'000},
                  {2, true, 0, std::nullopt},
                  {3, false, 300, 500'000}};
    return draw;
}

} // namespace

TEST(PaidPrizes, ThePoolBeforeTheDrawChoosesTheColumnOfFixedPrizes) {
    const auto below = paidPrizes(PrizeRules::SevenTiers, publishedDraw(79'999'999'999));
    const auto above = paidPrizes(PrizeRules::SevenTiers, publishedDraw(80'000'000'000));
    ASSERT_TRUE(below && above);
    EXPECT_EQ(below->pool, PrizePool::Below);
    EXPECT_EQ(above->pool, PrizePool::AtOrAbove);
    EXPECT_EQ(paidPrize(*below, tierFor(PrizeRules::SevenTiers, 4, 2), true), 500'000);
    EXPECT_EQ(paidPrize(*above, tierFor(PrizeRules::SevenTiers, 4, 2), true), 666'600);
    EXPECT_EQ(paidPrize(*above, tierFor(PrizeRules::SevenTiers, 0, 0), false), 0);

    DrawDetails noPool = publishedDraw(0);
    noPool.poolBefore.reset();
    EXPECT_FALSE(paidPrizes(PrizeRules::SevenTiers, noPool)) << "which column is not known";
    EXPECT_FALSE(paidPrizes(PrizeRules::Unknown, publishedDraw(0)));
    const auto nine = paidPrizes(PrizeRules::NineTiers, noPool); // one column only
    ASSERT_TRUE(nine);
    EXPECT_EQ(paidPrize(*nine, tierFor(PrizeRules::NineTiers, 4, 2), false), 300'000);
}

TEST(PaidPrizes, FloatingTiersArePaidAtThePublishedAmountsWithTheirAddOn) {
    const auto paid = paidPrizes(PrizeRules::SevenTiers, publishedDraw(70'000'000'000));
    ASSERT_TRUE(paid);
    const Tier first = tierFor(PrizeRules::SevenTiers, 5, 2);
    const Tier second = tierFor(PrizeRules::SevenTiers, 5, 1);
    EXPECT_EQ(paidPrize(*paid, first, false), 1'000'000'000);
    EXPECT_EQ(paidPrize(*paid, first, true), 1'799'999'900) << "the published 追加, not 80%";
    EXPECT_EQ(paidPrize(*paid, second, false), 10'000'000);
    EXPECT_EQ(paidPrize(*paid, second, true), std::nullopt) << "no 追加 amount was published";

    // A 复式 ticket of 63 bets that hit 5+2 once, 5+1 twice, 4+2 ten times.
    HitTable bets{};
    bets[5][2] = 1;
    bets[5][1] = 2;
    bets[4][2] = 10;
    bets[0][0] = 50;
    const PaidSum plain = sumPaid(PrizeRules::SevenTiers, bets, false, *paid);
    EXPECT_EQ(plain.fen, 1'000'000'000 + 2 * 10'000'000 + 10 * 500'000);
    EXPECT_EQ(plain.unpaidFloatingBets, 0);
    const PaidSum additional = sumPaid(PrizeRules::SevenTiers, bets, true, *paid);
    EXPECT_EQ(additional.fen, 1'799'999'900 + 10 * 500'000);
    EXPECT_EQ(additional.unpaidFloatingBets, 2);
}

TEST(PaidPrizes, ARandomBetsMeanAddsThePublishedFloatingPrizes) {
    const auto paid = paidPrizes(PrizeRules::SevenTiers, publishedDraw(70'000'000'000));
    ASSERT_TRUE(paid);
    const PrizeMoments fixed = randomBetPrize(PrizeRules::SevenTiers, PrizePool::Below);
    const PrizeMoments all = randomBetPaid(PrizeRules::SevenTiers, *paid);
    // One bet in 21,425,712 hits 5+2 and 20 hit 5+1.
    EXPECT_NEAR(all.mean, fixed.mean * 100 + (1'000'000'000.0 + 20 * 10'000'000.0) / kAllBets,
                1e-6);
    EXPECT_GT(all.variance, fixed.variance * 10000);
}
