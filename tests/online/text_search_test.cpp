#include <gtest/gtest.h>

#include "online/text_search.h"

using namespace dlt;

namespace {

// 亅 is 0x81 0x7C: its second byte is "|". 丒 is 0x81 0x45: its second byte is "E".
const std::string kBarInside = "\x81\x7C";
const std::string kEInside = "\x81\x45";

TEST(TextSearchTest, ForwardSearch) {
    struct Case {
        std::string text, what;
        int start;
        bool ignoreCase;
        int expected;
    };
    const Case cases[] = {
        {"a|b|c", "|", 1, true, 2},
        {"a|b|c", "|", 3, true, 4},
        {"a|b|c", "|", 5, true, -1},
        {"a|b|c", "|", 0, true, 2}, // a start below 1 searches from the beginning
        {"a|b|c", "|", -7, true, 2},
        {"xRedBalls", "redballs", 1, true, 2},
        {"xRedBalls", "redballs", 1, false, -1},
        {kBarInside + "|", "|", 1, true, 3}, // steps over the double-byte character
        {kEInside + "e", "e", 1, true, 3},   // a second byte never matches a letter
        {"ab" + kEInside, kEInside, 1, true, 3},
        {kEInside, "\x81\x65", 1, true, -1}, // double-byte characters do not fold
        {"abc", "", 1, true, -1},
        {"", "a", 1, true, -1},
        {"abc", "abcd", 1, true, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(findForward(c.text, c.what, c.start, c.ignoreCase), c.expected)
            << c.text << " / " << c.what << " from " << c.start;
}

TEST(TextSearchTest, BackwardSearchFindsOnlyMatchesEndingBeforeTheStart) {
    struct Case {
        std::string text, what;
        int start;
        int expected;
    };
    const Case cases[] = {
        {"_blank _blank redBalls", "_blank", 15, 8},
        {"_blank _blank redBalls", "_blank", 14, 8}, // ends at byte 13
        {"_blank _blank redBalls", "_blank", 13, 1}, // the second one does not end before 13
        {"_blank _blank redBalls", "_blank", 7, 1},
        {"_blank _blank redBalls", "_blank", 6, -1},
        {"_blank _blank", "_BLANK", 0, 8}, // a start below 1: the whole text
        {kBarInside + "|x", "|", 0, 3},
        {"no", "http://", 0, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(findBackward(c.text, c.what, c.start, true), c.expected)
            << c.text << " before " << c.start;
}

TEST(TextSearchTest, AWalkWithGrowingStartsFindsWhatEachBackwardSearchFinds) {
    // Markers between double-byte characters that hide "_" (0x81 0x5F) and
    // letters in their second bytes.
    const std::string text = "_blank\x81\x5F"
                             "blank x_BLANK\xB4\xF3_blank" +
                             kEInside + "_blank_blank";
    BackwardSearch walk(text, "_blank", true);
    for (int start = 1; start <= int(text.size()) + 2; ++start)
        EXPECT_EQ(walk.lastBefore(start), findBackward(text, "_blank", start, true))
            << "before " << start;
    // A smaller start than the last one starts the walk again.
    EXPECT_EQ(walk.lastBefore(8), findBackward(text, "_blank", 8, true));
    EXPECT_EQ(walk.lastBefore(0), findBackward(text, "_blank", 0, true));
}

TEST(TextSearchTest, MiddleLeadingIntegerAndBodyText) {
    EXPECT_EQ(middleText("abcdef", 2, 3), "bcd");
    EXPECT_EQ(middleText("abcdef", 5, 9), "ef");
    EXPECT_EQ(middleText("abcdef", 0, 3), "");
    EXPECT_EQ(middleText("abcdef", -22, 5), "");
    EXPECT_EQ(middleText("abcdef", 7, 1), "");

    EXPECT_EQ(leadingInteger("25128"), 25128);
    EXPECT_EQ(leadingInteger(" 07x"), 7);
    EXPECT_EQ(leadingInteger(""), 0);
    EXPECT_EQ(leadingInteger("ab"), 0);

    EXPECT_EQ(bodyText(std::string("ab\0cd", 5)), "ab");
    EXPECT_EQ(bodyText("abc"), "abc");
}

} // namespace
