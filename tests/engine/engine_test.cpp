#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "engine/engine.h"
#include "tests/support/real_draws.h"

using namespace dlt;

namespace {

const ZoneRules& kFront = rulesFor(Zone::Front);
const ZoneRules& kBack = rulesFor(Zone::Back);

std::string token(int v) {
    std::string t;
    t.push_back(static_cast<char>('0' + v / 10));
    t.push_back(static_cast<char>('0' + v % 10));
    return t;
}

// "06 08 10" -> "060810"
std::string tokens(std::string_view spaced) {
    std::string out;
    for (char c : spaced)
        if (c != ' ')
            out.push_back(c);
    return out;
}

// Numbers 1..n as a list text.
std::string ascendingList(int n) {
    std::string out;
    for (int v = 1; v <= n; ++v)
        out += token(v);
    return out;
}

std::vector<int> groupSizes(const GroupSet& groups) {
    std::vector<int> sizes;
    for (const auto& g : groups)
        sizes.push_back(static_cast<int>(g.size() / 2));
    return sizes;
}

std::string joined(const GroupSet& groups) {
    std::string out;
    for (const auto& g : groups)
        out += g;
    return out;
}

ZoneResult resultOf(ZoneOutcome outcome) {
    EXPECT_TRUE(std::holds_alternative<ZoneResult>(outcome));
    if (auto* result = std::get_if<ZoneResult>(&outcome))
        return std::move(*result);
    return {};
}

// Records every hand-over and how many yields came before it.
struct RecordingSink : ResultSink {
    struct Event {
        bool picks = false;
        Zone zone = Zone::Front;
        ResultLevel level = ResultLevel::Select;
        GroupSet groups;
        std::vector<int> numbers;
        int yieldsBefore = 0;
    };
    std::vector<Event> events;
    const int* yieldCounter = nullptr;

    int yieldsNow() const { return yieldCounter ? *yieldCounter : 0; }
    void showGroups(Zone zone, ResultLevel level, const GroupSet& groups) override {
        events.push_back({false, zone, level, groups, {}, yieldsNow()});
    }
    void showNextDrawPicks(Zone zone, const std::vector<int>& picks) override {
        events.push_back({true, zone, ResultLevel::Select, {}, picks, yieldsNow()});
    }
};

ZoneOutcome run(const ZoneRules& rules, const std::string& text) {
    RecordingSink sink;
    return computeZone(rules, text, sink);
}

// The 14 front draws: 1..35 once over the first seven, then 01 02 03 04 05 seven times.
std::string fourteenFrontDraws() {
    std::string text = ascendingList(35);
    for (int d = 0; d < 7; ++d)
        text += "0102030405";
    return text;
}

// ---- Real draws -----------------------------------------------------------

struct ZoneTexts {
    std::string front;
    std::string back;
};

// The newest `count` draws of the data file as zone texts, oldest first.
ZoneTexts realDraws(std::size_t count) {
    const HistoryColumns columns = fixture::realColumns(count);
    return {columns.fronts, columns.backs};
}

// ---- Stage 2 done literally -------------------------------------------------

int parsedNumber(const std::string& text, std::size_t at, int poolSize) {
    const char a = text[at], b = text[at + 1];
    if (a < '0' || a > '9' || b < '0' || b > '9')
        return 0;
    const int v = (a - '0') * 10 + (b - '0');
    return v >= 1 && v <= poolSize ? v : 0;
}

// The stride stage as described for the program: the sample text grows by
// prepending each taken token, is re-tallied whole after every pass, and the
// pass lists are voted on with R = q (or 1). Quadratic, but plainly right.
std::string literalStrideVote(const ZoneRules& r, const std::string& history) {
    const int n = r.poolSize, w = r.windowNumbers();
    const int m = static_cast<int>(history.size() / 2);
    const int q = m / w;
    std::string sample, lists;
    for (int pass = 1; pass <= q - 1; ++pass) {
        const int stride = pass + 1;
        int taken = 0;
        for (int index = m; index >= 1 && taken < w; index -= stride, ++taken)
            sample.insert(0, history.substr(2 * static_cast<std::size_t>(index - 1), 2));
        std::map<int, int> counts;
        for (std::size_t at = 0; at + 1 < sample.size(); at += 2)
            if (int v = parsedNumber(sample, at, n))
                ++counts[v];
        const int threshold = std::max(r.baseCount, static_cast<int>(sample.size() / 2) / n);
        std::vector<std::pair<int, int>> cold;
        for (int v = 1; v <= n; ++v)
            if (counts[v] < threshold)
                cold.emplace_back(counts[v], v);
        std::sort(cold.begin(), cold.end());
        for (auto [c, v] : cold)
            lists += token(v);
    }
    const int passCount = q == 0 ? 1 : q;
    std::map<int, int> votes;
    for (std::size_t at = 0; at + 1 < lists.size(); at += 2)
        if (int v = parsedNumber(lists, at, n))
            ++votes[v];
    std::vector<std::pair<int, int>> kept;
    for (auto [v, c] : votes)
        if (2 * c > passCount)
            kept.emplace_back(-c, v);
    std::sort(kept.begin(), kept.end());
    std::string out;
    for (auto [c, v] : kept)
        out += token(v);
    return out;
}

} // namespace

