// Parsing the two sources, and whole fetches against a real server on loopback.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <optional>
#include <span>
#include <thread>

#include "history/draw_text.h"
#include "history/library_text.h"
#include "storage/file_io.h"
#include "tests/support/local_server.h"
#include "online/http_get.h"
#include "online/past_draws.h"
#include "tests/online/online_fixtures.h"
#include "tests/support/temp_dir.h"
#include "online/site_server.h"

using namespace dlt;

namespace {

std::vector<DrawRecord> records(std::span<const DrawRecord> draws) {
    return {draws.begin(), draws.end()};
}

TEST(DrawFileTest, ReadsAtMost280EntriesOrEveryEntryOfAShorterFile) {
    ASSERT_GE(publishedDraws().size(), 400u);
    struct Case {
        std::size_t entries, expected;
    };
    for (const Case c : {Case{280, 280}, Case{281, 280}, Case{350, 280}, Case{279, 279},
                         Case{100, 100}, Case{1, 1}, Case{0, 0}}) {
        const auto draws = published(5, c.entries);
        const std::vector<DrawRecord> parsed = parseDrawFile(site::drawFileText(draws));
        EXPECT_EQ(parsed, records(draws.first(c.expected))) << c.entries << " entries";
    }
}

TEST(DrawFileTest, DoubleByteTextAroundTheEntriesIsNotTakenForBars) {
    // 亅 (0x81 0x7C) and 丒 (0x81 0x45) hide "|" and "E" in their second bytes.
    const std::string noise = "\x81\x7C\x81\x45\x81\x7C\xB4\xF3\xC0\xD6\xCD\xB8";
    const auto draws = published(0, 3);
    std::string text = noise + "\r\n";
    for (const DrawRecord& draw : draws)
        text += site::drawFileEntry(draw) + noise + "\r\n";
    EXPECT_EQ(parseDrawFile(text), records(draws));
}

TEST(DrawFileTest, EntriesThatAreNoWholeDrawAreLeftOut) {
    const DrawRecord& good = publishedDraws()[1];
    const std::string cases[] = {
        "|",                    // a junk page's lone bar
        "03 06 26 30 33|11 12", // the bar within the first 23 bytes: no issue
        site::drawFileEntry({"2512a", "0306263033", "1112"}),
        site::drawFileEntry({"25128", "0306263036", "1112"}), // front 36
        site::drawFileEntry({"25128", "0006263033", "1112"}), // front 00
        site::drawFileEntry({"25128", "0306263033", "1113"}), // back 13
        site::drawFileEntry({"25128", "0306263033", "11"}),   // one back number
    };
    for (const std::string& junk : cases) {
        EXPECT_EQ(parseDrawFile(junk + "\r\n" + site::drawFileEntry(good)),
                  std::vector<DrawRecord>{good})
            << junk;
        EXPECT_TRUE(parseDrawFile(junk).empty()) << junk;
    }
}

TEST(ResultsPageTest, GivesTheDrawsNewerThanTheDrawFilesNewest) {
    const std::string page = site::resultsPageHtml(published(0, 100));
    const std::string& latest = publishedDraws()[2].issue;
    EXPECT_EQ(parseResultsPage(page, latest), records(published(0, 2)));
    // Not greater: nothing, even though the page holds other draws.
    EXPECT_TRUE(parseResultsPage(page, publishedDraws()[0].issue).empty());
    EXPECT_TRUE(parseResultsPage(page, "99999").empty());
    // The stop mark is missing from the page: nothing.
    EXPECT_TRUE(parseResultsPage(page, publishedDraws()[150].issue).empty());
    EXPECT_TRUE(parseResultsPage(page, "").empty());
    EXPECT_TRUE(parseResultsPage("", latest).empty());
}

TEST(ResultsPageTest, ARowThatIsNoWholeDrawIsLeftOut) {
    std::vector<DrawRecord> rows = records(published(0, 5));
    rows[1].front = "0102030436";
    rows[2].issue = "2x001";
    const std::vector<DrawRecord> parsed =
        parseResultsPage(site::resultsPageHtml(rows), publishedDraws()[4].issue);
    EXPECT_EQ(parsed, (std::vector<DrawRecord>{rows[0], rows[3]}));
}

TEST(ResultsPageTest, MarkersIgnoreLetterCase) {
    std::string page = site::resultsPageHtml(published(0, 5));
    for (const auto& [from, to] :
         {std::pair{"redBalls", "REDBALLS"}, {"_blank", "_BLANK"}, {"<em>", "<EM>"}})
        for (auto at = page.find(from); at != std::string::npos; at = page.find(from, at))
            page.replace(at, std::string(from).size(), to);
    EXPECT_EQ(parseResultsPage(page, publishedDraws()[3].issue), records(published(0, 3)));
}

// A fetch from a loopback server whose draw file and page are set per test.
class FetchTest : public ::testing::Test {
protected:
    void SetUp() override {
        local_.server().Get("/soft/qvemtrod/kj.dll",
                            [this](const httplib::Request&, httplib::Response& response) {
                                serveOrMissing(response, drawFile_);
                            });
        local_.server().Get("/lottery/draw/list/1", [this](const httplib::Request& request,
                                                           httplib::Response& response) {
            pageQuery_ = request.get_param_value("type") + "," + request.get_param_value("num");
            serveOrMissing(response, page_);
        });
        local_.start();
    }

