#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "history/draw_details_store.h"
#include "history/history_store.h"
#include "storage/file_io.h"
#include "storage/cipher.h"
#include "tests/support/temp_dir.h"

using namespace dlt;
namespace fs = std::filesystem;

namespace {

DrawDetails sevenTierDraw() {
    DrawDetails draw;
    draw.issue = "26107";
    draw.date = "2026-09-19";
    draw.poolBefore = 82'697'006'674;
    draw.poolAfter = 83'105'372'713;
    draw.sales = 31'350'818'500;
    draw.tiers = {{1, false, 2, 1'000'000'000}, {1, true, 0, std::nullopt},
                  {2, false, 71, 17'432'300},   {2, true, 12, 13'945'800},
                  {3, false, 995, 666'600},     {7, false, 1'234'567, 700}};
    return draw;
}

DrawDetails bareDraw(std::string issue) {
    DrawDetails draw;
    draw.issue = std::move(issue);
    return draw;
}

class DetailsStore : public ::testing::Test {
protected:
    TempDir dir;
    DrawDetailsStore store{dir.path()};
};

} // namespace

TEST_F(DetailsStore, KeepsEveryFieldInAReadableLineAndReadsItBack) {
    EXPECT_TRUE(store.load().empty()); // no file yet
    ASSERT_TRUE(store.merge({sevenTierDraw(), bareDraw("19019")}));

    EXPECT_EQ(store.filePath(), dir.path() / "kjxq.txt");
    const std::string text = fileBytes(store.filePath());
    EXPECT_NE(text.find("19019\t-\t-\t-\t-\n26107\t2026-09-19\t82697006674\t83105372713\t"
                        "31350818500\t1/0/2/1000000000\t1/1/0/-\t2/0/71/17432300\t"
                        "2/1/12/13945800\t3/0/995/666600\t7/0/1234567/700\n"),
              std::string::npos)
        << text;

    const auto kept = store.load();
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept.at("26107"), sevenTierDraw());
    EXPECT_EQ(kept.at("19019"), bareDraw("19019"));
}

TEST_F(DetailsStore, MergeReplacesTheSameIssueAndKeepsTheOthers) {
    ASSERT_TRUE(store.merge({sevenTierDraw(), bareDraw("26106")}));
    DrawDetails corrected = sevenTierDraw();
    corrected.tiers[1] = {1, true, 1, 800'000'000};
    ASSERT_TRUE(store.merge({corrected, bareDraw("26108"), bareDraw("2610")}));

    const auto kept = store.load();
    ASSERT_EQ(kept.size(), 3u); // "2610" is no issue
    EXPECT_EQ(kept.at("26107"), corrected);
    EXPECT_TRUE(kept.contains("26106"));
    EXPECT_TRUE(kept.contains("26108"));
    EXPECT_TRUE(store.merge({})); // nothing new: still a whole file
    EXPECT_EQ(store.load().size(), 3u);
}

TEST_F(DetailsStore, ALineThatDoesNotReadIsSkippedAndTheRestKept) {
    std::ofstream(store.filePath(), std::ios::binary)
        << "# a note\n"
           "26101\t2026-09-05\t100\t200\t300\t1/0/1/5000\r\n" // written on Windows
           "26102\t2026-09-06\t1,00\t200\t300\n"              // a comma in an amount
           "26103\t2026-09-08\t100\t200\t300\t1/0/-1/-\n"     // negative winners
           "26104\t2026-09-10\t100\t200\n"                    // too few fields
           "261O5\t2026-09-12\t100\t200\t300\n"               // a letter in the issue
           "26106\t2026-9-13\t100\t200\t300\n"                // a date of another shape
           "26107\t2026-09-15\t-\t-\t-\t10/0/1/5\n"           // no tier 10
           "26108\t2026-09-17\t-\t-\t-\t2/1/1/5";             // no line end at the end
    const auto kept = store.load();
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept.at("26101").tiers, (std::vector<TierPayout>{{1, false, 1, 5000}}));
    EXPECT_EQ(kept.at("26108").tiers, (std::vector<TierPayout>{{2, true, 1, 5}}));

    // The next change writes what read, and drops what did not.
    ASSERT_TRUE(store.merge({bareDraw("26109")}));
    EXPECT_EQ(store.load().size(), 3u);
    EXPECT_EQ(fileBytes(store.filePath()).find("261O5"), std::string::npos);
}

TEST_F(DetailsStore, TheFileIsItsOwnersOnlyAndLeavesNoTemporaryFile) {
    std::ofstream(dir.path() / "kjxq.txt.new123") << "left by a crash";
    ASSERT_TRUE(store.merge({sevenTierDraw()}));
    EXPECT_EQ(fs::status(store.filePath()).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"kjxq.txt"});
}

TEST_F(DetailsStore, AFileThatCannotBeReadIsNeitherReadNorReplaced) {
    fs::create_directory(store.filePath()); // something else stands at its name
    EXPECT_TRUE(store.load().empty());
    EXPECT_FALSE(store.merge({sevenTierDraw()}));
    EXPECT_TRUE(fs::is_directory(store.filePath()));

    DrawDetailsStore nowhere(dir.path() / "missing");
    EXPECT_FALSE(nowhere.merge({sevenTierDraw()}));
    EXPECT_FALSE(fs::exists(dir.path() / "missing"));
}

TEST_F(DetailsStore, TheLibrarysThreeFilesAreNeverTouched) {
    HistoryStore library(dir.path(), digestHex("0123456789"));
    ASSERT_TRUE(
        library.appendDraws({{"26106", "0102030405", "0607"}, {"26107", "0205071422", "0410"}}));
    std::vector<std::pair<fs::path, std::string>> before;
    std::vector<fs::file_time_type> times;
    for (const char* key : {"qh", "qq", "hq"}) {
        before.emplace_back(library.columnPath(key), fileBytes(library.columnPath(key)));
        times.push_back(fs::last_write_time(library.columnPath(key)));
    }

    ASSERT_TRUE(store.merge({sevenTierDraw()}));
    ASSERT_TRUE(store.merge({bareDraw("26106")}));

    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(fileBytes(before[i].first), before[i].second) << before[i].first;
        EXPECT_EQ(fs::last_write_time(before[i].first), times[i]) << before[i].first;
    }
    EXPECT_EQ(library.drawCount(), 2);
    // And removing the library leaves the details.
    ASSERT_TRUE(library.removeHistoryFiles());
    EXPECT_EQ(store.load().size(), 2u);
}

TEST_F(DetailsStore, AChangeWithoutTheFoldersLockOrItsRenameLeavesTheOldFileWhole) {
    ASSERT_TRUE(store.merge({bareDraw("26106")}));
    const std::string before = fileBytes(store.filePath());
    for (const FileCall refused : {FileCall::Lock, FileCall::Rename}) {
        setFileCallFilter([&](FileCall call, const fs::path&) { return call != refused; });
        EXPECT_FALSE(store.merge({sevenTierDraw()}));
        setFileCallFilter({});
        EXPECT_EQ(fileBytes(store.filePath()), before);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1)
            << "no temporary file is left";
    }
}