// ---- Group split ------------------------------------------------------------

TEST(EngineGroups, FrontSizesFollowTheTable) {
    const std::map<int, std::vector<int>> table{
        {0, {0, 0, 0, 0, 0}},  {1, {0, 0, 0, 0, 1}},  {2, {0, 0, 0, 0, 2}},  {3, {1, 1, 1, 0, 0}},
        {4, {1, 1, 1, 1, 0}},  {5, {1, 1, 1, 1, 1}},  {7, {1, 1, 1, 1, 3}},  {8, {2, 2, 2, 2, 0}},
        {9, {2, 2, 2, 2, 1}},  {10, {2, 2, 2, 2, 2}}, {12, {2, 2, 2, 2, 4}}, {13, {3, 3, 3, 3, 1}},
        {14, {3, 3, 3, 3, 2}}, {17, {3, 3, 3, 3, 5}}, {18, {4, 4, 4, 4, 2}}, {20, {4, 4, 4, 4, 4}},
    };
    for (const auto& [n, sizes] : table) {
        const GroupSet groups = splitIntoGroups(ascendingList(n), 5);
        EXPECT_EQ(groupSizes(groups), sizes) << n << " tokens";
        EXPECT_EQ(joined(groups), ascendingList(n)) << n << " tokens";
    }
    // Eight cold numbers: four pairs and an empty fifth group.
    EXPECT_EQ(splitIntoGroups(tokens("01 02 03 04 05 06 07 08"), 5),
              (GroupSet{"0102", "0304", "0506", "0708", ""}));
}

TEST(EngineGroups, BackHalvesWithTheRestInTheSecondGroup) {
    for (int n = 0; n <= 12; ++n) {
        const GroupSet groups = splitIntoGroups(ascendingList(n), 2);
        EXPECT_EQ(groupSizes(groups), (std::vector<int>{n / 2, n - n / 2})) << n << " tokens";
        EXPECT_EQ(joined(groups), ascendingList(n));
    }
    EXPECT_EQ(splitIntoGroups("030507", 2), (GroupSet{"03", "0507"}));
}

TEST(EngineGroups, EveryLengthGivesExactlyTheGroupCountInOrder) {
    for (int n = 0; n <= 35; ++n) {
        const std::string list = ascendingList(n);
        const GroupSet groups = splitIntoGroups(list, 5);
        ASSERT_EQ(groups.size(), 5u) << n;
        EXPECT_EQ(joined(groups), list) << n;
        const auto sizes = groupSizes(groups);
        // The first four groups never differ by more than running out.
        for (int g = 1; g < 4; ++g)
            EXPECT_LE(sizes[g], sizes[g - 1]) << n;
    }
}

// ---- Token positions ----------------------------------------------------------

TEST(EngineTokens, PositionsCountOnlyWholeTokens) {
    EXPECT_EQ(tokenPosition("301001", 30), 1);
    EXPECT_EQ(tokenPosition("301001", 10), 3);
    EXPECT_EQ(tokenPosition("301001", 1), 5); // not the straddling "01" at 2
    EXPECT_EQ(tokenPosition("1051", 10), 1);
    EXPECT_EQ(tokenPosition("1051", 51), 3);
    EXPECT_EQ(tokenPosition("1051", 5), 0); // "05" only straddles
    EXPECT_EQ(tokenPosition("3010", 1), 0);
    EXPECT_EQ(tokenPosition("", 1), 0);
    EXPECT_EQ(tokenPosition("060", 6), 1); // a stray last character is no token
    EXPECT_EQ(tokenPosition("0106", 60), 0);
}

TEST(EngineTokens, OutOfRangeTokensAreNotNumbers) {
    EXPECT_EQ(tokenNumber("00", 1, 35), 0);
    EXPECT_EQ(tokenNumber("36", 1, 35), 0);
    EXPECT_EQ(tokenNumber("35", 1, 35), 35);
    EXPECT_EQ(tokenNumber("13", 1, 12), 0);
    EXPECT_EQ(tokenNumber("12", 1, 12), 12);
    EXPECT_EQ(tokenNumber("-1", 1, 35), 0);
    EXPECT_EQ(tokenNumber("1a", 1, 35), 0);
    EXPECT_EQ(tokenNumber("0107", 2, 35), 7);
}

// ---- Cold list ------------------------------------------------------------------

