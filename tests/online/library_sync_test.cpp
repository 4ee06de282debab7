// 同步最新开奖 against a real server on loopback.
#include <gtest/gtest.h>

#include <optional>
#include <span>

#include "storage/file_io.h"
#include "tests/support/local_server.h"
#include "online/http_get.h"
#include "online/library_sync.h"
#include "tests/online/online_fixtures.h"
#include "tests/support/temp_dir.h"

using namespace dlt;

namespace {

std::vector<DrawRecord> newestFirst(std::span<const DrawRecord> draws) {
    return {draws.begin(), draws.end()};
}

class LibrarySyncTest : public ::testing::Test {
protected:
    void SetUp() override {
        local_.server().Get("/soft/qvemtrod/kj.dll",
                            [this](const httplib::Request&, httplib::Response& r) {
                                serveOrMissing(r, drawFile_);
                            });
        local_.server().Get(
            "/lottery/draw/list/1",
            [this](const httplib::Request&, httplib::Response& r) { serveOrMissing(r, page_); });
        local_.start();
    }

    void seedLibrary(std::span<const DrawRecord> draws) {
        const std::vector<DrawRecord> records = newestFirst(draws);
        ASSERT_TRUE(store_.appendDraws({records.rbegin(), records.rend()}));
    }

    std::string historyBytes() const {
        std::string all;
        for (std::string_view key : {columnKey::issue, columnKey::front, columnKey::back})
            all += readFile(store_.columnPath(key), 1u << 24).bytes + "|";
        return all;
    }

    SyncResult sync(const CancelFlag& cancel = CancelFlag{}) {
        return syncLatestDraws(store_, http_, local_.url("/soft/qvemtrod/kj.dll"),
                               local_.url("/lottery/draw/list/1?type=latest&num=100"), messages_,
                               cancel);
    }

    TempDir dir_;
    HistoryStore store_{dir_.path(), "0123456789abcdef0123456789abcdef"};
    LocalServer local_;
    CurlHttpGetter http_;
    RecordingMessages messages_;
    std::optional<std::string> drawFile_, page_;
};

TEST_F(LibrarySyncTest, AddsOnlyTheNewerDrawsInOrderAndKeepsEveryOlderOne) {
    // The library holds 500 draws, far more than the sources list.
    seedLibrary(published(12, 500));
    drawFile_ = site::drawFileText(published(3, 300));
    page_ = site::resultsPageHtml(published(0, 100));
    const SyncResult result = sync();
    EXPECT_EQ(result.outcome, SyncOutcome::Added);
    EXPECT_EQ(result.added, 12);
    EXPECT_EQ(store_.drawsNewestFirst(), newestFirst(published(0, 512)));
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text,
              "同步完成：新增12期号码，最新一期为第" + publishedDraws()[0].issue + "期。");
    EXPECT_EQ(messages_.shown[0].caption, "成功：");
}

TEST_F(LibrarySyncTest, WithTheDrawFileDownThePageAddsWhatIsAboveTheLibrarysNewest) {
    seedLibrary(published(4, 50));
    page_ = site::resultsPageHtml(published(0, 100));
    EXPECT_EQ(sync().added, 4);
    EXPECT_EQ(store_.drawsNewestFirst(), newestFirst(published(0, 54)));
}

TEST_F(LibrarySyncTest, NothingChangesWhenUpToDateOrUnreachable) {
    struct Case {
        const char* name;
        std::optional<std::string> drawFile, page;
        SyncOutcome outcome;
        std::string message;
    };
    const Case cases[] = {
        {"up to date", site::drawFileText(published(0, 300)),
         site::resultsPageHtml(published(0, 100)), SyncOutcome::UpToDate,
         "号库已是最新，没有更新的开奖号码。"},
        {"only older draws", site::drawFileText(published(20, 300)), std::nullopt,
         SyncOutcome::UpToDate, "号库已是最新，没有更新的开奖号码。"},
        {"both sources down", std::nullopt, std::nullopt, SyncOutcome::Unreachable,
         "无法从开奖来源取得号码，号库没有改变。"},
        {"sources without draws", "no draws here", "<html></html>", SyncOutcome::Unreachable,
         "无法从开奖来源取得号码，号库没有改变。"},
    };
    seedLibrary(published(0, 30));
    const std::string before = historyBytes();
    for (const Case& c : cases) {
        drawFile_ = c.drawFile;
        page_ = c.page;
        messages_.shown.clear();
        EXPECT_EQ(sync().outcome, c.outcome) << c.name;
        ASSERT_EQ(messages_.shown.size(), 1u) << c.name;
        EXPECT_EQ(messages_.shown[0].text, c.message) << c.name;
        EXPECT_EQ(historyBytes(), before) << c.name;
    }
}

TEST_F(LibrarySyncTest, ALibraryThatCannotBeWrittenStaysAsItWas) {
    seedLibrary(published(5, 10));
    std::filesystem::remove(store_.columnPath(columnKey::back));
    std::filesystem::create_directory(store_.columnPath(columnKey::back));
    const std::string before = historyBytes();
    drawFile_ = site::drawFileText(published(0, 300));
    EXPECT_EQ(sync().outcome, SyncOutcome::NotWritten);
    EXPECT_EQ(messages_.shown.at(0).text, "新的往期号码未能写入号库，号库保持原样。");
    EXPECT_EQ(historyBytes(), before);
}

TEST_F(LibrarySyncTest, AGivenUpSyncAddsAndSaysNothing) {
    seedLibrary(published(12, 20));
    const std::string before = historyBytes();
    drawFile_ = site::drawFileText(published(3, 300));
    page_ = site::resultsPageHtml(published(0, 100));
    CancelFlag closed;
    closed.cancel();
    EXPECT_EQ(sync(closed).outcome, SyncOutcome::Cancelled);
    EXPECT_EQ(historyBytes(), before);
    EXPECT_TRUE(messages_.shown.empty());
}

} // namespace