    FetchResult fetch() {
        return fetchPastDraws(store_, http_, local_.url("/soft/qvemtrod/kj.dll"),
                              local_.url("/lottery/draw/list/1?type=latest&num=100"), sink_,
                              messages_, cancel_);
    }

    void seedLibrary(std::span<const DrawRecord> newestFirst) {
        const HistoryColumns columns = columnsOf(records(newestFirst));
        ASSERT_TRUE(store_.replaceHistory(columns.issues, columns.fronts, columns.backs));
    }

    static std::string line(const DrawRecord& draw) {
        return historyListLine(draw.issue, draw.front, draw.back);
    }

    std::string doneMessage(int count) const {
        return "往期号码输入完成！共输入" + std::to_string(count) + "期号码。";
    }

    TempDir dir_;
    HistoryStore store_{dir_.path(), "0123456789abcdef0123456789abcdef"};
    LocalServer local_;
    CurlHttpGetter http_;
    RecordingSink sink_;
    RecordingMessages messages_;
    CancelFlag cancel_;
    std::optional<std::string> drawFile_, page_;
    std::string pageQuery_;
};

TEST_F(FetchTest, TwoNewerDrawsOnThePageGoOnTopOfTheDrawFilesDraws) {
    drawFile_ = site::drawFileText(published(2, 300));
    page_ = site::resultsPageHtml(published(0, 100));
    const FetchResult result = fetch();

    EXPECT_EQ(result.outcome, FetchOutcome::Replaced);
    EXPECT_EQ(result.drawCount, 282);
    EXPECT_EQ(pageQuery_, "latest,100");
    ASSERT_EQ(sink_.list.size(), 282u);
    EXPECT_EQ(sink_.list[0], line(publishedDraws()[0]));
    EXPECT_EQ(sink_.list[1], line(publishedDraws()[1]));
    EXPECT_EQ(sink_.list[2], line(publishedDraws()[2]));
    EXPECT_EQ(sink_.list[281], line(publishedDraws()[281]));

    // The library: oldest first, ending with the two newer draws, older first.
    EXPECT_EQ(store_.drawsNewestFirst(), records(published(0, 282)));
    const std::string issues = store_.loadColumn(columnKey::issue);
    EXPECT_EQ(issues.substr(issues.size() - 10),
              publishedDraws()[1].issue + publishedDraws()[0].issue);

    // The summary followed every draw and ends with the newest.
    ASSERT_EQ(sink_.summaries.size(), 282u);
    EXPECT_EQ(sink_.summaries[0].first, "号库数量:1    第" + publishedDraws()[2].issue + "期:");
    const DrawRecord& newest = publishedDraws()[0];
    EXPECT_EQ(sink_.summaries.back().first, "号库数量:282    第" + newest.issue + "期:");
    EXPECT_EQ(sink_.summaries.back().second,
              formatNumberGroups(newest.front) + "  " + formatNumberGroups(newest.back));

    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, doneMessage(282));
    EXPECT_EQ(messages_.shown[0].caption, "输入完成");
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Information);
}