TEST(EngineColdList, ThresholdGrowsWithTheTokenCountButNotBelowBase) {
    // counts: 01 once, 02 twice, 03 three times, ... filled up with 35s.
    auto textWith = [](int totalTokens) {
        std::string text = "01"
                           "0202"
                           "030303"
                           "04040404"
                           "0505050505";
        while (static_cast<int>(text.size() / 2) < totalTokens)
            text += "35";
        return text;
    };
    // Threshold 2 (70 / 35 = 2, and never below 2 for shorter texts).
    EXPECT_EQ(coldList(textWith(20), kFront).text.substr(0, 2), std::string("06"));
    EXPECT_EQ(tokenPosition(coldList(textWith(70), kFront).text, 2), 0);
    EXPECT_NE(tokenPosition(coldList(textWith(70), kFront).text, 1), 0);
    // Threshold 3 at 105 tokens, 4 at 140, 6 at 210.
    const std::string at105 = coldList(textWith(105), kFront).text;
    EXPECT_NE(tokenPosition(at105, 2), 0);
    EXPECT_EQ(tokenPosition(at105, 3), 0);
    const std::string at140 = coldList(textWith(140), kFront).text;
    EXPECT_NE(tokenPosition(at140, 3), 0);
    EXPECT_EQ(tokenPosition(at140, 4), 0);
    const std::string at209 = coldList(textWith(209), kFront).text;
    EXPECT_EQ(tokenPosition(at209, 5), 0); // 209 / 35 = 5
    const std::string at210 = coldList(textWith(210), kFront).text;
    EXPECT_NE(tokenPosition(at210, 5), 0);
    EXPECT_EQ(tokenPosition(at210, 35), 0);
}

TEST(EngineColdList, OrderedByCountThenNumberNeverSeenFirst) {
    // Back zone, 24 tokens: threshold 2.
    const std::string text =
        tokens("12 12 12 11 09 09 09 07 07 07 05 05 05 03 03 03 01 01 01 02 02 04 04 06");
    const NumberList list = coldList(text, kBack);
    EXPECT_EQ(list.text, tokens("08 10 06 11"));
    EXPECT_EQ(list.groups, (GroupSet{"0810", "0611"}));
}

TEST(EngineColdList, OutOfRangeTokensAreSkippedButCountAsTokens) {
    // 1..35 three times: 105 tokens, threshold 3, nothing cold.
    std::string text = ascendingList(35) + ascendingList(35) + ascendingList(35);
    EXPECT_EQ(coldList(text, kFront).text, "");
    // Replacing one 35 by a token outside the pool keeps 105 tokens (threshold 3)
    // and leaves 35 with two occurrences.
    for (const char* bad : {"00", "36", "99", "-1", "ab"}) {
        std::string spoiled = text;
        spoiled.replace(spoiled.size() - 2, 2, bad);
        EXPECT_EQ(coldList(spoiled, kFront).text, "35") << bad;
    }
    // In the back zone 13 is outside the pool.
    EXPECT_EQ(coldList(tokens("13 13 13 13 01 01 02 02 03 03 04 04 05 05 06 06 07 07 08 08 09 09 "
                              "10 10 11 11 12 12"),
                       kBack)
                  .text,
              "");
    EXPECT_EQ(coldList("13", kBack).text, ascendingList(12));
}

// ---- Vote and tier order ---------------------------------------------------------

TEST(EngineVote, KeepsNumbersOnMoreThanHalfOfThePasses) {
    // One pass never suffices with R = 2; R = 3 needs two lists, R = 4 three.
    EXPECT_EQ(voteList("0102", 2, kFront).text, "");
    EXPECT_EQ(voteList("0102"
                       "01",
                       3, kFront)
                  .text,
              "01");
    EXPECT_EQ(voteList("0102"
                       "0102",
                       4, kFront)
                  .text,
              "");
    EXPECT_EQ(voteList("010203"
                       "0102"
                       "0103",
                       4, kFront)
                  .text,
              "01");
    EXPECT_EQ(voteList("0102", 1, kFront).text, "0102");
    // Most votes first, then by number.
    EXPECT_EQ(voteList("0905"
                       "0509"
                       "07"
                       "0705",
                       3, kFront)
                  .text,
              tokens("05 07 09"));
}

TEST(EngineVote, EmptyInputGivesEmptyListAndEmptyGroups) {
    const NumberList front = voteList("", 3, kFront);
    EXPECT_EQ(front.text, "");
    EXPECT_EQ(front.groups, GroupSet(5));
    const LevelLists levels{"", "", ""};
    EXPECT_EQ(voteList("", 3, kBack, &levels).groups, GroupSet(2));
}

TEST(EngineVote, TieredFinalVoteScoresPositions) {
    const std::string coldRecent = tokens("06 07 08 10 12");
    const std::string strideVote = tokens("08 10");
    const std::string coldAll = tokens("10 06 05 11");
    const LevelLists levels{coldRecent, strideVote, coldAll};
    // 06 scores 1 + 3 + 3 = 7, 08 scores 5 + 1 + 5 = 11.
    EXPECT_EQ(tierOrder({8, 6}, levels), (std::vector<std::int32_t>{6, 8}));
    const NumberList final = voteList(coldRecent + strideVote + coldAll, 3, kBack, &levels);
    EXPECT_EQ(final.text, tokens("10 06 08"));
    EXPECT_EQ(final.groups, (GroupSet{"10", "0608"}));
    EXPECT_EQ(picksFromList(final.text, kBack), (std::vector<int>{6, 10}));
}

