#include <gtest/gtest.h>

#include "history/draw_file.h"
#include "history/library_text.h"
#include "storage/cipher.h"
#include "storage/file_io.h"
#include "tests/support/temp_dir.h"
#include "tests/support/real_draws.h"

using namespace dlt;

namespace {

std::vector<DrawRecord> newestFirst(const DrawFileRead& read) {
    return {read.oldestFirst.rbegin(), read.oldestFirst.rend()};
}

TEST(LibraryText, ExportWritesOneDrawALineNewestFirst) {
    EXPECT_EQ(libraryText({{"25128", "0306263033", "1112"}, {"25127", "0405192829", "0508"}}),
              "25128 03 06 26 30 33 11 12\n25127 04 05 19 28 29 05 08\n");
    EXPECT_EQ(libraryText({}), "");
}

TEST(LibraryText, RealHistoryRoundTripsThroughTheStore) {
    // The data file has a date after each issue, newest first.
    const DrawFileRead file =
        parseDrawHistoryFile(readFile(DLT_DRAWS_FILE, std::uintmax_t{16} << 20).bytes);
    EXPECT_TRUE(file.skipped.empty());
    EXPECT_EQ(file.order, FileOrder::NewestFirst);
    ASSERT_EQ(file.oldestFirst.size(), 2930u) << fixture::realDrawsProblem();
    EXPECT_EQ(file.oldestFirst.back(), (DrawRecord{"26112", "0103051022", "0309"}));
    EXPECT_EQ(file.oldestFirst.front(), (DrawRecord{"07001", "2224293135", "0411"}));

    TempDir dir;
    const HistoryStore store(dir.path(), digestHex("round trip"));
    const HistoryColumns columns = columnsOf(newestFirst(file));
    ASSERT_TRUE(store.replaceHistory(columns.issues, columns.fronts, columns.backs));

    const std::string exported = libraryText(store.drawsNewestFirst());
    EXPECT_EQ(exported.substr(0, 27), "26112 01 03 05 10 22 03 09\n");
    const DrawFileRead back = parseDrawHistoryFile(exported);
    EXPECT_EQ(back.layout, FileLayout::Export);
    EXPECT_EQ(back.oldestFirst, file.oldestFirst);
    const HistoryColumns again = columnsOf(newestFirst(back));
    EXPECT_EQ(again.issues, store.loadColumn(columnKey::issue));
    EXPECT_EQ(again.fronts, store.loadColumn(columnKey::front));
    EXPECT_EQ(again.backs, store.loadColumn(columnKey::back));
}

TEST(LibraryText, ReadsDatesCommasBlankLinesAndWindowsLineEnds) {
    const std::vector<DrawRecord> expected{{"25127", "0405192829", "0508"},
                                           {"25128", "0306263033", "1112"}};
    const char* const texts[] = {
        "25128 03 06 26 30 33 11 12\n25127 04 05 19 28 29 05 08\n",
        "25128 2025-11-10 03 06 26 30 33 11 12\n25127 2025-11-08 04 05 19 28 29 05 08",
        "25128,03,06,26,30,33,11,12\n25127,04,05,19,28,29,05,08\n",
        "25128,2025-11-10,03,06,26,30,33,11,12\r\n25127, 2025/11/8, 4, 5, 19, 28, 29, 5, 8\r\n",
        "\xEF\xBB\xBF\n  \n25128\t03 06 26 30 33\t11 12\n\n25127 04 05 19 28 29 05 08\n\n",
    };
    for (const char* text : texts) {
        const DrawFileRead read = parseDrawHistoryFile(text);
        EXPECT_TRUE(read.skipped.empty()) << text;
        EXPECT_EQ(read.oldestFirst, expected) << text;
    }
}

} // namespace
