// The one place bytes change encoding.
#include <gtest/gtest.h>

#include "core/encoding.h"

using namespace dlt;

TEST(Encoding, GbkAndUtf8RoundTrip) {
    const std::string gbk = "\xB5\xDA"
                            "26112"
                            "\xC6\xDA"; // 第26112期
    EXPECT_EQ(gbkToUtf8(gbk), "第26112期");
    EXPECT_EQ(utf8ToGbk("第26112期"), gbk);
    EXPECT_EQ(utf8ToGbk("期🎲"), "\xC6\xDA?");
}

TEST(Encoding, DamagedGbkShowsWhatItCan) {
    // A lead byte cut off at the end, and a byte no GBK character starts with.
    EXPECT_EQ(gbkToUtf8("\xC6\xDA\x80"
                        "a\xB5"),
              "期\xEF\xBF\xBD"
              "a\xEF\xBF\xBD");
}

TEST(Encoding, StrictDecodingRefusesWhatIsNotInTheEncoding) {
    EXPECT_EQ(decodeStrictly("\xC6\xDA", "GB18030"), "期");
    EXPECT_EQ(decodeStrictly(std::string("\x1F\x67\x00\x00", 2), "UTF-16LE"), "期");
    EXPECT_FALSE(decodeStrictly("\xC6", "UTF-8"));
    EXPECT_FALSE(decodeStrictly("abc", "NO-SUCH-ENCODING"));
}