TEST(EngineVote, AbsentAndPresentScoresUseTheirOwnScales) {
    // In a list of ten, the eighth number scores 15 and an absent one 11.
    const std::string tenList = ascendingList(10);
    // LevelLists only views its texts: they must outlive it.
    const std::string cold = tokens("20 08");
    const LevelLists levels{tenList, "", cold};
    // 08: 15 + 1 + 3 = 19; 20: 11 + 1 + 1 = 13.
    EXPECT_EQ(tierOrder({8, 20}, levels), (std::vector<std::int32_t>{20, 8}));
    // Equal scores fall back to the number: 03 and 12 both score 5.
    const std::string recent = tokens("03 12"), all = tokens("12 03");
    const LevelLists tied{recent, "", all};
    EXPECT_EQ(tierOrder({12, 3}, tied), (std::vector<std::int32_t>{3, 12}));
}

TEST(EngineVote, StraddlingDigitsDoNotPlaceANumber) {
    // 30 10 01: 01 stands at 5, not at the straddling 2.
    const std::string coldRecent = tokens("30 10 01");
    const std::string strideVote = tokens("01 10");
    const std::string coldAll = tokens("10 01");
    const LevelLists levels{coldRecent, strideVote, coldAll};
    // 10: 3 + 3 + 1 = 7; 01: 5 + 1 + 3 = 9 (a substring search would give 01 the 6).
    EXPECT_EQ(tierOrder({1, 10}, levels), (std::vector<std::int32_t>{10, 1}));
    EXPECT_EQ(voteList(coldRecent + strideVote + coldAll, 3, kFront, &levels).text,
              tokens("10 01"));
    // An absent number whose digits straddle two tokens scores as absent:
    // in 01 03, both 05 and 10 are absent (3), so they tie and 05 leads;
    // reading the straddling "10" at 2 would put 10 first.
    const std::string straddling = tokens("01 03");
    const LevelLists straddled{straddling, "", ""};
    EXPECT_EQ(tierOrder({10, 5}, straddled), (std::vector<std::int32_t>{5, 10}));
}

TEST(EngineVote, PicksPadMissingNumbersWithZero) {
    EXPECT_EQ(picksFromList(tokens("30 10 05"), kFront), (std::vector<int>{0, 0, 5, 10, 30}));
    EXPECT_EQ(picksFromList("", kFront), (std::vector<int>(5, 0)));
    EXPECT_EQ(picksFromList(tokens("33 02 17 09 21 04 01"), kFront),
              (std::vector<int>{2, 9, 17, 21, 33}));
    EXPECT_EQ(picksFromList(tokens("11"), kBack), (std::vector<int>{0, 11}));
}

// ---- Stride passes -------------------------------------------------------------

TEST(EngineStride, PassCountFollowsTheHistoryLength) {
    EXPECT_EQ(strideSample(kFront, 205).size(), 0u); // 41 draws
    EXPECT_EQ(strideSample(kFront, 210).size(), 1u); // 42 draws
    EXPECT_EQ(strideSample(kFront, 310).size(), 1u); // 62 draws
    EXPECT_EQ(strideSample(kFront, 315).size(), 2u); // 63 draws
    EXPECT_EQ(strideSample(kBack, 70).size(), 0u);   // 35 draws
    EXPECT_EQ(strideSample(kBack, 72).size(), 1u);   // 36 draws
    EXPECT_EQ(strideSample(kBack, 108).size(), 2u);  // 54 draws
}

TEST(EngineStride, SixtyThreeAndEightyFourFrontDraws) {
    auto expectArithmetic = [](const std::vector<std::int32_t>& pass, int first, int last,
                               int stride) {
        ASSERT_EQ(pass.size(), 105u);
        EXPECT_EQ(pass.front(), first);
        EXPECT_EQ(pass.back(), last);
        for (std::size_t i = 1; i < pass.size(); ++i)
            EXPECT_EQ(pass[i - 1] - pass[i], stride);
    };
    const auto sixtyThree = strideSample(kFront, 315);
    ASSERT_EQ(sixtyThree.size(), 2u);
    expectArithmetic(sixtyThree[0], 315, 107, 2);
    expectArithmetic(sixtyThree[1], 315, 3, 3);

    const auto eightyFour = strideSample(kFront, 420);
    ASSERT_EQ(eightyFour.size(), 3u);
    expectArithmetic(eightyFour[0], 420, 212, 2);
    expectArithmetic(eightyFour[1], 420, 108, 3);
    expectArithmetic(eightyFour[2], 420, 4, 4);
}

