// The update check on version texts, with recording message boxes and an
// address opener, and the one download against a real server on loopback.
#include <gtest/gtest.h>

#include <atomic>

#include "tests/support/local_server.h"
#include "online/http_get.h"
#include "online/update_check.h"
#include "tests/online/online_fixtures.h"

using namespace dlt;

namespace {

// The version file is GBK: 禾澄大乐透荐号器 and 下载地址： in its bytes.
const std::string kName = "\xBA\xCC\xB3\xCE\xB4\xF3\xC0\xD6\xCD\xB8\xBC\xF6\xBA\xC5\xC6\xF7";
const std::string kAddressLabel = "\xCF\xC2\xD4\xD8\xB5\xD8\xD6\xB7\xA3\xBA";

std::string versionText(const std::string& version,
                        const std::string& address = "http://dl.example/v.zip") {
    return kName + "v" + version + "\r\n" + kAddressLabel + address;
}

TEST(AnnouncedVersionTest, ReadsExactlyThreeBytesAfterTheMarker) {
    struct Case {
        std::string text;
        float expected;
    };
    const Case cases[] = {
        {versionText("3.1"), 3.1f},       {versionText("3.2"), 3.2f},
        {versionText("3.10"), 3.1f},      {versionText("10.0"), 10.0f},
        {versionText("4"), 4.0f},         {kName + "V3.5", 3.5f}, // the marker ignores letter case
        {kName + "v 3.9", 3.0f},                                  // blank, 3, . : three bytes
        {kName + "vabc", 0.0f},           {kName + "v", 0.0f},
        {"3.9 without the marker", 0.0f}, {"", 0.0f},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(announcedVersion(c.text, "禾澄大乐透荐号器"), c.expected) << c.text;
}

TEST(DownloadAddressTest, OnlyAPlainWebAddressAtTheEndIsTaken) {
    EXPECT_EQ(downloadAddress("see http://a.example/ then http://b.example/x.zip"),
              "http://b.example/x.zip");
    EXPECT_EQ(downloadAddress("HTTP://b.example/x.zip"), "HTTP://b.example/x.zip");
    EXPECT_EQ(downloadAddress("no address here"), "");
    EXPECT_EQ(downloadAddress("http://b.example/x.zip\r\n"), "http://b.example/x.zip");
    EXPECT_EQ(downloadAddress("http://b.example/x.zip\r\nmore"), "");
    EXPECT_EQ(downloadAddress("http://b.example/\x01x"), "");
    EXPECT_EQ(downloadAddress("http://b.example/a b"), "");
    EXPECT_EQ(downloadAddress(""), "");
}

class UpdateCheckTest : public ::testing::Test {
protected:
    void SetUp() override { setProductIdentity(state_); }

    UpdateCheck check(const std::string& text) {
        UpdateCheck checker(state_, sites_, messages_, opener_);
        checker.keep(text);
        return checker;
    }

    ProcessState state_;
    SiteAddresses sites_{"http://maker.example", "http://results.example", {}};
    RecordingMessages messages_;
    RecordingOpener opener_;
};

TEST_F(UpdateCheckTest, ANewerVersionAsksAndYesOpensTheDownloadThenTheHomePage) {
    const std::string text = versionText("3.2");
    check(text).checkSilently();
    ASSERT_EQ(messages_.shown.size(), 1u);
    // Shown in the program's UTF-8.
    EXPECT_EQ(messages_.shown[0].text, "禾澄大乐透荐号器v3.2\r\n下载地址：http://dl.example/v.zip"
                                       "\r\n\r\n是否更新？");
    EXPECT_EQ(messages_.shown[0].caption, "检测到新版本：");
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(messages_.shown[0].buttons, MessageButtons::YesNoDefaultYes);
    EXPECT_EQ(opener_.opened,
              (std::vector<std::string>{"http://dl.example/v.zip", "http://maker.example/"}));
}

TEST_F(UpdateCheckTest, NoOpensNothing) {
    messages_.answers = {MessageAnswer::No};
    check(versionText("10.0")).checkForUpdatesManually();
    EXPECT_EQ(messages_.shown.size(), 1u);
    EXPECT_TRUE(opener_.opened.empty());
}

TEST_F(UpdateCheckTest, WithoutAPlainDownloadAddressOnlyTheHomePageOpens) {
    check(kName + "v3.2 no address").checkSilently();
    EXPECT_EQ(opener_.opened, (std::vector<std::string>{"http://maker.example/"}));
}

TEST_F(UpdateCheckTest, NothingNewerIsSilentAtStartUpAndSaidOnlyWhenAskedFor) {
    for (const std::string& text : {versionText("3.1"), versionText("3.10"), versionText("3.0"),
                                    std::string("no marker 9.9"), std::string()}) {
        messages_.shown.clear();
        UpdateCheck checker = check(text);
        checker.checkSilently();
        EXPECT_TRUE(messages_.shown.empty()) << text;
        checker.checkForUpdatesManually();
        ASSERT_EQ(messages_.shown.size(), 1u) << text;
        EXPECT_EQ(messages_.shown[0].text, "\"禾澄大乐透荐号器v3.1\" 已是最新版本，不需要升级。");
        EXPECT_EQ(messages_.shown[0].caption, "软件更新：");
        EXPECT_EQ(messages_.shown[0].buttons, MessageButtons::Ok);
        EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Information);
    }
    EXPECT_TRUE(opener_.opened.empty());
}

TEST_F(UpdateCheckTest, TheVersionFileIsDownloadedOnceAndTheMenuCheckAsksNoMore) {
    LocalServer local;
    std::atomic<int> requests{0};
    const std::string body = versionText("3.1", "http://127.0.0.1/soft/qvemtrod/qvemtrod3.1.html");
    local.server().Get("/soft/qvemtrod/bbxx.txt",
                       [&](const httplib::Request&, httplib::Response& response) {
                           ++requests;
                           response.set_content(body + std::string("\0tail", 5), "text/plain");
                       });
    local.start();
    sites_.maker = local.address();

    CurlHttpGetter http;
    UpdateCheck checker(state_, sites_, messages_, opener_);
    checker.download(http, CancelFlag{});
    EXPECT_EQ(checker.versionText(), body); // the text ends before its zero byte
    checker.checkSilently();
    checker.checkForUpdatesManually();
    checker.checkForUpdatesManually();
    EXPECT_EQ(requests, 1);
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(messages_.shown[0].text, messages_.shown[1].text);
}

TEST_F(UpdateCheckTest, AFailedDownloadKeepsAnEmptyText) {
    LocalServer local;
    local.start(); // answers 404 to everything
    sites_.maker = local.address();
    CurlHttpGetter http;
    UpdateCheck checker(state_, sites_, messages_, opener_);
    checker.download(http, CancelFlag{});
    EXPECT_EQ(checker.versionText(), "");
    checker.checkSilently();
    EXPECT_TRUE(messages_.shown.empty());
}

TEST(SitesTest, AddressesOnTheMakersSite) {
    ProcessState state;
    setProductIdentity(state);
    const SiteAddresses sites{"http://maker.example", "http://results.example", {}};
    EXPECT_EQ(drawFileUrl(sites, state), "http://maker.example/soft/qvemtrod/kj.dll");
    EXPECT_EQ(versionFileUrl(sites, state), "http://maker.example/soft/qvemtrod/bbxx.txt");
    EXPECT_EQ(productPageUrl(sites, state), "http://maker.example/soft/qvemtrod/qvemtrod3.1.html");
    EXPECT_EQ(makerHomeUrl(sites), "http://maker.example/");
    EXPECT_EQ(resultsPageUrl(sites),
              "http://results.example/lottery/draw/list/1?type=latest&num=100");
}

} // namespace
