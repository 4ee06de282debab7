// The import, export and check of the library over real files and the
// enciphered store.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "storage/cipher.h"
#include "storage/file_io.h"
#include "history/library_text.h"
#include "history/library_transfer.h"
#include "tests/online/online_fixtures.h"
#include "tests/support/temp_dir.h"

using namespace dlt;

namespace {

class LibraryTransferTest : public ::testing::Test {
protected:
    void storeOldestFirst(const std::vector<DrawRecord>& draws) {
        std::string issues, fronts, backs;
        for (const DrawRecord& d : draws) {
            issues += d.issue;
            fronts += d.front;
            backs += d.back;
        }
        ASSERT_TRUE(store_.replaceHistory(issues, fronts, backs));
    }
    std::vector<DrawRecord> libraryOldestFirst() const {
        const std::vector<DrawRecord> newest = store_.drawsNewestFirst();
        return {newest.rbegin(), newest.rend()};
    }
    std::string historyBytes() const {
        std::string all;
        for (std::string_view key : {columnKey::issue, columnKey::front, columnKey::back})
            all += readFile(store_.columnPath(key), 1u << 24).bytes + "|";
        return all;
    }
    std::filesystem::path writeFile(const std::string& bytes) {
        const std::filesystem::path path = dir_.path() / "import.txt";
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    ImportResult import(const std::string& bytes) {
        return importLibrary(store_, writeFile(bytes), messages_);
    }

    TempDir dir_;
    HistoryStore store_{dir_.path(), digestHex("transfer")};
    RecordingMessages messages_;
};

const DrawRecord kOld{"26001", "0102030405", "0102"};
const DrawRecord kOwn{"26002", "0506070809", "0304"};
const DrawRecord kTheirs{"26002", "0506070810", "0304"};
const DrawRecord kNew{"26003", "1112131415", "0506"};
const DrawRecord kNewer{"26004", "2122232425", "0708"};

// Newest first with an out-of-range line and a header.
const std::string kFile = "issue,front,back\n"
                          "26004,21 22 23 24 25,07 08\n"
                          "26003,11 12 13 14 15,05 06\n"
                          "26002,05 06 07 08 10,03 04\n"
                          "26001,01 02 03 04 05,01 02\n"
                          "26000,01 02 03 04 40,01 02\n";

TEST_F(LibraryTransferTest, TheSummaryTellsWhatTheFileHoldsBeforeAnythingIsWritten) {
    storeOldestFirst({kOld, kOwn});
    const std::string before = historyBytes();
    messages_.onShow = [&] { EXPECT_EQ(historyBytes(), before); };
    messages_.answers = {MessageAnswer::Cancel};
    EXPECT_EQ(import(kFile).outcome, ImportOutcome::Cancelled);
    ASSERT_EQ(messages_.shown.size(), 1u);
    const ShownMessage& asked = messages_.shown[0];
    EXPECT_EQ(asked.buttons, MessageButtons::MergeReplaceCancel);
    EXPECT_EQ(asked.caption, "注意：");
    EXPECT_EQ(asked.icon, MessageIcon::Question);
    const std::string expected =
        "文件中有4期号码，从第26001期到第26004期。\n"
        "识别为：UTF-8，逗号分隔，从新到旧。\n"
        "其中号库没有的新号码2期，号库已有且号码相同的1期，"
        "期号相同而号码不同的1期。\n"
        "第26002期：号库为 05 06 07 08 09  03 04，文件为 05 06 07 08 10  03 04\n"
        "跳过的行：1行。\n"
        "第6行：前区须为1至35之间互不相同的五个号码，26000,01 02 03 04 40,01 02\n"
        "\n"
        "合并：把新号码按期号加入号库，号库原有的号码（包括期号相同而号码不同的）"
        "不变。\n"
        "替换：号库改为文件中的号码。";
    EXPECT_EQ(asked.text, expected);
    EXPECT_EQ(historyBytes(), before);
}

TEST_F(LibraryTransferTest, MergeAddsTheNewDrawsAndKeepsTheLibrarysOwn) {
    storeOldestFirst({kOld, kOwn});
    const ImportResult result = import(kFile); // the default answer: 合并
    EXPECT_EQ(result.outcome, ImportOutcome::Merged);
    EXPECT_EQ(result.added, 2);
    EXPECT_EQ(libraryOldestFirst(), (std::vector<DrawRecord>{kOld, kOwn, kNew, kNewer}));
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(messages_.shown[1].text, "号库导入成功：新增2期号码，号库现有4期号码。");
    EXPECT_EQ(messages_.shown[1].caption, "成功：");
}

TEST_F(LibraryTransferTest, ReplaceMakesTheLibraryTheFilesDrawsAndSaysWhatItDrops) {
    storeOldestFirst({{"25001", "0102030405", "0102"}, kOld, kOwn});
    messages_.answers = {MessageAnswer::Replace};
    EXPECT_EQ(import(kFile).outcome, ImportOutcome::Replaced);
    EXPECT_EQ(libraryOldestFirst(), (std::vector<DrawRecord>{kOld, kTheirs, kNew, kNewer}));
    EXPECT_TRUE(messages_.shown[0].text.ends_with(
        "\n替换：号库改为文件中的号码，号库中文件没有的1期号码将被去掉。"));
    EXPECT_EQ(messages_.shown[1].text, "号库导入成功：共4期号码。");
}

TEST_F(LibraryTransferTest, WhatCannotBeMergedOrWrittenLeavesTheLibraryAsItWas) {
    struct Case {
        const char* name;
        std::string file;
        ImportOutcome outcome;
        std::string message;
        void (*damage)(const HistoryStore&);
        MessageAnswer answer = MessageAnswer::Merge;
    };
    const Case cases[] = {
        {"nothing new", "26001 01 02 03 04 05 01 02\n", ImportOutcome::NothingNew,
         "文件中没有号库缺少的号码，号库没有改变。", nullptr},
        {"no draw at all", "issue,front,back\n", ImportOutcome::NoDraws,
         "文件中没有号码，号库没有改变。", nullptr},
        {"columns out of step", kFile, ImportOutcome::OutOfStep,
         "号库的三列长短不一，无法合并，号库没有改变。请先用“检查号库”查看。",
         [](const HistoryStore& s) {
             // The back column keeps only one draw.
             ASSERT_TRUE(s.replaceHistory(s.loadColumn(columnKey::issue),
                                          s.loadColumn(columnKey::front), "0102"));
         }},
        {"a file that cannot be replaced", kFile, ImportOutcome::NotWritten,
         "号库写入失败，号库没有改变。",
         [](const HistoryStore& s) {
             std::filesystem::remove(s.columnPath(columnKey::back));
             std::filesystem::create_directory(s.columnPath(columnKey::back));
         },
         MessageAnswer::Replace},
    };
    for (const Case& c : cases) {
        TempDir dir;
        store_ = HistoryStore(dir.path(), digestHex("transfer"));
        storeOldestFirst({kOld, kOwn});
        if (c.damage)
            c.damage(store_);
        const std::string before = historyBytes();
        messages_.shown.clear();
        messages_.answers = {c.answer};
        EXPECT_EQ(import(c.file).outcome, c.outcome) << c.name;
        ASSERT_FALSE(messages_.shown.empty()) << c.name;
        EXPECT_EQ(messages_.shown.back().text, c.message) << c.name;
        EXPECT_EQ(historyBytes(), before) << c.name;
    }
}

TEST_F(LibraryTransferTest, AnUnreadableFileIsRefused) {
    EXPECT_EQ(importLibrary(store_, dir_.path() / "missing.csv", messages_).outcome,
              ImportOutcome::Unreadable);
    EXPECT_EQ(messages_.shown.at(0).text, "无法读取文件，号库没有改变。");
}

TEST_F(LibraryTransferTest, ExportThenImportGivesTheSameLibrary) {
    storeOldestFirst({kOld, kOwn, kNew});
    const std::filesystem::path file = dir_.path() / "export.txt";
    EXPECT_EQ(exportLibrary(store_, file, messages_), ExportOutcome::Exported);
    EXPECT_EQ(readFile(file, 1u << 20).bytes, libraryText(store_.drawsNewestFirst()));
    messages_.answers = {MessageAnswer::Replace};
    EXPECT_EQ(importLibrary(store_, file, messages_).outcome, ImportOutcome::Replaced);
    EXPECT_EQ(libraryOldestFirst(), (std::vector<DrawRecord>{kOld, kOwn, kNew}));
    EXPECT_EQ(exportLibrary(store_, dir_.path() / "missing" / "a.txt", messages_),
              ExportOutcome::NotWritten);
    EXPECT_EQ(messages_.shown.back().text, "无法写入文件，号库没有导出。");
}

TEST_F(LibraryTransferTest, TheCheckReportsAndChangesNothing) {
    storeOldestFirst({kOld, {"26004", "0102030436", "0102"}, {"26004", "0102030405", "0102"}});
    const std::string before = historyBytes();
    const LibraryCheck check = checkLibraryFiles(store_, messages_);
    EXPECT_EQ(check.findings.size(), 3u);
    EXPECT_EQ(historyBytes(), before);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].caption, "检查号库");
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(messages_.shown[0].text, "号库共3期，发现3处问题：\n"
                                       "第26004期前区号码超出1至35或有重复\n"
                                       "第26004期出现了2次\n"
                                       "缺少第26002期至第26003期\n"
                                       "检查不会改动号库。");
}