TEST(EngineStride, SampleAccumulatesAcrossPasses) {
    // 63 front draws. Pass 1 takes the odd tokens 315 .. 107, pass 2 every third
    // token 315 .. 3; 35 tokens (the odd multiples of 3 from 111) are in both.
    // Pass 1's tokens hold 02 twice and every other number at least three times,
    // so 02 alone is cold after pass 1 (105 tokens, threshold 3). The tokens only
    // pass 2 takes hold 02 `extra` times. After pass 2 the sample has 210 tokens
    // and threshold 6, so 02 is cold again (and voted in with R = 3) exactly when
    // 2 + extra < 6. A sample cleared between passes (105 tokens, threshold 3)
    // would never keep 02 with extra = 3.
    auto history = [](int extra) {
        std::vector<int> number(316, 1);
        std::set<int> firstPass;
        for (int index = 315; index >= 107; index -= 2)
            firstPass.insert(index);
        // 02 on two first-pass tokens that pass 2 does not re-read; the other
        // 103 first-pass tokens: 03..35 three times each, then 01.
        int twos = 0;
        std::vector<int> others;
        for (int index : firstPass) {
            if (index % 3 != 0 && twos < 2) {
                number[index] = 2;
                ++twos;
            } else {
                others.push_back(index);
            }
        }
        for (std::size_t i = 0; i < others.size(); ++i)
            number[others[i]] = i < 99 ? 3 + static_cast<int>(i % 33) : 1;
        int placed = 0;
        for (int index = 315; index >= 3; index -= 3)
            if (!firstPass.count(index) && placed < extra) {
                number[index] = 2;
                ++placed;
            }
        std::string text;
        for (int i = 1; i <= 315; ++i)
            text += token(number[i]);
        return text;
    };
    for (int extra : {0, 3, 4, 8}) {
        const std::string text = history(extra);
        const ZoneResult r = resultOf(run(kFront, text));
        EXPECT_EQ(r.strideVote.text, extra <= 3 ? "02" : "") << extra;
        EXPECT_EQ(literalStrideVote(kFront, text), r.strideVote.text) << extra;
    }
}

TEST(EngineStride, MatchesTheLiteralComputationOnRealDraws) {
    for (std::size_t draws : {41u, 42u, 62u, 63u, 84u, 120u, 300u, 700u}) {
        const ZoneTexts texts = realDraws(draws);
        EXPECT_EQ(resultOf(run(kFront, texts.front)).strideVote.text,
                  literalStrideVote(kFront, texts.front))
            << draws << " front draws";
        EXPECT_EQ(resultOf(run(kBack, texts.back)).strideVote.text,
                  literalStrideVote(kBack, texts.back))
            << draws << " back draws";
    }
    // The literal stage gives something to compare for long histories.
    EXPECT_NE(literalStrideVote(kFront, realDraws(700).front), "");
    EXPECT_NE(literalStrideVote(kBack, realDraws(700).back), "");
}

TEST(EngineStride, MatchesTheLiteralComputationWithOutOfRangeTokens) {
    for (std::size_t draws : {63u, 200u, 500u}) {
        ZoneTexts texts = realDraws(draws);
        const char* bad[] = {"00", "99", "-1", "36", "13"};
        for (std::size_t at = 0, i = 0; at + 1 < texts.front.size(); at += 14, ++i)
            texts.front.replace(at, 2, bad[i % 5]);
        for (std::size_t at = 0, i = 0; at + 1 < texts.back.size(); at += 6, ++i)
            texts.back.replace(at, 2, bad[i % 5]);
        EXPECT_EQ(resultOf(run(kFront, texts.front)).strideVote.text,
                  literalStrideVote(kFront, texts.front))
            << draws;
        EXPECT_EQ(resultOf(run(kBack, texts.back)).strideVote.text,
                  literalStrideVote(kBack, texts.back))
            << draws;
    }
}

// ---- Whole zones ------------------------------------------------------------------

TEST(EngineZone, TwelveBackDraws) {
    const std::string text =
        tokens("01 02 03 04 05 06 07 08 09 10 11 12 01 03 05 07 09 11 01 02 03 04 01 02");
    const ZoneResult r = resultOf(run(kBack, text));
    EXPECT_EQ(r.coldRecent.text, tokens("06 08 10 12"));
    EXPECT_EQ(r.coldRecent.groups, (GroupSet{"0608", "1012"}));
    EXPECT_EQ(r.coldAll.text, r.coldRecent.text);
    EXPECT_EQ(r.coldAll.groups, r.coldRecent.groups);
    EXPECT_EQ(r.strideVote.text, "");
    EXPECT_EQ(r.strideVote.groups, GroupSet(2));
    EXPECT_EQ(r.finalList.text, tokens("06 08 10 12"));
    EXPECT_EQ(r.finalList.groups, (GroupSet{"0608", "1012"}));
    EXPECT_EQ(r.nextDrawPicks, (std::vector<int>{6, 8}));
}

