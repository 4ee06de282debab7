#include <gtest/gtest.h>

#include <string>

#include "core/rules.h"

using namespace dlt;

TEST(Rules, KeySelectsFrontOnlyForQq) {
    EXPECT_EQ(&rulesForKey("qq"), &rulesFor(Zone::Front));
    for (const char* key : {"hq", "", "QQ", "qh", "qqq"})
        EXPECT_EQ(&rulesForKey(key), &rulesFor(Zone::Back)) << key;
}

TEST(Rules, MinimumHistoryCountsWholeDraws) {
    const ZoneRules& front = rulesFor(Zone::Front);
    const ZoneRules& back = rulesFor(Zone::Back);
    EXPECT_EQ(zoneDrawCount(front, std::string(139, '1')), 13);
    EXPECT_FALSE(hasEnoughHistory(front, std::string(139, '1')));
    EXPECT_TRUE(hasEnoughHistory(front, std::string(140, '1')));
    EXPECT_EQ(zoneDrawCount(back, std::string(44, '1')), 11);
    EXPECT_FALSE(hasEnoughHistory(back, std::string(44, '1')));
    EXPECT_TRUE(hasEnoughHistory(back, std::string(48, '1')));
    // 12 or 13 draws pass for the back zone only.
    EXPECT_FALSE(hasEnoughHistory(front, std::string(130, '1')));
    EXPECT_TRUE(hasEnoughHistory(back, std::string(52, '1')));
    EXPECT_EQ(zoneDrawCount(front, ""), 0);
}
