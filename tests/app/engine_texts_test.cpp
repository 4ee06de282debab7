// What the engine found, as the windows say it: each ticket problem, the
// backtest's verdict and its verdict in money.
#include <gtest/gtest.h>

#include "app/windows/engine_texts.h"

using namespace dlt;
using namespace dlt::gui;

namespace {

bool startsWith(const std::string& text, const std::string& start) {
    return text.rfind(start, 0) == 0;
}

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST(EngineTexts, TiersAreNamedByNumber) {
    EXPECT_EQ(tierName(1), "一等奖");
    EXPECT_EQ(tierName(9), "九等奖");
    EXPECT_EQ(tierName(0), "");
    EXPECT_EQ(tierName(10), "");
}

TEST(EngineTexts, EveryTicketProblemIsOneSentence) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "没有号码。"},
        {"03 06 26 30 33 + 11 12 啊", "无法识别“啊”。"},
        {"03 06 26 30 36 + 11 12", "前区号码36不在1至35之间。"},
        {"03 06 26 30 33 + 11 13", "后区号码13不在1至12之间。"},
        {"03 03 26 30 33 + 11 12", "前区号码03出现了两次。"},
        {"03 06 26 30 33 + 11", "后区号码太少：一注需要2个，这里只有1个。"},
        {"01 02 03 04 05 06 07 08 09 10 11 12 13 14 15 16 17 18 19 20 21 + 01 02",
         "前区号码太多：复式最多20个。"},
        {"01 02 03 04 05 + 01 02 # 03 04", "后区胆码太多：最多1个。"},
        {"01 02 03 04 05 06", "缺少后区号码：前区与后区之间请用“+”或“|”分开。"},
    };
    for (const auto& [line, said] : cases)
        EXPECT_EQ(ticketProblemText(readTicket(line)), said) << line;
}

// A walk put together by hand: each draw's hits.
BacktestResult walkOf(const std::vector<std::pair<int, int>>& hits) {
    BacktestResult result;
    for (const auto& [front, back] : hits) {
        result.front.perDraw.push_back(front);
        result.back.perDraw.push_back(back);
    }
    return result;
}

TEST(EngineTexts, TheVerdictStatesTheMeansTheIntervalsAndWhatLuckExplains) {
    BacktestResult result = walkOf(std::vector<std::pair<int, int>>(100, {1, 0}));
    EXPECT_EQ(backtestVerdict(result),
              "在100期回测中，前区平均命中1.000个，随机选号为0.714个，运气能解释的范围（95%）为"
              "0.570至0.858；后区平均命中0.000个，随机选号为0.333个，运气能解释的范围（95%）为"
              "0.235至0.432：两区与随机的差异都超出了运气能解释的范围。");
    result.cancelled = true;
    EXPECT_TRUE(startsWith(backtestVerdict(result), "回测已取消。在100期回测中，前区平均命中"));
    EXPECT_EQ(backtestVerdict(BacktestResult{}), "号库不足，无法回测。");

    // 21 draws: chance is 15/21 front hits and 7/21 back hits.
    std::vector<std::pair<int, int>> chance(21, {0, 0});
    for (int i = 0; i < 15; ++i)
        chance[std::size_t(i)].first = 1;
    for (int i = 0; i < 7; ++i)
        chance[std::size_t(i)].second = 1;
    std::vector<std::pair<int, int>> frontAll = chance, backAll = chance;
    for (auto& [front, back] : frontAll)
        front = 5;
    for (auto& [front, back] : backAll)
        back = 2;
    EXPECT_TRUE(
        endsWith(backtestVerdict(walkOf(chance)), "：两区与随机的差异都在运气能解释的范围之内。"));
    EXPECT_TRUE(endsWith(backtestVerdict(walkOf(frontAll)),
                         "：前区与随机的差异超出了运气能解释的范围，后区的在范围之内。"));
    EXPECT_TRUE(endsWith(backtestVerdict(walkOf(backAll)),
                         "：后区与随机的差异超出了运气能解释的范围，前区的在范围之内。"));
}

TEST(EngineTexts, TheMoneyVerdictPlacesTheReturnAgainstWhatLuckExplains) {
    struct Case {
        std::size_t draws;
        std::pair<int, int> hits;
        const char* ending;
    };
    const Case cases[] = {
        {100, {0, 0}, "元：差异在运气能解释的范围之内。"},
        {100, {5, 0}, "元：高于运气能解释的范围。"},
        // Nothing won in 5000 draws is less than luck explains.
        {5000, {0, 0}, "元：低于运气能解释的范围。"},
    };
    for (const Case& c : cases) {
        std::string issues;
        for (std::size_t i = 0; i < c.draws; ++i)
            issues += "25001";
        const std::string verdict =
            moneyVerdict(backtestMoney(walkOf({c.draws, c.hits}), issues), PrizePool::Below);
        EXPECT_TRUE(startsWith(verdict, "在" + std::to_string(c.draws) +
                                            "期中每期买一注下期精选号，每元返还"))
            << verdict;
        EXPECT_TRUE(endsWith(verdict, c.ending)) << verdict;
    }
    EXPECT_EQ(moneyVerdict(backtestMoney(walkOf({{0, 0}}), "18001"), PrizePool::Below),
              "没有奖级规则已知的回测期，无法计算奖金。");
}

TEST(EngineTexts, TheNotesSayWhatWasCountedApartAndThePoolIsNamed) {
    const BacktestMoney money = backtestMoney(walkOf({{0, 0}, {5, 2}, {3, 0}}), "180012500126020");
    EXPECT_EQ(moneyNotes(money),
              "计入的2期都没有开奖详情。"
              "一等奖、二等奖为浮动奖金，未计入（中了1注）。"
              "另有1期在19019期以前，本程序不知道其奖级规则，未计入。"
              "其中1期按七个奖级的规则兑奖，固定奖金随奖池而不同，两种奖池都已算出。");
    EXPECT_TRUE(startsWith(moneyVerdict(money, PrizePool::AtOrAbove),
                           "按奖池8亿及以上计，在2期中每期买一注下期精选号，每元返还"));
    EXPECT_TRUE(startsWith(moneyVerdict(money, PrizePool::Below), "按奖池不足8亿计，在2期中"));
}

TEST(EngineTexts, WhereEveryDrawWasPaidAsPublishedNothingIsCountedApart) {
    DrawDetails details;
    details.issue = "26020";
    details.poolBefore = 70'000'000'000;
    details.tiers = {{2, false, 5, 10'000'000}};
    const BacktestMoney money =
        backtestMoney(walkOf({{5, 1}}), "26020", {{details.issue, details}});
    EXPECT_EQ(moneyNotes(money), "计入的1期中有1期有开奖详情，按开奖前的奖池兑固定奖金，"
                                 "一等奖、二等奖按公布的奖金计入（中了1注，共100000元）。");
    EXPECT_TRUE(startsWith(moneyVerdict(money, PrizePool::Below), "在1期中每期买一注"))
        << "one pool, not named";
}

} // namespace