TEST(EngineZone, FourteenFrontDraws) {
    const ZoneResult r = resultOf(run(kFront, fourteenFrontDraws()));
    const std::string sixToThirtyFive = ascendingList(35).substr(10);
    const GroupSet sixes{ascendingList(11).substr(10), ascendingList(17).substr(22),
                         ascendingList(23).substr(34), ascendingList(29).substr(46),
                         ascendingList(35).substr(58)};
    EXPECT_EQ(sixes[0], tokens("06 07 08 09 10 11"));
    EXPECT_EQ(sixes[4], tokens("30 31 32 33 34 35"));
    for (const NumberList* list : {&r.coldRecent, &r.coldAll, &r.finalList}) {
        EXPECT_EQ(list->text, sixToThirtyFive);
        EXPECT_EQ(list->groups, sixes);
    }
    EXPECT_EQ(r.strideVote.text, "");
    EXPECT_EQ(r.nextDrawPicks, (std::vector<int>{6, 7, 8, 9, 10}));
}

TEST(EngineZone, EveryNumberTwiceLeavesEverythingEmpty) {
    const std::string text = ascendingList(35) + ascendingList(35);
    RecordingSink sink;
    const ZoneResult r = resultOf(computeZone(kFront, text, sink));
    for (const NumberList* list : {&r.coldRecent, &r.strideVote, &r.coldAll, &r.finalList}) {
        EXPECT_EQ(list->text, "");
        EXPECT_EQ(list->groups, GroupSet(5));
    }
    EXPECT_EQ(r.nextDrawPicks, (std::vector<int>(5, 0)));
    ASSERT_EQ(sink.events.size(), 5u);
    for (const auto& e : sink.events) {
        if (!e.picks) {
            EXPECT_EQ(e.groups, GroupSet(5));
        }
    }
}

TEST(EngineZone, ThreeFinalNumbersLeaveTwoPicksAtZero) {
    // 14 front draws: 01..32 twice, 01..04 a third time, 33 and 34 once, 35 never.
    const std::string text = ascendingList(32) + ascendingList(32) + ascendingList(4) + "3334";
    ASSERT_EQ(text.size(), 140u);
    const ZoneResult r = resultOf(run(kFront, text));
    EXPECT_EQ(r.finalList.text, tokens("35 33 34"));
    EXPECT_EQ(r.finalList.groups, (GroupSet{"35", "33", "34", "", ""}));
    EXPECT_EQ(r.nextDrawPicks, (std::vector<int>{0, 0, 33, 34, 35}));
}

TEST(EngineZone, MinimumHistoryCountsWholeDraws) {
    const std::string fourteen = fourteenFrontDraws();
    const std::string thirteen = fourteen.substr(0, 130);
    ASSERT_TRUE(std::holds_alternative<InsufficientHistory>(run(kFront, thirteen)));
    EXPECT_EQ(std::get<InsufficientHistory>(run(kFront, thirteen)).minimumDraws, 14);
    EXPECT_TRUE(std::holds_alternative<InsufficientHistory>(run(kFront, fourteen.substr(0, 139))));
    const ZoneResult r = resultOf(run(kFront, fourteen));
    EXPECT_EQ(r.coldRecent.text, r.coldAll.text);

    const std::string back = realDraws(12).back;
    ASSERT_EQ(back.size(), 48u);
    EXPECT_EQ(std::get<InsufficientHistory>(run(kBack, back.substr(0, 44))).minimumDraws, 12);
    EXPECT_TRUE(std::holds_alternative<InsufficientHistory>(run(kBack, back.substr(0, 47))));
    EXPECT_TRUE(std::holds_alternative<ZoneResult>(run(kBack, back)));
    // Twelve or thirteen draws are enough behind but not in front.
    const ZoneTexts thirteenReal = realDraws(13);
    EXPECT_TRUE(std::holds_alternative<ZoneResult>(run(kBack, thirteenReal.back)));
    EXPECT_TRUE(std::holds_alternative<InsufficientHistory>(run(kFront, thirteenReal.front)));
    EXPECT_TRUE(std::holds_alternative<InsufficientHistory>(run(kFront, "")));
}

TEST(EngineZone, OddLengthsWorkOnWholeTokens) {
    const std::string text = fourteenFrontDraws();
    const ZoneResult whole = resultOf(run(kFront, text));
    // A stray last character is ignored.
    const ZoneResult stray = resultOf(run(kFront, text + "0"));
    EXPECT_EQ(stray.finalList.text, whole.finalList.text);
    EXPECT_EQ(stray.coldRecent.text, whole.coldRecent.text);
    // An extra whole token beyond the last draw counts: 06 then occurs twice.
    const ZoneResult extra = resultOf(run(kFront, text + "06"));
    EXPECT_EQ(tokenPosition(extra.coldAll.text, 6), 0);
    EXPECT_EQ(extra.coldAll.text, ascendingList(35).substr(12));
    // The draw count alone decides the minimum: 13 draws and 8 tokens are not enough.
    EXPECT_TRUE(
        std::holds_alternative<InsufficientHistory>(run(kFront, text.substr(0, 130) + "01020304")));
}