TEST_F(LibraryTransferTest, AGbkFilesSkippedLinesAreShownInTheProgramsTextCutToSixtyColumns) {
    storeOldestFirst({kOld});
    messages_.answers = {MessageAnswer::Cancel};
    // 第26002期 五个号码不全, then an issue and 40 Chinese characters, in GBK.
    const std::string file = "26001 01 02 03 04 05 01 02\n"
                             "\xB5\xDA"
                             "26002"
                             "\xC6\xDA \xCE\xE5\xB8\xF6\xBA\xC5\xC2\xEB"
                             "\xB2\xBB\xC8\xAB\n" +
                             [] {
                                 std::string line = "26003 ";
                                 for (int i = 0; i < 40; ++i)
                                     line += "\xBA\xC5"; // 号
                                 return line;
                             }() +
                             "\n";
    EXPECT_EQ(import(file).outcome, ImportOutcome::Cancelled);
    const std::string& summary = messages_.shown.at(0).text;
    EXPECT_NE(summary.find("识别为：GBK，"), std::string::npos) << summary;
    EXPECT_NE(summary.find("第2行：不是一期开奖号码，第26002期 五个号码不全\n"), std::string::npos)
        << summary;
    // Sixty columns: the issue and its space, then 27 characters of two.
    std::string cut = "26003 ";
    for (int i = 0; i < 27; ++i)
        cut += "号";
    EXPECT_NE(summary.find("第3行：不是一期开奖号码，" + cut + "...\n"), std::string::npos)
        << summary << summary;
}

} // namespace