TEST_F(FetchTest, APageWithoutNewerDrawsLeavesExactly280) {
    drawFile_ = site::drawFileText(published(0, 300));
    page_ = site::resultsPageHtml(published(0, 100));
    EXPECT_EQ(fetch().drawCount, 280);
    EXPECT_EQ(store_.drawsNewestFirst(), records(published(0, 280)));
    EXPECT_EQ(messages_.shown.at(0).text, doneMessage(280));
}

// The maker's file always lists 280 draws: a download with fewer, however
// draw-like, is not that file, and the library stays without a question.
TEST_F(FetchTest, ADownloadWithFewerDrawsThanTheFileListsIsNoDrawFile) {
    seedLibrary(published(0, 400));
    const auto before = readFile(store_.columnPath(columnKey::issue), 1u << 24).bytes;
    page_ = site::resultsPageHtml(published(0, 100));
    const std::string errorPage = "<html><body><p>\xB7\xFE\xCE\xF1\xC6\xF7\xC3\xA6</p>"
                                  "<pre>26095\xC6\xDA: 01 02 03 04 05|06 07</pre></body></html>";
    for (const std::string& file :
         {errorPage, site::drawFileText(published(0, 279)), site::drawFileText(published(0, 12))}) {
        drawFile_ = file;
        messages_.shown.clear();
        EXPECT_EQ(fetch().outcome, FetchOutcome::NothingFetched);
        EXPECT_EQ(readFile(store_.columnPath(columnKey::issue), 1u << 24).bytes, before);
        ASSERT_EQ(sink_.list.size(), 400u);
        EXPECT_EQ(sink_.list[0], line(publishedDraws()[0]));
        ASSERT_EQ(messages_.shown.size(), 1u) << "no question";
        EXPECT_EQ(messages_.shown[0].text, "未能获取往期号码，号库保持原样。");
    }
    // The error page's one line is taken for a draw by the parser alone.
    EXPECT_EQ(parseDrawFile(errorPage), (std::vector<DrawRecord>{{"26095", "0102030405", "0607"}}));
}

// A source listing the draws out of order, or one draw twice, is written in
// issue order with each issue once: the library is not reordered and gains
// no repeat.
TEST_F(FetchTest, DrawsAreWrittenInIssueOrderEachIssueOnce) {
    std::vector<DrawRecord> reversed = records(published(0, 280));
    std::reverse(reversed.begin(), reversed.end());
    seedLibrary(published(0, 280));
    const auto before = readFile(store_.columnPath(columnKey::front), 1u << 24).bytes;
    drawFile_ = site::drawFileText(reversed);
    EXPECT_EQ(fetch().outcome, FetchOutcome::Replaced);
    EXPECT_EQ(readFile(store_.columnPath(columnKey::front), 1u << 24).bytes, before);
    EXPECT_EQ(sink_.list.front(), line(publishedDraws()[0]));
    EXPECT_EQ(sink_.list.back(), line(publishedDraws()[279]));

    seedLibrary(published(0, 279));
    std::vector<DrawRecord> repeated = records(published(0, 300));
    repeated.insert(repeated.begin() + 6, repeated[5]);
    drawFile_ = site::drawFileText(repeated);
    messages_.shown.clear();
    const FetchResult result = fetch();
    EXPECT_EQ(result.outcome, FetchOutcome::Replaced);
    EXPECT_EQ(result.drawCount, 279);
    EXPECT_EQ(store_.drawsNewestFirst(), records(published(0, 279)));
    EXPECT_EQ(sink_.list.size(), 279u);
    EXPECT_EQ(messages_.shown.back().text, doneMessage(279));
}