TEST(EngineZone, RecentWindowIsTheLastWindowOfTokens) {
    // 22 front draws: the oldest is 35 35 35 35 35, the last 21 hold 1..35 three
    // times except that one 35 became 01. Only the window (the last 105 tokens)
    // sees 35 as cold; over the whole history (110 tokens, threshold 3) it is not.
    std::string recent = ascendingList(35) + ascendingList(35) + ascendingList(35);
    recent.replace(recent.size() - 2, 2, "01");
    const ZoneResult r = resultOf(run(kFront, "3535353535" + recent));
    EXPECT_EQ(r.coldRecent.text, "35");
    EXPECT_EQ(r.coldAll.text, "");
    EXPECT_EQ(r.finalList.text, "");

    // An out-of-range token keeps its place in the window: with the last 35
    // replaced by 00 the window is still the last 105 tokens and holds 35 twice.
    std::string spoiled = ascendingList(35) + ascendingList(35) + ascendingList(35);
    spoiled.replace(spoiled.size() - 2, 2, "00");
    const ZoneResult w = resultOf(run(kFront, "3535353535" + spoiled));
    EXPECT_EQ(w.coldRecent.text, "35");
    EXPECT_EQ(w.coldAll.text, "");
}

TEST(EngineZone, SinkReceivesListsInOrderAndNothingOnShortHistory) {
    const ZoneTexts texts = realDraws(100);
    for (const ZoneRules* rules : {&kFront, &kBack}) {
        const std::string& text = rules == &kFront ? texts.front : texts.back;
        const Zone zone = rules == &kFront ? Zone::Front : Zone::Back;
        RecordingSink sink;
        const ZoneResult r = resultOf(computeZone(*rules, text, sink));
        ASSERT_EQ(sink.events.size(), 5u);
        const ResultLevel levels[] = {ResultLevel::Level2, ResultLevel::Level1,
                                      ResultLevel::Level3};
        const NumberList* lists[] = {&r.coldRecent, &r.strideVote, &r.coldAll};
        for (int i = 0; i < 3; ++i) {
            EXPECT_FALSE(sink.events[i].picks);
            EXPECT_EQ(sink.events[i].zone, zone);
            EXPECT_EQ(sink.events[i].level, levels[i]);
            EXPECT_EQ(sink.events[i].groups, lists[i]->groups);
        }
        EXPECT_TRUE(sink.events[3].picks);
        EXPECT_EQ(sink.events[3].zone, zone);
        EXPECT_EQ(sink.events[3].numbers, r.nextDrawPicks);
        EXPECT_FALSE(sink.events[4].picks);
        EXPECT_EQ(sink.events[4].zone, zone);
        EXPECT_EQ(sink.events[4].level, ResultLevel::Select);
        EXPECT_EQ(sink.events[4].groups, r.finalList.groups);

        RecordingSink quiet;
        int yields = 0;
        const std::string shortText = text.substr(
            0, static_cast<std::size_t>(rules->digitsPerDraw()) * (rules->minimumDraws() - 1));
        EXPECT_TRUE(std::holds_alternative<InsufficientHistory>(
            computeZone(*rules, shortText, quiet, [&] { ++yields; })));
        EXPECT_TRUE(quiet.events.empty());
        EXPECT_EQ(yields, 0);
    }
}

TEST(EngineZone, YieldsAtEveryStepAndHandsOverEachListWhenFinished) {
    int yields = 0;
    RecordingSink sink;
    sink.yieldCounter = &yields;
    computeZone(kFront, fourteenFrontDraws(), sink, [&] { ++yields; });
    ASSERT_EQ(sink.events.size(), 5u);
    // Stage 1: 35 numbers stepped over; each hand-over: one per group (5).
    EXPECT_EQ(sink.events[0].yieldsBefore, 35);
    // Stage 2: no pass, an empty vote.
    EXPECT_EQ(sink.events[1].yieldsBefore, 40);
    // Stage 3: 35 numbers.
    EXPECT_EQ(sink.events[2].yieldsBefore, 80);
    // Final vote: 35 numbers, then the one tier of 30 numbers.
    EXPECT_EQ(sink.events[3].yieldsBefore, 150);
    EXPECT_EQ(sink.events[4].yieldsBefore, 150);
    EXPECT_EQ(yields, 155);

    // With two stride passes: 210 tokens taken, 2 passes, 2 cold lists of 35
    // steps, and a vote of 35 steps between the first two hand-overs.
    yields = 0;
    RecordingSink strided;
    strided.yieldCounter = &yields;
    const ZoneResult r =
        resultOf(computeZone(kFront, realDraws(63).front, strided, [&] { ++yields; }));
    ASSERT_EQ(strided.events.size(), 5u);
    EXPECT_EQ(strided.events[1].yieldsBefore - strided.events[0].yieldsBefore,
              5 + 210 + 2 + 2 * 35 + 35);
    EXPECT_EQ(resultOf(run(kFront, realDraws(63).front)).finalList.text, r.finalList.text);
}

// ---- Real draws --------------------------------------------------------------------

