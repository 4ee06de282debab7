#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "storage/cipher.h"
#include "history/library_text.h"
#include "tests/core/temp_dir.h"
#include "tests/real_draws.h"

using namespace dlt;

namespace {


TEST(LibraryText, ExportWritesOneDrawALineNewestFirst) {
    EXPECT_EQ(libraryText({{"25128", "0306263033", "1112"}, {"25127", "0405192829", "0508"}}),
              "25128 03 06 26 30 33 11 12\n25127 04 05 19 28 29 05 08\n");
    EXPECT_EQ(libraryText({}), "");
}

TEST(LibraryText, RealHistoryRoundTripsThroughTheStore) {
    // The data file has a date after each issue; the import reads it.
    const LibraryImport& file = fixture::realDrawsFile();
    ASSERT_EQ(file.newestFirst.size(), 2912u) << fixture::realDrawsProblem();
    EXPECT_EQ(file.newestFirst.front(), (DrawRecord{"26094", "0514151733", "0107"}));
    EXPECT_EQ(file.dates.front(), "2026-08-19");
    EXPECT_EQ(file.newestFirst.back(), (DrawRecord{"07001", "2224293135", "0411"}));

    TempDir dir;
    const HistoryStore store(dir.path(), digestHex("round trip"));
    const HistoryColumns columns = columnsOf(file.newestFirst);
    ASSERT_TRUE(store.replaceHistory(columns.issues, columns.fronts, columns.backs));

    const std::string exported = libraryText(store.drawsNewestFirst());
    EXPECT_EQ(exported.substr(0, 27), "26094 05 14 15 17 33 01 07\n");
    const LibraryImport back = parseLibraryText(exported);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.newestFirst, file.newestFirst);
    const HistoryColumns again = columnsOf(back.newestFirst);
    EXPECT_EQ(again.issues, store.loadColumn(columnKey::issue));
    EXPECT_EQ(again.fronts, store.loadColumn(columnKey::front));
    EXPECT_EQ(again.backs, store.loadColumn(columnKey::back));
}

TEST(LibraryText, ReadsDatesCommasBlankLinesAndWindowsLineEnds) {
    const DrawRecord newest{"25128", "0306263033", "1112"};
    const DrawRecord older{"25127", "0405192829", "0508"};
    const char* const texts[] = {
        "25128 03 06 26 30 33 11 12\n25127 04 05 19 28 29 05 08\n",
        "25128 2025-11-10 03 06 26 30 33 11 12\n25127 2025-11-08 04 05 19 28 29 05 08",
        "25128,03,06,26,30,33,11,12\n25127,04,05,19,28,29,05,08\n",
        "25128,2025-11-10,03,06,26,30,33,11,12\r\n25127, 2025/11/8, 4, 5, 19, 28, 29, 5, 8\r\n",
        "\xEF\xBB\xBF\n  \n25128\t03 06 26 30 33\t11 12\n\n25127 04 05 19 28 29 05 08\n\n",
    };
    for (const char* text : texts) {
        const LibraryImport read = parseLibraryText(text);
        EXPECT_TRUE(read.ok()) << text << " line " << read.badLine;
        EXPECT_EQ(read.newestFirst, (std::vector<DrawRecord>{newest, older})) << text;
    }
}

TEST(LibraryText, ReportsTheFirstBadLineWithItsNumberAndContent) {
    const std::string good = "25128 03 06 26 30 33 11 12\n";
    struct Case {
        std::string line;
        LineProblem problem;
    };
    const Case cases[] = {
        {"25127 04 05 19 28 29 05", LineProblem::Fields},
        {"25127 04 05 19 28 29 05 08 09", LineProblem::Fields},
        {"25127 yesterday 04 05 19 28 29 05 08", LineProblem::Fields},
        {"25127 2025-13-08 04 05 19 28 29 05 08", LineProblem::Fields},
        {"2512 04 05 19 28 29 05 08", LineProblem::Issue},
        {"25a27 04 05 19 28 29 05 08", LineProblem::Issue},
        {"25127 04 05 19 28 36 05 08", LineProblem::Front},
        {"25127 00 05 19 28 29 05 08", LineProblem::Front},
        {"25127 04 05 19 28 04 05 08", LineProblem::Front},
        {"25127 04 05 19 28 2x 05 08", LineProblem::Front},
        {"25127 04 05 19 28 29 13 08", LineProblem::Back},
        {"25127 04 05 19 28 29 05 05", LineProblem::Back},
        {"25128 04 05 19 28 29 05 08", LineProblem::Order},
        {"25129 04 05 19 28 29 05 08", LineProblem::Order},
    };
    for (const Case& c : cases) {
        const LibraryImport read =
            parseLibraryText(good + "\n" + c.line + "\n25001 01 02 03 04 05 01 02\n");
        EXPECT_FALSE(read.ok()) << c.line;
        EXPECT_EQ(read.badLine, 3) << c.line;
        EXPECT_EQ(read.badText, c.line);
        EXPECT_EQ(read.problem, c.problem) << c.line;
        EXPECT_TRUE(read.newestFirst.empty());
    }
}

TEST(LibraryText, AnEmptyFileHoldsNoDraws) {
    for (const char* text : {"", "\n\n", "  \r\n"}) {
        const LibraryImport read = parseLibraryText(text);
        EXPECT_TRUE(read.ok());
        EXPECT_TRUE(read.newestFirst.empty());
    }
}

} // namespace