// An issue given twice with different numbers is asked about, and Enter
// (No, the default) keeps the library.
TEST_F(FetchTest, AnIssueWithTwoSetsOfNumbersAsksAndEnterKeepsTheLibrary) {
    seedLibrary(published(0, 279)); // nothing of it would be dropped
    const auto before = readFile(store_.columnPath(columnKey::front), 1u << 24).bytes;
    std::vector<DrawRecord> conflicting = records(published(0, 300));
    DrawRecord other = conflicting[3];
    other.front = "0102030405";
    conflicting.insert(conflicting.begin() + 4, other);
    drawFile_ = site::drawFileText(conflicting);

    EXPECT_EQ(fetch().outcome, FetchOutcome::Kept);
    EXPECT_EQ(readFile(store_.columnPath(columnKey::front), 1u << 24).bytes, before);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(messages_.shown[0].text,
              "号库中现有279期号码，本次获取到279期号码。替换后保留其中279期，去掉0期，新增0期。\n"
              "获取到的号码中有1期出现两组不同的号码，只取先出现的一组：\n" +
                  line(conflicting[3]) + "  /  01 02 03 04 05  " + formatNumberGroups(other.back) +
                  "\n仍要替换号库吗？");
}

TEST_F(FetchTest, BothSourcesDownKeepTheLibraryAndSaySo) {
    seedLibrary(published(40, 3));
    page_ = site::resultsPageHtml(published(0, 100)); // no draw file: no stop mark either
    const auto before = readFile(store_.columnPath(columnKey::issue), 1u << 24).bytes;

    const FetchResult result = fetch();
    EXPECT_EQ(result.outcome, FetchOutcome::NothingFetched);
    EXPECT_EQ(readFile(store_.columnPath(columnKey::issue), 1u << 24).bytes, before);
    EXPECT_EQ(store_.drawsNewestFirst(), records(published(40, 3)));
    EXPECT_EQ(sink_.list,
              (std::vector<std::string>{line(publishedDraws()[40]), line(publishedDraws()[41]),
                                        line(publishedDraws()[42])}));
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "未能获取往期号码，号库保持原样。");
    EXPECT_EQ(messages_.shown[0].caption, "错误：");
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Stop);
}

TEST_F(FetchTest, ALibraryThatCannotBeWrittenKeepsTheOldFiles) {
    seedLibrary(published(40, 2));
    const auto issuesBefore = readFile(store_.columnPath(columnKey::issue), 1u << 24).bytes;
    // A folder in place of the back-numbers file: that file cannot be replaced.
    std::filesystem::remove(store_.columnPath(columnKey::back));
    std::filesystem::create_directory(store_.columnPath(columnKey::back));
    drawFile_ = site::drawFileText(published(0, 300));
    messages_.answers = {MessageAnswer::Yes};

    EXPECT_EQ(fetch().outcome, FetchOutcome::NotWritten);
    EXPECT_EQ(readFile(store_.columnPath(columnKey::issue), 1u << 24).bytes, issuesBefore);
    // The damaged library reads as draws without back numbers, which the
    // fetch would drop: it asks (Yes), then fails to write.
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(messages_.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(messages_.shown[1].text, "新的往期号码未能写入号库，号库保持原样。");
    EXPECT_EQ(messages_.shown[1].caption, "错误：");
}

TEST_F(FetchTest, AJunkPageWithALoneBarLeavesTheLibraryAlone) {
    seedLibrary(published(40, 3));
    const auto before = readFile(store_.columnPath(columnKey::issue), 1u << 24).bytes;
    drawFile_ = "|";
    page_ = "<html><body>|</body></html>";

    EXPECT_EQ(fetch().outcome, FetchOutcome::NothingFetched);
    EXPECT_EQ(readFile(store_.columnPath(columnKey::issue), 1u << 24).bytes, before);
    EXPECT_EQ(store_.drawsNewestFirst(), records(published(40, 3)));
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "未能获取往期号码，号库保持原样。");
}

