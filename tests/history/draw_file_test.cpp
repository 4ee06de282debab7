// Reading history files of every common layout, each from a small fixture
// written for the test.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <string>
#include <vector>

#include "history/draw_file.h"
#include "history/history_store.h"

using namespace dlt;

namespace {

// Three draws of 2026 and three of 2007, oldest first as the store keeps them.
const std::vector<DrawRecord> kRecent{{"26092", "1216192933", "0709"},
                                      {"26093", "0810222629", "0310"},
                                      {"26094", "0514151733", "0107"}};
const std::vector<DrawRecord> kFirstYear{{"07001", "0405111230", "0107"},
                                         {"07002", "0109213135", "0306"},
                                         {"07003", "0708142733", "0211"}};

// UTF-16LE with its byte order mark.
std::string utf16(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

struct Format {
    const char* name;
    std::string bytes;
    const std::vector<DrawRecord>* draws;
    FileLayout layout;
    FileOrder order;
    TextEncoding encoding;
};

std::vector<Format> formats() {
    return {
        {"CSV from pandas: header, index column, unpadded numbers",
         ",issue,date,red_1,red_2,red_3,red_4,red_5,blue_1,blue_2\n"
         "0,26094,2026-08-19,5,14,15,17,33,1,7\n"
         "1,26093,2026-08-17,8,10,22,26,29,3,10\n"
         "2,26092,2026-08-15,12,16,19,29,33,7,9\n",
         &kRecent, FileLayout::Commas, FileOrder::NewestFirst, TextEncoding::Utf8},
        {"quoted CSV with grouped numbers and a GBK header",
         "\"\xC6\xDA\xBA\xC5\",\"\xBF\xAA\xBD\xB1\xC8\xD5\xC6\xDA\","
         "\"\xC7\xB0\xC7\xF8\xBA\xC5\xC2\xEB\","
         "\"\xBA\xF3\xC7\xF8\xBA\xC5\xC2\xEB\",\"\xCF\xFA\xCA\xDB\xB6\xEE\"\r\n"
         "\"26094\",\"2026-08-19\",\"05,14,15,17,33\",\"01,07\",\"345,678,901\"\r\n"
         "\"26093\",\"2026-08-17\",\"08,10,22,26,29\",\"03,10\",\"339,102,554\"\r\n"
         "\"26092\",\"2026-08-15\",\"12,16,19,29,33\",\"07,09\",\"351,870,112\"\r\n",
         &kRecent, FileLayout::Commas, FileOrder::NewestFirst, TextEncoding::Gbk},
        {"results table copied as tab-separated text",
         "\xE6\x9C\x9F\xE5\x8F\xB7\t\xE5\xBC\x80\xE5\xA5\x96\xE6\x97\xA5\xE6\x9C\x9F\t"
         "\xE5\xBC\x80\xE5\xA5\x96\xE5\x8F\xB7\xE7\xA0\x81\t\t\xE4\xB8\x80\xE7\xAD\x89\xE5\xA5\x96"
         "\t"
         "\xE5\xA5\x96\xE6\xB1\xA0\n"
         "26094\t2026-08-19(\xE4\xB8\x89)\t05 14 15 17 33\t01 07\t3\t812,345,678.50\n"
         "26093\t2026-08-17(\xE4\xB8\x80)\t08 10 22 26 29\t03 10\t0\t802,113,004.00\n"
         "26092\t2026-08-15(\xE5\x85\xAD)\t12 16 19 29 33\t07 09\t12\t799,000,001.25\n",
         &kRecent, FileLayout::Tabs, FileOrder::NewestFirst, TextEncoding::Utf8},
        {"fixed-width text in UTF-16",
         utf16(u"Issue  Date        Front           Back\r\n"
               u"26094  2026-08-19  05 14 15 17 33  01 07\r\n"
               u"26093  2026-08-17  08 10 22 26 29  03 10\r\n"
               u"26092  2026-08-15  12 16 19 29 33  07 09\r\n"),
         &kRecent, FileLayout::Spaces, FileOrder::NewestFirst, TextEncoding::Utf16},
        {"JSON objects under a data key",
         "{\"code\":0,\"data\":[\n"
         "{\"lotteryDrawNum\":\"26094\",\"lotteryDrawTime\":\"2026-08-19\","
         "\"lotteryDrawResult\":\"05 14 15 17 33 01 07\",\"poolBalance\":\"812345678\"},\n"
         "{\"lotteryDrawNum\":\"26093\",\"lotteryDrawTime\":\"2026-08-17\","
         "\"lotteryDrawResult\":\"08 10 22 26 29 03 10\",\"poolBalance\":\"802113004\"},\n"
         "{\"lotteryDrawNum\":\"26092\",\"lotteryDrawTime\":\"2026-08-15\","
         "\"lotteryDrawResult\":\"12 16 19 29 33 07 09\",\"poolBalance\":\"799000001\"}]}\n",
         &kRecent, FileLayout::Json, FileOrder::NewestFirst, TextEncoding::Utf8},
        {"JSON objects with number arrays, keys in any order",
         "[{\"blue\":[7,9],\"red\":[12,16,19,29,33],\"date\":\"2026-08-15\",\"issue\":26092},"
         "{\"red\":[8,10,22,26,29],\"blue\":[3,10],\"issue\":26093},"
         "{\"issue\":\"26094\",\"\\u524d\\u533a\":\"05,14,15,17,33\",\"\\u540e\\u533a\":\"01,07\"}"
         "]",
         &kRecent, FileLayout::Json, FileOrder::OldestFirst, TextEncoding::Utf8},
        {"JSON arrays",
         "[[\"26094\",\"2026-08-19\",\"05\",\"14\",\"15\",\"17\",\"33\",\"01\",\"07\"],\n"
         " [\"26093\",\"2026-08-17\",\"08\",\"10\",\"22\",\"26\",\"29\",\"03\",\"10\"],\n"
         " [\"26092\",\"2026-08-15\",\"12\",\"16\",\"19\",\"29\",\"33\",\"07\",\"09\"]]\n",
         &kRecent, FileLayout::Json, FileOrder::NewestFirst, TextEncoding::Utf8},
        {"oldest first with + between the zones and a comment",
         "# draws of the 5+2 game\n"
         "26092 12 16 19 29 33 + 07 09\n"
         "26093 08 10 22 26 29 + 03 10\n"
         "26094 05 14 15 17 33 + 01 07\n",
         &kRecent, FileLayout::Spaces, FileOrder::OldestFirst, TextEncoding::Utf8},
        {"4-digit issues that lost their leading zero",
         "\xEF\xBB\xBFissue,date,numbers\n"
         "7003,2007/6/4,07 08 14 27 33|02 11\n"
         "7002,2007/6/2,01 09 21 31 35|03 06\n"
         "7001,2007/5/30,04 05 11 12 30|01 07\n",
         &kFirstYear, FileLayout::Commas, FileOrder::NewestFirst, TextEncoding::Utf8},
        {"7-digit issues with the full year",
         "qh;kjrq;q1;q2;q3;q4;q5;h1;h2\n"
         "2026094;20260819;05;14;15;17;33;01;07\n"
         "2026093;20260817;08;10;22;26;29;03;10\n"
         "2026092;20260815;12;16;19;29;33;07;09\n",
         &kRecent, FileLayout::Semicolons, FileOrder::NewestFirst, TextEncoding::Utf8},
        {"the program's own export",
         "26094 05 14 15 17 33 01 07\n26093 08 10 22 26 29 03 10\n26092 12 16 19 29 33 07 09\n",
         &kRecent, FileLayout::Export, FileOrder::NewestFirst, TextEncoding::Utf8},
        {"the program's own list lines in GBK",
         "\xB5\xDA"
         "26094\xC6\xDA 05 14 15 17 33  01 07\n"
         "\xB5\xDA"
         "26093\xC6\xDA 08 10 22 26 29  03 10\n"
         "\xB5\xDA"
         "26092\xC6\xDA 12 16 19 29 33  07 09\n",
         &kRecent, FileLayout::List, FileOrder::NewestFirst, TextEncoding::Gbk},
    };
}

TEST(HistoryFileReader, ReadsEveryLayoutOldestFirst) {
    for (const Format& format : formats()) {
        const DrawFileRead read = parseDrawHistoryFile(format.bytes);
        EXPECT_EQ(read.oldestFirst, *format.draws) << format.name;
        EXPECT_EQ(read.layout, format.layout) << format.name;
        EXPECT_EQ(read.order, format.order) << format.name;
        EXPECT_EQ(read.encoding, format.encoding) << format.name;
        EXPECT_TRUE(read.skipped.empty()) << format.name << ": line " << read.skipped[0].line;
    }
}

TEST(HistoryFileReader, ReadsTheLineFormsPeopleWrite) {
    struct Case {
        const char* line;
        DrawRecord draw;
    };
    const Case cases[] = {
        {"26094 2026-08-19 05 14 15 17 33 01 07", {"26094", "0514151733", "0107"}},
        {"25127, 2025/11/8, 4, 5, 19, 28, 29, 5, 8", {"25127", "0405192829", "0508"}},
        {"2911,26094,2026-08-19,5,14,15,17,33,1,7", {"26094", "0514151733", "0107"}},
        {"26094 0514151733 0107", {"26094", "0514151733", "0107"}},
        {"26094 33 05 17 14 15 07 01", {"26094", "0514151733", "0107"}},
        {"26094 03-06-26-30-33 11 12", {"26094", "0306263033", "1112"}},
        {"26094 2026-08-19T20:30:00 05 14 15 17 33 01 07", {"26094", "0514151733", "0107"}},
        {"26094\xE6\x9C\x9F: 05 14 15 17 33|01 07", {"26094", "0514151733", "0107"}},
        {"26094 2026\xE5\xB9\xB4"
         "8\xE6\x9C\x88"
         "19\xE6\x97\xA5 05 14 15 17 33 01 07",
         {"26094", "0514151733", "0107"}},
        {"26094 yesterday 05 14 15 17 33 01 07 09", {"26094", "0514151733", "0107"}},
    };
    for (const Case& c : cases) {
        const DrawFileRead read = parseDrawHistoryFile(c.line);
        EXPECT_EQ(read.oldestFirst, std::vector<DrawRecord>{c.draw}) << c.line;
    }
}

TEST(HistoryFileReader, SkipsWhatIsNotADrawWithTheLineAndReason) {
    const std::string file = "issue date numbers\n"                    // 1: header
                             "26094 2026-08-19 05 14 15 17 33 01 07\n" // 2
                             "26093 08 10 22 26 36 03 10\n"            // 3: front out of range
                             "26092 12 16 19 29 33 07 07\n"            // 4: back repeated
                             "total 3 draws\n"                         // 5: junk
                             "26091 01 02 03 04 05 01 02\n"            // 6: conflict with 9
                             "26094 2026-08-19 05 14 15 17 33 01 07\n" // 7: repeat of 2
                             "\n"                                      // 8
                             "26091 01 02 03 04 06 01 02\n"            // 9
                             "26090 04 04 10 11 12 01 02\n"            // 10: front repeated
                             "26089 25a27 04 05 19 28 29 05\n";        // 11: six numbers
    const DrawFileRead read = parseDrawHistoryFile(file);
    EXPECT_EQ(read.oldestFirst, (std::vector<DrawRecord>{{"26094", "0514151733", "0107"}}));
    EXPECT_EQ(read.ignoredLines, 1);
    struct Expected {
        int line;
        SkipReason reason;
    };
    const Expected expected[] = {{3, SkipReason::Front},    {4, SkipReason::Back},
                                 {5, SkipReason::NotADraw}, {6, SkipReason::Conflict},
                                 {7, SkipReason::Repeated}, {9, SkipReason::Conflict},
                                 {10, SkipReason::Front},   {11, SkipReason::NotADraw}};
    ASSERT_EQ(read.skipped.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(read.skipped[i].line, expected[i].line) << i;
        EXPECT_EQ(read.skipped[i].reason, expected[i].reason) << i;
    }
    EXPECT_EQ(read.skipped[2].text, "total 3 draws");
}

TEST(HistoryFileReader, AnyLineEndsAndBlankLines) {
    for (const char* text : {"26093 08 10 22 26 29 03 10\r26094 05 14 15 17 33 01 07\r",
                             "\n  \r\n26093 08 10 22 26 29 03 10\n\n26094 05 14 15 17 33 01 07",
                             "26094 05 14 15 17 33 01 07\r\n\r\n26093 08 10 22 26 29 03 10\r\n"}) {
        const DrawFileRead read = parseDrawHistoryFile(text);
        EXPECT_EQ(read.oldestFirst, std::vector<DrawRecord>(kRecent.begin() + 1, kRecent.end()))
            << text;
        EXPECT_TRUE(read.skipped.empty()) << text;
    }
}

TEST(HistoryFileReader, AFileWithoutDrawsGivesNone) {
    for (const char* text : {"", "\n\n", "issue,date,red\n", "hello 1 2 3\n", "[]", "{\"a\":[1,2]}",
                             "[{\"issue\":\"26094\",\"red\":[5,14,15,17,33]}]"}) {
        const DrawFileRead read = parseDrawHistoryFile(text);
        EXPECT_TRUE(read.oldestFirst.empty()) << text;
        EXPECT_EQ(read.layout, FileLayout::None) << text;
    }
}

TEST(HistoryFileReader, BrokenJsonIsReadLineByLine) {
    const DrawFileRead read =
        parseDrawHistoryFile("[{\"issue\":\"26094\",\"numbers\":\"05 14 15 17 33 01 07\"},\n"
                             "{\"issue\":\"26093\",\"numbers\":\"08 10 22 26 29 03 10\"");
    EXPECT_EQ(read.oldestFirst, std::vector<DrawRecord>(kRecent.begin() + 1, kRecent.end()));
}

TEST(HistoryFileReader, DeepJsonIsRefusedWithoutExhaustingTheStack) {
    const std::string deep(100000, '[');
    EXPECT_TRUE(parseDrawHistoryFile(deep).oldestFirst.empty());
}

} // namespace

namespace {

TEST(HistoryFileReader, EachDrawKeepsItsDateAsTheFileWritesIt) {
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {
        {"JSON records with a date key",
         "[{\"issue\":\"26093\",\"drawDate\":\"2026-08-17\",\"red\":\"08 10 22 26 29\","
         "\"blue\":\"03 10\"},\n"
         " {\"issue\":\"26094\",\"drawDate\":\"2026-08-19\",\"red\":\"05 14 15 17 33\","
         "\"blue\":\"01 07\"}]"},
        {"JSON arrays", "[[\"26094\",\"2026-08-19\",\"05\",\"14\",\"15\",\"17\",\"33\",\"01\","
                        "\"07\"],[\"26093\",\"2026-08-17\",8,10,22,26,29,3,10]]"},
        {"CSV", "issue,date,numbers\n26094,2026-08-19,05 14 15 17 33 01 07\n"
                "26093,2026-08-17,08 10 22 26 29 03 10\n"},
    };
    for (const auto& file : files) {
        const DrawFileRead read = parseDrawHistoryFile(file.bytes);
        EXPECT_EQ(read.oldestFirst, std::vector<DrawRecord>(kRecent.begin() + 1, kRecent.end()))
            << file.name;
        EXPECT_EQ(read.dates, (std::vector<std::string>{"2026-08-17", "2026-08-19"})) << file.name;
    }
    // A GBK file's date comes as UTF-8, like its skipped lines.
    const DrawFileRead gbk = parseDrawHistoryFile("26094 2026\xC4\xEA"
                                                  "8\xD4\xC2"
                                                  "19\xC8\xD5"
                                                  " 05 14 15 17 33 01 07\n\xB9\xB2 1\n");
    EXPECT_EQ(gbk.encoding, TextEncoding::Gbk);
    EXPECT_EQ(gbk.dates, std::vector<std::string>{"2026年8月19日"});
    ASSERT_EQ(gbk.skipped.size(), 1u);
    EXPECT_EQ(gbk.skipped[0].text, "共 1");
}

// One line as long as the import allows: the draw at its start is read,
// whatever follows; a raised flag gives the read up.
TEST(HistoryFileReader, OneLongLineIsReadAndCanBeGivenUp) {
    std::string line = "26094 2026-08-19 05 14 15 17 33 01 07";
    while (line.size() < (8u << 20))
        line += " 26093 2026-08-17 08 10 22 26 29 03 10";
    std::atomic<int> permille{0};
    const DrawFileRead read = parseDrawHistoryFile(line, {nullptr, &permille});
    EXPECT_EQ(read.oldestFirst, std::vector<DrawRecord>{kRecent.back()});
    EXPECT_EQ(permille.load(), 1000);
    EXPECT_FALSE(read.cancelled);

    CancelFlag cancel;
    cancel.cancel();
    const DrawFileRead givenUp = parseDrawHistoryFile(line, {&cancel, nullptr});
    EXPECT_TRUE(givenUp.cancelled);
    EXPECT_TRUE(givenUp.oldestFirst.empty());
}

} // namespace

namespace {

// The address space the process holds now, in bytes.
std::size_t addressSpace() {
    std::ifstream status("/proc/self/status");
    std::string key;
    std::size_t kilobytes = 0;
    while (status >> key) {
        if (key == "VmSize:" && status >> kilobytes)
            return kilobytes << 10;
        status.ignore(1 << 10, '\n');
    }
    return 0;
}

// A line of 64 MB, the import's limit, is read in memory that does not grow
// with the line's number of tokens: a child process reads it with 384 MB of
// address space to spare, where a list of the line's 16 million tokens would
// need gigabytes. Under AddressSanitizer, whose shadow memory needs the
// address space, the bound cannot be set.
TEST(HistoryFileReader, OneLineOfSixtyFourMegabytesReadsInBoundedMemory) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves the address space";
#else
    std::string line;
    line.reserve(64u << 20);
    while (line.size() + 64 < (64u << 20))
        line += "26094 2026-08-19 05 14 15 17 33 01 07 ";
    const std::size_t bound = addressSpace() + (384u << 20);
    ASSERT_GT(bound, 384u << 20);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit limit{bound, bound};
        if (setrlimit(RLIMIT_AS, &limit) != 0)
            _exit(2);
        try {
            const DrawFileRead read = parseDrawHistoryFile(line);
            _exit(read.oldestFirst == std::vector<DrawRecord>{kRecent.back()} ? 0 : 3);
        } catch (...) {
            _exit(4); // out of memory
        }
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
#endif
}

} // namespace
