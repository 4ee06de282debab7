#include <gtest/gtest.h>

#include "history/trend.h"

using namespace dlt;

namespace {

// Front column of a number (1..35) and back column (1..12).
int front(int v) {
    return v - 1;
}
int back(int v) {
    return TrendTable::kFrontColumns + v - 1;
}

TEST(Trend, CellsHoldTheDrawnNumbersAndTheOmissionsOfTheOthers) {
    // Newest first, as the store lists them.
    const TrendTable table = buildTrend({
        {"10004", "0102030405", "0102"},
        {"10003", "0106070809", "0304"},
        {"10002", "0102030405", "0102"},
        {"10001", "3534333231", "1211"},
    });
    ASSERT_EQ(table.draws(), 4);
    EXPECT_EQ(table.issues, (std::vector<std::string>{"10001", "10002", "10003", "10004"}));
    struct Case {
        int draw;
        int column;
        bool drawn;
        int omission;
    };
    const Case cases[] = {
        {0, front(35), true, 0},  {0, front(1), false, 1}, {1, front(1), true, 0},
        {2, front(2), false, 1},  {3, front(2), true, 0},  {3, front(35), false, 3},
        {3, front(10), false, 4}, {1, back(1), true, 0},   {3, back(12), false, 3},
        {2, back(4), true, 0},    {3, back(4), false, 1},
    };
    for (const Case& c : cases) {
        const TrendCell& cell = table.cell(c.draw, c.column);
        EXPECT_EQ(cell.drawn, c.drawn) << "draw " << c.draw << " column " << c.column;
        EXPECT_EQ(cell.omission, c.omission) << "draw " << c.draw << " column " << c.column;
        EXPECT_TRUE(cell.known);
    }
}

TEST(Trend, StatisticsOverTheWholeLibraryAndOverTheNewestDraws) {
    const TrendTable table = buildTrend({
        {"10006", "0102030405", "0102"},
        {"10005", "0102030405", "0102"},
        {"10004", "0607080910", "0304"},
        {"10003", "0102030405", "0102"},
        {"10002", "0607080910", "0304"},
        {"10001", "0607080910", "0304"},
    });
    const std::vector<NumberStatistics> all = trendStatistics(table, 0);
    ASSERT_EQ(all.size(), 47u);
    const NumberStatistics& one = all[front(1)];
    EXPECT_EQ(one.timesDrawn, 3);
    EXPECT_EQ(one.averageOmission, 3 / 4); // gaps 2, 1, 0, 0
    EXPECT_EQ(one.longestOmission, 2);
    EXPECT_EQ(one.currentOmission, 0);
    EXPECT_EQ(one.longestRun, 2);
    const NumberStatistics& six = all[front(6)];
    EXPECT_EQ(six.timesDrawn, 3);
    EXPECT_EQ(six.longestOmission, 2);
    EXPECT_EQ(six.currentOmission, 2);
    EXPECT_EQ(six.longestRun, 2);
    const NumberStatistics& never = all[back(12)];
    EXPECT_EQ(never.timesDrawn, 0);
    EXPECT_EQ(never.averageOmission, 6);
    EXPECT_EQ(never.longestOmission, 6);
    EXPECT_EQ(never.currentOmission, 6);

    // The newest three draws: omissions carried in from earlier draws still show.
    const std::vector<NumberStatistics> newest = trendStatistics(table, 3);
    EXPECT_EQ(newest[front(6)].timesDrawn, 1);
    EXPECT_EQ(newest[front(6)].longestRun, 1);
    EXPECT_EQ(newest[front(6)].longestOmission, 2);
    EXPECT_EQ(newest[back(12)].longestOmission, 6);
    EXPECT_EQ(newest[back(12)].averageOmission, 3);
}

TEST(Trend, AMissingFieldLeavesItsZoneUnknownAndOmissionsRunOn) {
    const TrendTable table = buildTrend({
        {"10003", "0102030405", "0102"},
        {"", "0102030405", ""},
        {"10001", "0102030405", "0102"},
    });
    EXPECT_EQ(table.issues[1], "");
    EXPECT_TRUE(table.cell(1, front(1)).known);
    EXPECT_TRUE(table.cell(1, front(1)).drawn);
    EXPECT_FALSE(table.cell(1, back(1)).known);
    EXPECT_FALSE(table.cell(1, back(1)).drawn);
    EXPECT_EQ(table.cell(2, back(3)).omission, 3);
}

TEST(Trend, NumbersOutsideThePoolAreNotDrawn) {
    const TrendTable table = buildTrend({{"10001", "0036990102", "1300"}});
    for (int c = 0; c < TrendTable::kColumns; ++c) {
        const bool expected = c == front(1) || c == front(2);
        EXPECT_EQ(table.cell(0, c).drawn, expected) << c;
    }
}

} // namespace