std::string dropQuestion(int held, int fetched, int dropped) {
    return "号库中现有" + std::to_string(held) + "期号码，本次获取到" + std::to_string(fetched) +
           "期号码。替换后保留其中" + std::to_string(held - dropped) + "期，去掉" +
           std::to_string(dropped) + "期，新增" + std::to_string(fetched - held + dropped) +
           "期。\n仍要替换号库吗？";
}

TEST_F(FetchTest, DroppingDrawsOfTheLibraryAsksFirst) {
    struct Case {
        std::size_t first, count; // the library: published draws [first, first + count)
        int dropped;              // of the 280 newest that the draw file gives
    };
    for (const Case c : {Case{0, 400, 120}, Case{5, 280, 5}, Case{0, 100, 0}, Case{0, 280, 0}}) {
        SCOPED_TRACE(std::to_string(c.first) + "+" + std::to_string(c.count));
        ASSERT_TRUE(store_.removeHistoryFiles());
        seedLibrary(published(c.first, c.count));
        drawFile_ = site::drawFileText(published(0, 300));
        page_ = site::resultsPageHtml(published(0, 100));
        messages_.shown.clear();
        messages_.answers = {MessageAnswer::Yes};

        EXPECT_EQ(fetch().outcome, FetchOutcome::Replaced);
        EXPECT_EQ(store_.drawsNewestFirst(), records(published(0, 280)));
        ASSERT_EQ(messages_.shown.size(), c.dropped > 0 ? 2u : 1u);
        if (c.dropped > 0) {
            EXPECT_EQ(messages_.shown[0].text, dropQuestion(int(c.count), 280, c.dropped));
            EXPECT_EQ(messages_.shown[0].caption, "注意：");
            EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Question);
            EXPECT_EQ(messages_.shown[0].buttons, MessageButtons::YesNo);
        }
        EXPECT_EQ(messages_.shown.back().text, doneMessage(280));
    }
}

TEST_F(FetchTest, NoAtTheQuestionKeepsTheLibraryTheListAndTheSummary) {
    seedLibrary(published(0, 400));
    const auto before = readFile(store_.columnPath(columnKey::front), 1u << 24).bytes;
    drawFile_ = site::drawFileText(published(0, 300));
    messages_.answers = {MessageAnswer::No};

    const FetchResult result = fetch();
    EXPECT_EQ(result.outcome, FetchOutcome::Kept);
    EXPECT_EQ(result.drawCount, 400);
    EXPECT_EQ(readFile(store_.columnPath(columnKey::front), 1u << 24).bytes, before);
    ASSERT_EQ(sink_.list.size(), 400u);
    EXPECT_EQ(sink_.list[399], line(publishedDraws()[399]));
    const DrawRecord& newest = publishedDraws()[0];
    EXPECT_EQ(sink_.summaries.back().first, "号库数量:400    第" + newest.issue + "期:");
    ASSERT_EQ(messages_.shown.size(), 1u); // the question only
    EXPECT_EQ(messages_.shown[0].text, dropQuestion(400, 280, 120));
}

// Raises the flag at the n-th line the fetch shows.
class CancellingSink : public RecordingSink {
public:
    CancellingSink(CancelFlag& cancel, int atLine) : cancel_(cancel), atLine_(atLine) {}
    void insertLine(int position, const std::string& line) override {
        RecordingSink::insertLine(position, line);
        if (++lines_ == atLine_)
            cancel_.cancel();
    }

private:
    CancelFlag& cancel_;
    int atLine_;
    int lines_ = 0;
};

