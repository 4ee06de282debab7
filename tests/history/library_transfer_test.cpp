// The import, export and check of the library over real files and the
// enciphered store.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "core/texts.h"
#include "storage/cipher.h"
#include "storage/file_io.h"
#include "history/library_text.h"
#include "history/library_transfer.h"
#include "tests/online/online_fixtures.h"
#include "tests/support/temp_dir.h"

using namespace dlt;

namespace {

std::string asGbk(std::string_view text, TextEncoding) {
    return std::string(text);
}

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
        return importLibrary(store_, writeFile(bytes), messages_, asGbk);
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
    EXPECT_EQ(asked.caption, text::attentionCaption);
    EXPECT_EQ(asked.icon, MessageIcon::Question);
    const std::string expected =
        std::string(text::summaryFileHolds) + "4" + std::string(text::summaryRangeFrom) + "26001" +
        std::string(text::summaryRangeTo) + "26004" + std::string(text::summaryRangeEnd) + "\n" +
        std::string(text::summaryRecognised) + "UTF-8" + std::string(text::summaryListSeparator) +
        std::string(text::layoutCommas) + std::string(text::summaryListSeparator) +
        std::string(text::orderNewestFirst) + std::string(text::summaryEnd) + "\n" +
        std::string(text::summaryNew) + "2" + std::string(text::summarySame) + "1" +
        std::string(text::summaryConflicts) + "1" + std::string(text::summaryDrawsEnd) + "\n" +
        std::string(text::issuePrefix) + "26002" + std::string(text::conflictLibrary) +
        " 05 06 07 08 09  03 04" + std::string(text::conflictFile) + " 05 06 07 08 10  03 04\n" +
        std::string(text::summarySkipped) + "1" + std::string(text::summaryLines) + "\n" +
        std::string(text::lineNumberPrefix) + "6" + std::string(text::lineWord) +
        std::string(text::skipFront) + std::string(text::summaryListSeparator) +
        "26000,01 02 03 04 40,01 02\n\n" + std::string(text::choiceMerge) + "\n" +
        std::string(text::choiceReplace) + std::string(text::summaryEnd);
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
    EXPECT_EQ(messages_.shown[1].text, std::string(text::mergeDonePrefix) + "2" +
                                           std::string(text::mergeDoneMiddle) + "4" +
                                           std::string(text::drawsSuffix));
    EXPECT_EQ(messages_.shown[1].caption, text::successCaption);
}

TEST_F(LibraryTransferTest, ReplaceMakesTheLibraryTheFilesDrawsAndSaysWhatItDrops) {
    storeOldestFirst({{"25001", "0102030405", "0102"}, kOld, kOwn});
    messages_.answers = {MessageAnswer::Replace};
    EXPECT_EQ(import(kFile).outcome, ImportOutcome::Replaced);
    EXPECT_EQ(libraryOldestFirst(), (std::vector<DrawRecord>{kOld, kTheirs, kNew, kNewer}));
    EXPECT_TRUE(messages_.shown[0].text.ends_with(std::string(text::choiceReplaceDrops) + "1" +
                                                  std::string(text::choiceReplaceDropsEnd) +
                                                  std::string(text::summaryEnd)));
    EXPECT_EQ(messages_.shown[1].text,
              std::string(text::importDonePrefix) + "4" + std::string(text::drawsSuffix));
}

TEST_F(LibraryTransferTest, WhatCannotBeMergedOrWrittenLeavesTheLibraryAsItWas) {
    struct Case {
        const char* name;
        std::string file;
        ImportOutcome outcome;
        std::string_view message;
        void (*damage)(const HistoryStore&);
        MessageAnswer answer = MessageAnswer::Merge;
    };
    const Case cases[] = {
        {"nothing new", "26001 01 02 03 04 05 01 02\n", ImportOutcome::NothingNew,
         text::mergeNothingNew, nullptr},
        {"no draw at all", "issue,front,back\n", ImportOutcome::NoDraws, text::importEmpty,
         nullptr},
        {"columns out of step", kFile, ImportOutcome::OutOfStep, text::mergeOutOfStep,
         [](const HistoryStore& s) {
             // The back column keeps only one draw.
             ASSERT_TRUE(s.replaceHistory(s.loadColumn(columnKey::issue),
                                          s.loadColumn(columnKey::front), "0102"));
         }},
        {"a file that cannot be replaced", kFile, ImportOutcome::NotWritten,
         text::importWriteFailed,
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
    EXPECT_EQ(importLibrary(store_, dir_.path() / "missing.csv", messages_, asGbk).outcome,
              ImportOutcome::Unreadable);
    EXPECT_EQ(messages_.shown.at(0).text, text::importUnreadable);
}

TEST_F(LibraryTransferTest, ExportThenImportGivesTheSameLibrary) {
    storeOldestFirst({kOld, kOwn, kNew});
    const std::filesystem::path file = dir_.path() / "export.txt";
    EXPECT_EQ(exportLibrary(store_, file, messages_), ExportOutcome::Exported);
    EXPECT_EQ(readFile(file, 1u << 20).bytes, libraryText(store_.drawsNewestFirst()));
    messages_.answers = {MessageAnswer::Replace};
    EXPECT_EQ(importLibrary(store_, file, messages_, asGbk).outcome, ImportOutcome::Replaced);
    EXPECT_EQ(libraryOldestFirst(), (std::vector<DrawRecord>{kOld, kOwn, kNew}));
    EXPECT_EQ(exportLibrary(store_, dir_.path() / "missing" / "a.txt", messages_),
              ExportOutcome::NotWritten);
    EXPECT_EQ(messages_.shown.back().text, text::exportFailed);
}

TEST_F(LibraryTransferTest, TheCheckReportsAndChangesNothing) {
    storeOldestFirst({kOld, {"26004", "0102030436", "0102"}, {"26004", "0102030405", "0102"}});
    const std::string before = historyBytes();
    const LibraryCheck check = checkLibraryFiles(store_, messages_);
    EXPECT_EQ(check.findings.size(), 3u);
    EXPECT_EQ(historyBytes(), before);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].caption, text::checkCaption);
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(
        messages_.shown[0].text,
        std::string(text::checkCountPrefix) + "3" + std::string(text::checkFoundMiddle) + "3" +
            std::string(text::checkFoundSuffix) + "\n" + std::string(text::issuePrefix) + "26004" +
            std::string(text::checkFrontNumbers) + "\n" + std::string(text::issuePrefix) + "26004" +
            std::string(text::checkRepeatedMiddle) + "2" + std::string(text::checkRepeatedSuffix) +
            "\n" + std::string(text::checkGapPrefix) + "26002" + std::string(text::checkGapTo) +
            "26003" + std::string(text::issueSuffix) + "\n" +
            std::string(text::checkChangesNothing));
}

} // namespace
