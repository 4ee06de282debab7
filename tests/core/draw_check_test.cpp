// The one test of what a draw is, as the store, the import, the fetch and
// the prizes use it.
#include <gtest/gtest.h>

#include "core/draw_check.h"

using namespace dlt;

TEST(DrawCheck, ASoundDrawAndWhereOthersFail) {
    EXPECT_TRUE(isSoundDraw({"26001", "3501020304", "1201"}));
    EXPECT_EQ(drawFault({"26001", "3501020304", "1201"}), DrawFault::None);
    const struct {
        DrawRecord draw;
        DrawFault fault;
    } cases[] = {
        {{"2600", "0102030405", "0102"}, DrawFault::Issue},
        {{"26a01", "0102030405", "0102"}, DrawFault::Issue},
        {{"260011", "0102030405", "0102"}, DrawFault::Issue},
        {{"26001", "0001020304", "0102"}, DrawFault::Front}, // 00
        {{"26001", "0101020304", "0102"}, DrawFault::Front}, // 01 twice
        {{"26001", "3601020304", "0102"}, DrawFault::Front}, // 36
        {{"26001", "010203040", "0102"}, DrawFault::Front},  // nine digits
        {{"26001", "01-2030405", "0102"}, DrawFault::Front}, // not a digit
        {{"26001", "0102030405", "1301"}, DrawFault::Back},  // 13
        {{"26001", "0102030405", "0505"}, DrawFault::Back},  // 05 twice
        {{"26001", "0102030405", "010"}, DrawFault::Back},   // three digits
    };
    for (const auto& c : cases) {
        EXPECT_EQ(drawFault(c.draw), c.fault) << c.draw.issue << " " << c.draw.front;
        EXPECT_FALSE(isSoundDraw(c.draw)) << c.draw.issue << " " << c.draw.front;
    }
}

TEST(DrawCheck, IssuesAndDigitTexts) {
    EXPECT_TRUE(isIssue("07001"));
    EXPECT_FALSE(isIssue("7001"));
    EXPECT_FALSE(isIssue("-1234"));
    EXPECT_TRUE(isDigitText("0"));
    EXPECT_FALSE(isDigitText(""));
    EXPECT_FALSE(isDigitText("12 3"));
}

// The store keeps what the entry form accepted, digits or not, so long as
// every field has its width.
TEST(DrawCheck, WhatTheStoreCanHold) {
    EXPECT_FALSE(fitsRecord({"-1234", "99999999999", "9999"}));
    EXPECT_TRUE(fitsRecord({"-1234", "9999999999", "0000"}));
    EXPECT_FALSE(fitsRecord({"1234", "0102030405", "0102"}));
    EXPECT_FALSE(fitsRecord({"12345",
                             std::string("01020\0"
                                         "0405",
                                         10),
                             "0102"}));
}