namespace {

void expectWellFormed(const NumberList& list, const ZoneRules& rules, const std::string& what) {
    ASSERT_EQ(list.text.size() % 2, 0u) << what;
    std::set<int> seen;
    for (std::int32_t k = 1; k <= tokenCount(list.text); ++k) {
        const int v = tokenNumber(list.text, k, rules.poolSize);
        EXPECT_NE(v, 0) << what;
        EXPECT_TRUE(seen.insert(v).second) << what << " holds " << v << " twice";
    }
    ASSERT_EQ(list.groups.size(), static_cast<std::size_t>(rules.picksPerDraw)) << what;
    EXPECT_EQ(joined(list.groups), list.text) << what;
    EXPECT_EQ(list.groups, splitIntoGroups(list.text, rules.picksPerDraw)) << what;
}

int listsHolding(const ZoneResult& r, int v) {
    return (tokenPosition(r.coldRecent.text, v) != 0) + (tokenPosition(r.strideVote.text, v) != 0) +
           (tokenPosition(r.coldAll.text, v) != 0);
}

} // namespace

TEST(EngineRealDraws, ResultsHoldTheirPropertiesAtEveryLength) {
    for (std::size_t draws : {12u, 14u, 21u, 22u, 62u, 63u, 200u, 2796u}) {
        const ZoneTexts texts = realDraws(draws);
        ASSERT_EQ(texts.front.size(), draws * 10);
        for (const ZoneRules* rules : {&kFront, &kBack}) {
            const std::string& text = rules == &kFront ? texts.front : texts.back;
            const std::string what =
                std::to_string(draws) + (rules == &kFront ? " front" : " back");
            const ZoneOutcome outcome = run(*rules, text);
            if (static_cast<int>(draws) < rules->minimumDraws()) {
                EXPECT_TRUE(std::holds_alternative<InsufficientHistory>(outcome)) << what;
                continue;
            }
            const ZoneResult r = resultOf(outcome);
            expectWellFormed(r.coldRecent, *rules, what + " coldRecent");
            expectWellFormed(r.strideVote, *rules, what + " strideVote");
            expectWellFormed(r.coldAll, *rules, what + " coldAll");
            expectWellFormed(r.finalList, *rules, what + " finalList");

            // The final list holds exactly the numbers on two or three lists,
            // those on all three first.
            int previousVotes = 3;
            for (std::int32_t k = 1; k <= tokenCount(r.finalList.text); ++k) {
                const int votes =
                    listsHolding(r, tokenNumber(r.finalList.text, k, rules->poolSize));
                EXPECT_GE(votes, 2) << what;
                EXPECT_LE(votes, previousVotes) << what;
                previousVotes = votes;
            }
            for (int v = 1; v <= rules->poolSize; ++v) {
                if (listsHolding(r, v) >= 2) {
                    EXPECT_NE(tokenPosition(r.finalList.text, v), 0) << what << " " << v;
                }
            }

            ASSERT_EQ(r.nextDrawPicks.size(), static_cast<std::size_t>(rules->picksPerDraw))
                << what;
            EXPECT_TRUE(std::is_sorted(r.nextDrawPicks.begin(), r.nextDrawPicks.end())) << what;
            EXPECT_EQ(r.nextDrawPicks, picksFromList(r.finalList.text, *rules)) << what;

            // Short histories: the window is everything, and stride votes need 63 / 54 draws.
            const int windowDraws = rules->windowNumbers() / rules->picksPerDraw;
            if (static_cast<int>(draws) <= windowDraws) {
                EXPECT_EQ(r.coldRecent.text, r.coldAll.text) << what;
                EXPECT_EQ(r.finalList.text, r.coldAll.text) << what;
            }
            if (static_cast<int>(draws) < 3 * windowDraws) {
                EXPECT_EQ(r.strideVote.text, "") << what;
                std::string both;
                for (int v = 1; v <= rules->poolSize; ++v)
                    if (tokenPosition(r.coldRecent.text, v) && tokenPosition(r.coldAll.text, v))
                        both += token(v);
                std::string finalSorted;
                for (int v = 1; v <= rules->poolSize; ++v)
                    if (tokenPosition(r.finalList.text, v))
                        finalSorted += token(v);
                EXPECT_EQ(finalSorted, both) << what;
            }
            // A second run starts from nothing and gives the same result.
            const ZoneResult again = resultOf(run(*rules, text));
            EXPECT_EQ(again.finalList.text, r.finalList.text) << what;
            EXPECT_EQ(again.strideVote.text, r.strideVote.text) << what;
        }
    }
}

TEST(EngineRealDraws, FullHistoryMatchesTheLiteralStrideStage) {
    const ZoneTexts texts = realDraws(2796);
    ASSERT_EQ(texts.back.size(), 2796u * 4);
    const ZoneResult front = resultOf(run(kFront, texts.front));
    const ZoneResult back = resultOf(run(kBack, texts.back));
    EXPECT_EQ(front.strideVote.text, literalStrideVote(kFront, texts.front));
    EXPECT_EQ(back.strideVote.text, literalStrideVote(kBack, texts.back));
}