TEST_F(FetchTest, ACancelledFetchWritesNothingAndShowsTheLibraryAgain) {
    seedLibrary(published(40, 3));
    const auto before = readFile(store_.columnPath(columnKey::issue), 1u << 24).bytes;
    drawFile_ = site::drawFileText(published(2, 300));
    page_ = site::resultsPageHtml(published(0, 100));
    // Given up while the draw file's draws are shown, and while the page's are.
    for (const int atLine : {10, 281}) {
        SCOPED_TRACE(atLine);
        CancelFlag cancel;
        CancellingSink sink(cancel, atLine);
        messages_.shown.clear();
        const FetchResult result = fetchPastDraws(
            store_, http_, local_.url("/soft/qvemtrod/kj.dll"),
            local_.url("/lottery/draw/list/1?type=latest&num=100"), sink, messages_, cancel);
        EXPECT_EQ(result.outcome, FetchOutcome::Cancelled);
        EXPECT_EQ(readFile(store_.columnPath(columnKey::issue), 1u << 24).bytes, before);
        EXPECT_EQ(sink.list,
                  (std::vector<std::string>{line(publishedDraws()[40]), line(publishedDraws()[41]),
                                            line(publishedDraws()[42])}));
        EXPECT_TRUE(messages_.shown.empty());
    }
}

TEST_F(FetchTest, ACancelDuringASilentDownloadEndsTheFetchAtOnce) {
    seedLibrary(published(40, 3));
    std::atomic<bool> release{false};
    LocalServer silent;
    silent.server().Get(
        "/soft/qvemtrod/kj.dll", [&](const httplib::Request&, httplib::Response& response) {
            while (!release)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            response.set_content(site::drawFileText(published(0, 300)), "text/plain");
        });
    silent.start();
    std::thread user([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        cancel_.cancel();
    });
    const auto started = std::chrono::steady_clock::now();
    const FetchResult result = fetchPastDraws(
        store_, http_, silent.url("/soft/qvemtrod/kj.dll"),
        local_.url("/lottery/draw/list/1?type=latest&num=100"), sink_, messages_, cancel_);
    const auto took = std::chrono::steady_clock::now() - started;
    user.join();
    release = true;
    EXPECT_EQ(result.outcome, FetchOutcome::Cancelled);
    EXPECT_LT(took, std::chrono::milliseconds(700));
    EXPECT_EQ(store_.drawsNewestFirst(), records(published(40, 3)));
    EXPECT_TRUE(messages_.shown.empty());
}

} // namespace

namespace {

TEST(BundledSiteTest, TheMakersSiteGivesItsDrawFileAndTheNewerDrawsOfItsPage) {
    LocalServer local;
    site::serveFolder(local.server(), DLT_SITE_DIR);
    local.start();
    TempDir dir;
    const HistoryStore store(dir.path(), "0123456789abcdef0123456789abcdef");
    CurlHttpGetter http;
    RecordingSink sink;
    RecordingMessages messages;
    const FetchResult result = fetchPastDraws(store, http, local.url("/soft/qvemtrod/kj.dll"),
                                              local.url("/lottery/draw/list/1?type=latest&num=100"),
                                              sink, messages, CancelFlag{});
    // 280 of the draw file's draws, and the 30 newer ones of the page.
    EXPECT_EQ(result.outcome, FetchOutcome::Replaced);
    EXPECT_EQ(result.drawCount, 310);
    EXPECT_EQ(store.drawsNewestFirst(), records(published(0, 310)));
    // The version file begins with 禾澄大乐透荐号器v3.1 in GBK.
    EXPECT_EQ(httpGet(local.url("/soft/qvemtrod/bbxx.txt"))
                  .rfind("\xBA\xCC\xB3\xCE\xB4\xF3\xC0\xD6\xCD\xB8\xBC\xF6\xBA\xC5\xC6\xF7v3.1", 0),
              0u);
    EXPECT_FALSE(httpGet(local.url("/soft/qvemtrod/qvemtrod3.1.html")).empty());
    EXPECT_FALSE(httpGet(local.url("/")).empty());
    EXPECT_EQ(httpGet(local.url("/soft/qvemtrod/missing.txt")), "");
}

} // namespace
