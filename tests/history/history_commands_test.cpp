// The acceptance rule of typed draws and the summary lines.
#include <gtest/gtest.h>

#include "history/history_commands.h"
#include "tests/support/temp_dir.h"

using namespace dlt;

namespace {

TEST(AcceptDraw, OnlyTheLengthsDecide) {
    struct Case {
        const char* issue;
        const char* numbers;
        bool accepted;
    };
    const Case cases[] = {
        {"25001", "01020304050607", true},
        {"25001", "00000000000000", true},
        {"-1234", "99020304050607", true},
        {"25001", "0102030405060", false},
        {"2500", "01020304050607", false},
        {"250011", "01020304050607", false},
        {"", "", false},
        {"25001", "010203040506070", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.issue) + " " + c.numbers);
        const std::optional<DrawRecord> draw = acceptDraw(c.issue, c.numbers);
        ASSERT_EQ(draw.has_value(), c.accepted);
        if (draw) {
            const std::string numbers = c.numbers;
            EXPECT_EQ(*draw, (DrawRecord{c.issue, numbers.substr(0, 10), numbers.substr(10)}));
        }
    }
}

TEST(HistorySummary, CountNewestIssueAndNumbers) {
    TempDir dir;
    const HistoryStore store(dir.path(), std::string(32, 'A'));
    SummaryLines empty = historySummary(store);
    EXPECT_EQ(empty.count, "号库数量:0    第期:");
    EXPECT_EQ(empty.numbers, "  ");

    ASSERT_TRUE(store.appendDraw({"15060", "0911151719", "0102"}));
    ASSERT_TRUE(store.appendDraw({"15061", "0102030405", "0607"}));
    int yields = 0;
    const SummaryLines two = historySummary(store, [&] { ++yields; });
    EXPECT_EQ(two.count, "号库数量:2    第15061期:");
    EXPECT_EQ(two.numbers, "01 02 03 04 05  06 07");
    EXPECT_EQ(yields, 7) << "one yield after each number group";
}

} // namespace
