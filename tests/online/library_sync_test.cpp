// 同步最新开奖 and 补全开奖详情 against a stand-in of the official results
// service, and the fetch's two sources, on loopback.
#include <gtest/gtest.h>

#include <optional>
#include <span>
#include <thread>

#include "core/texts.h"
#include "online/http_get.h"
#include "online/library_sync.h"
#include "storage/file_io.h"
#include "tests/online/online_fixtures.h"
#include "tests/support/local_server.h"
#include "tests/support/official_stand_in.h"
#include "tests/support/temp_dir.h"

using namespace dlt;
using namespace std::chrono_literals;

namespace {

std::vector<DrawRecord> draws(std::span<const DrawRecord> span) {
    return {span.begin(), span.end()};
}

// A draw page of the fetch's results site that is no such page: an error
// page holding one line shaped like a draw.
const std::string kFakeDrawPage = "<html>26095期: 01 02 03 04 05|06 07</html>";

class LibrarySyncTest : public ::testing::Test {
protected:
    void SetUp() override {
        others_.server().Get("/soft/qvemtrod/kj.dll",
                             [this](const httplib::Request&, httplib::Response& r) {
                                 ++otherRequests_;
                                 serveOrMissing(r, drawFile_);
                             });
        others_.server().Get("/lottery/draw/list/1",
                             [this](const httplib::Request&, httplib::Response& r) {
                                 ++otherRequests_;
                                 serveOrMissing(r, page_);
                             });
        others_.start();
        options_.pause = 0ms;
        options_.refusalWaits = {1ms, 1ms, 1ms};
    }

    void seedLibrary(std::span<const DrawRecord> newestFirst) {
        const std::vector<DrawRecord> records = draws(newestFirst);
        ASSERT_TRUE(store_.appendDraws({records.rbegin(), records.rend()}));
    }

    // The library's three files, byte for byte.
    std::string libraryBytes() const {
        std::string all;
        for (std::string_view key : {columnKey::issue, columnKey::front, columnKey::back})
            all += readFile(store_.columnPath(key), 1u << 24).bytes + "|";
        return all;
    }
    // And the details file.
    std::string filesBytes() const {
        return libraryBytes() + readFile(details_.filePath(), 1u << 26).bytes;
    }

    SyncResult sync() {
        return syncLatestDraws(store_, details_, http_,
                               {service_.address(), others_.url("/soft/qvemtrod/kj.dll"),
                                others_.url("/lottery/draw/list/1?type=latest&num=100"), options_},
                               messages_, progress_, cancel_);
    }

    // The only message, in UTF-8.
    std::string message() const {
        EXPECT_EQ(messages_.shown.size(), 1u);
        return messages_.shown.empty() ? "" : messages_.shown.back().text;
    }

    TempDir dir_;
    HistoryStore store_{dir_.path(), "0123456789abcdef0123456789abcdef"};
    DrawDetailsStore details_{dir_.path()};
    OfficialStandIn service_{draws(publishedDraws())};
    LocalServer others_;
    std::optional<std::string> drawFile_, page_;
    std::atomic<int> otherRequests_{0};
    CurlHttpGetter http_{HttpLimits{1000ms, 1000ms, std::size_t(8) << 20}};
    OfficialReadOptions options_;
    RecordingMessages messages_;
    std::vector<std::string> progressLines_;
    ProgressHook progress_ = [this](const std::string& line) { progressLines_.push_back(line); };
    CancelFlag cancel_;
};

TEST_F(LibrarySyncTest, ReadsPagesBackToTheNewestHeldDrawAndKeepsWhatEachPaid) {
    seedLibrary(published(250, 400));
    const SyncResult result = sync();
    EXPECT_EQ(result.outcome, SyncOutcome::Added);
    EXPECT_EQ(result.source, SyncSource::Official);
    EXPECT_EQ(store_.drawsNewestFirst(), draws(published(0, 650)));
    // Pages of 100 until the one that holds the newest held draw.
    EXPECT_EQ(service_.pagesAsked(), (std::vector<int>{1, 2, 3}));
    const httplib::Headers headers = service_.firstHeaders();
    EXPECT_EQ(headers.find("Referer")->second, "https://static.sporttery.cn/");
    EXPECT_EQ(headers.find("User-Agent")->second.rfind("Mozilla/5.0 (", 0), 0u);
    EXPECT_EQ(message(), "同步完成：从官方开奖服务新增250期号码，最新一期为第26112期"
                         "（2026-09-30开奖）。\n保存了300期的开奖详情。");
    EXPECT_EQ(messages_.shown[0].caption, text::successCaption);

    // The added draws and the held ones the pages gave, with their money.
    const std::map<std::string, DrawDetails> kept = details_.load();
    EXPECT_EQ(kept.size(), 300u);
    const DrawDetails& newest = kept.at("26112");
    EXPECT_EQ(newest.date, "2026-09-30");
    EXPECT_EQ(newest.poolBefore, standin::poolFen(publishedDraws()[0]));
    EXPECT_EQ(newest.poolAfter, standin::poolFen(publishedDraws()[0]) + 432100);
    EXPECT_EQ(newest.sales, Fen(300'026'112) * 100);
    ASSERT_EQ(newest.tiers.size(), 9u);
    EXPECT_EQ(newest.tiers[0], (TierPayout{1, false, 2, Fen(987654300)}));
    EXPECT_EQ(newest.tiers[1], (TierPayout{1, true, 0, std::nullopt})); // "---" and "-1"
    EXPECT_EQ(newest.tiers[4], (TierPayout{3, false, 1234, Fen(666600)}));
    EXPECT_EQ(newest.tiers[8], (TierPayout{7, false, 12345678, Fen(700)}));
    EXPECT_TRUE(kept.contains(publishedDraws()[299].issue));
    EXPECT_FALSE(kept.contains(publishedDraws()[300].issue));
    EXPECT_EQ(otherRequests_, 0);

    // Once more: nothing newer, nothing more to keep.
    messages_.shown.clear();
    EXPECT_EQ(sync().outcome, SyncOutcome::UpToDate);
    EXPECT_EQ(message(), "号库已是最新：官方开奖服务没有更新的开奖号码，最新一期为第26112期"
                         "（2026-09-30开奖）。");
}

TEST_F(LibrarySyncTest, AnEmptyLibraryIsReadBackToTheFirstDrawWithProgress) {
    const SyncResult result = sync();
    EXPECT_EQ(result.added, int(publishedDraws().size()));
    EXPECT_EQ(store_.drawsNewestFirst(), publishedDraws());
    EXPECT_EQ(details_.load().size(), publishedDraws().size());
    EXPECT_EQ(service_.pagesAsked().size(), 30u);
    ASSERT_FALSE(progressLines_.empty());
    EXPECT_EQ(progressLines_.back(), "正在从官方开奖服务读取第30页（已读到2900期）...");
}

TEST_F(LibrarySyncTest, EveryFormOfTheFieldsReadsAndWhatDoesNotIsCounted) {
    seedLibrary(published(8, 100));
    const std::vector<DrawRecord>& real = publishedDraws();
    // The result only in the order drawn, in the older form with "+".
    service_.editEntry(real[1].issue, [&](standin::Json& entry) {
        const DrawRecord& d = real[1];
        entry.erase("lotteryDrawResult");
        entry["lotteryUnsortDrawresult"] = d.front.substr(8, 2) + "+" + d.front.substr(0, 2) + "+" +
                                           d.front.substr(6, 2) + "+" + d.front.substr(2, 2) + "+" +
                                           d.front.substr(4, 2) + " " + d.back.substr(2, 2) + "+" +
                                           d.back.substr(0, 2);
    });
    // Numbers where strings are usual; the older "0" for a tier nobody won.
    service_.editEntry(real[2].issue, [](standin::Json& entry) {
        entry["lotteryDrawNum"] = std::stoi(entry["lotteryDrawNum"].get<std::string>());
        entry["poolBalance"] = 812345678.5;
        entry["totalSaleAmount"] = 299000000;
        entry["prizeLevelList"][1]["stakeAmount"] = "0";
        entry["prizeLevelList"][1]["stakeAmountFormat"] = "0";
    });
    // No issue; numbers out of the game; the two results disagreeing.
    service_.editEntry(real[3].issue, [](standin::Json& entry) { entry.erase("lotteryDrawNum"); });
    service_.editEntry(real[4].issue, [](standin::Json& entry) {
        entry["lotteryDrawResult"] = "01 02 03 04 36 05 06";
        entry.erase("lotteryUnsortDrawresult");
    });
    service_.editEntry(real[5].issue, [](standin::Json& entry) {
        entry["lotteryUnsortDrawresult"] = "01 02 03 04 05 06 07";
    });
    // Details that do not read: the draw stays, those details go.
    service_.editEntry(real[6].issue, [](standin::Json& entry) {
        entry["poolBalance"] = "about 8亿";
        entry["lotteryDrawTime"] = nullptr;
        entry["prizeLevelList"][0]["prizeLevel"] = "特等奖";
        entry["prizeLevelList"][2] = "not a tier";
    });
    // The gap the left-out draws leave is within what may follow.
    const SyncResult result = sync();
    EXPECT_EQ(result.added, 5);
    std::vector<DrawRecord> expected{real[0], real[1], real[2], real[6], real[7]};
    const std::vector<DrawRecord> held = draws(published(8, 100));
    expected.insert(expected.end(), held.begin(), held.end());
    EXPECT_EQ(store_.drawsNewestFirst(), expected);
    EXPECT_EQ(message(),
              "同步完成：从官方开奖服务新增5期号码，最新一期为第26112期（2026-09-30开奖）。"
              "\n有3期数据不全或有误，已略过（缺少期号1期，号码不符2期）。"
              "\n有4项开奖详情无法读取，已略过，号码不受影响。\n保存了97期的开奖详情。");

    const std::map<std::string, DrawDetails> kept = details_.load();
    const DrawDetails& numeric = kept.at(real[2].issue);
    EXPECT_EQ(numeric.poolBefore, Fen(81234567850));
    EXPECT_EQ(numeric.sales, Fen(29900000000));
    EXPECT_EQ(numeric.tiers[1].prizePerBet, std::nullopt);
    const DrawDetails& odd = kept.at(real[6].issue);
    EXPECT_EQ(odd.date, "");
    EXPECT_EQ(odd.poolBefore, std::nullopt);
    EXPECT_EQ(odd.poolAfter, standin::poolFen(real[6]) + 432100);
    EXPECT_EQ(odd.tiers.size(), 7u);
}

TEST_F(LibrarySyncTest, RefusalsAreWaitedOutThenTheDrawsCome) {
    seedLibrary(published(5, 50));
    service_.setScript([](int, int attempt) -> std::optional<OfficialStandIn::Reply> {
        switch (attempt) {
        case 0:
            return OfficialStandIn::Reply{403, "forbidden", "text/plain"};
        case 1:
            return OfficialStandIn::Reply{429, "", "text/plain"};
        case 2:
            return OfficialStandIn::Reply{567, "slow down", "text/plain"};
        default:
            return std::nullopt;
        }
    });
    EXPECT_EQ(sync().added, 5);
    EXPECT_EQ(store_.drawsNewestFirst(), draws(published(0, 55)));
    const auto shown = [&](const std::string& line) {
        return std::ranges::count(progressLines_, line) > 0;
    };
    EXPECT_TRUE(
        shown("官方开奖服务暂时拒绝了请求（拒绝访问，HTTP 403），1秒后重试（第1次，共3次）..."));
    EXPECT_TRUE(shown(
        "官方开奖服务暂时拒绝了请求（请求过于频繁，HTTP 429），1秒后重试（第2次，共3次）..."));
    EXPECT_TRUE(shown(
        "官方开奖服务暂时拒绝了请求（访问受到限制，HTTP 567），1秒后重试（第3次，共3次）..."));
}

TEST_F(LibrarySyncTest, WhatTheServiceRefusesOrCutsLeavesEverythingAsItWas) {
    struct Case {
        const char* name;
        OfficialStandIn::Reply reply;
        SyncOutcome outcome;
        std::string said;
    };
    const std::string tail = "号库没有改变。";
    const Case cases[] = {
        {"always 429",
         {429, "", "text/plain"},
         SyncOutcome::Refused,
         "官方开奖服务拒绝了请求（请求过于频繁，HTTP 429），重试3次后仍未成功，请稍后再试。" +
             tail},
        {"a 200 HTML page",
         {200, kFakeDrawPage, "text/html"},
         SyncOutcome::Refused,
         "官方开奖服务拒绝了请求（返回的不是开奖数据），重试3次后仍未成功，请稍后再试。" + tail},
        {"truncated JSON",
         {200, standin::answer({standin::drawEntry(publishedDraws()[0])}, 1, 100, 1)
                   .dump()
                   .substr(0, 300)},
         SyncOutcome::Refused,
         "官方开奖服务拒绝了请求（返回的不是开奖数据），重试3次后仍未成功，请稍后再试。" + tail},
        {"success false",
         {200, R"({"success":false,"errorCode":"9","errorMessage":"系统繁忙","value":null})"},
         SyncOutcome::ServiceError,
         "官方开奖服务没有给出开奖数据（服务答复：系统繁忙）。" + tail},
        {"a 50 MB body",
         {200, std::string(50u << 20, ' ')},
         SyncOutcome::Unreachable,
         "无法从开奖来源取得号码，号库没有改变。\n官方开奖服务没有给出号码（应答大得异常，已停止"
         "接收），号码改由软件作者网站与开奖结果网页取得。"},
        {"an empty list",
         {200, standin::answer(standin::Json::array(), 1, 100, 0).dump()},
         SyncOutcome::Unreachable,
         "无法从开奖来源取得号码，号库没有改变。\n官方开奖服务没有给出号码（没有可用的开奖号码），"
         "号码改由软件作者网站与开奖结果网页取得。"},
    };
    seedLibrary(published(30, 100));
    details_.merge({DrawDetails{"26080", "2026-07-18", Fen(1), std::nullopt, std::nullopt, {}}});
    const std::string before = filesBytes();
    // The other sources hold only a fake page.
    drawFile_ = kFakeDrawPage;
    for (const Case& c : cases) {
        service_.setScript([&c](int, int) { return c.reply; });
        messages_.shown.clear();
        EXPECT_EQ(sync().outcome, c.outcome) << c.name;
        EXPECT_EQ(message(), c.said) << c.name;
        EXPECT_EQ(filesBytes(), before) << c.name;
    }
}

TEST_F(LibrarySyncTest, AStalledServiceGivesWayToTheOtherSources) {
    seedLibrary(published(40, 100));
    service_.setScript([](int, int) -> std::optional<OfficialStandIn::Reply> {
        std::this_thread::sleep_for(1500ms);
        return std::nullopt;
    });
    drawFile_ = site::drawFileText(published(35, 300));
    page_ = site::resultsPageHtml(published(30, 100));
    const SyncResult result = sync();
    EXPECT_EQ(result.source, SyncSource::OtherSources);
    EXPECT_EQ(result.added, 10);
    EXPECT_EQ(store_.drawsNewestFirst(), draws(published(30, 110)));
    EXPECT_EQ(message(), "同步完成：从软件作者网站与开奖结果网页新增10期号码，最新一期为第" +
                             publishedDraws()[30].issue +
                             "期。\n官方开奖服务没有给出号码（服务器长时间没有应答），"
                             "号码改由软件作者网站与开奖结果网页取得。");
    EXPECT_TRUE(details_.load().empty());
}

TEST_F(LibrarySyncTest, AConflictAndARepeatAreToldAndNeverWritten) {
    seedLibrary(published(150, 100));
    // Page 2 gives a draw of page 1 again, and a held issue with other numbers.
    const DrawRecord& held = publishedDraws()[160];
    service_.setScript([&held](int pageNo, int) -> std::optional<OfficialStandIn::Reply> {
        if (pageNo != 2)
            return std::nullopt;
        standin::Json list = standin::Json::array();
        list.push_back(standin::drawEntry(publishedDraws()[3]));
        for (const DrawRecord& draw : published(100, 100)) {
            list.push_back(standin::drawEntry(draw));
            if (draw.issue == held.issue) {
                list.back()["lotteryDrawResult"] = "01 02 03 04 05 06 07";
                list.back()["lotteryUnsortDrawresult"] = "05 04 03 02 01 07 06";
            }
        }
        return OfficialStandIn::Reply{200, standin::answer(list, 2, 100, 2930).dump()};
    });
    const SyncResult result = sync();
    EXPECT_EQ(result.added, 150);
    EXPECT_EQ(result.conflicts, 1);
    EXPECT_EQ(store_.drawsNewestFirst(), draws(published(0, 250)));
    EXPECT_FALSE(details_.load().contains(held.issue));
    EXPECT_EQ(message(), "同步完成：从官方开奖服务新增150期号码，最新一期为第26112期"
                         "（2026-09-30开奖）。\n有1期重复出现，只取第一次。\n以下1期与号库中的号码"
                         "不同，没有写入（可用“检查号库”核对）：\n第" +
                             held.issue + "期：号库 " + held.front.substr(0, 2) + " " +
                             held.front.substr(2, 2) + " " + held.front.substr(4, 2) + " " +
                             held.front.substr(6, 2) + " " + held.front.substr(8, 2) + "  " +
                             held.back.substr(0, 2) + " " + held.back.substr(2, 2) +
                             "，来源 01 02 03 04 05  06 07\n保存了199期的开奖详情。");
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Exclamation);
}

TEST_F(LibrarySyncTest, DrawsThatDoNotFollowTheLibraryAreAskedAbout) {
    seedLibrary(published(1, 50));
    const DrawRecord fake{"26300", "0102030405", "0607"};
    std::vector<DrawRecord> served{fake};
    served.insert(served.end(), publishedDraws().begin(), publishedDraws().end());
    service_.setDraws(served);
    messages_.answers = {MessageAnswer::No};
    const SyncResult kept = sync();
    EXPECT_EQ(kept.added, 1);
    EXPECT_EQ(kept.keptOut, 1);
    EXPECT_EQ(store_.drawsNewestFirst(), draws(published(0, 51)));
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(
        messages_.shown[0].text,
        "以下1期接不上号库最新的第26112期，可能不是真实的开奖：\n第26300期 01 02 03 04 05  06 "
        "07\n仍要把它们加入号库吗？");
    EXPECT_EQ(messages_.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_NE(messages_.shown[1].text.find("接不上号库的1期没有加入号库。"), std::string::npos);

    // Asked again, the user says Yes.
    messages_.shown.clear();
    messages_.answers = {MessageAnswer::Yes};
    EXPECT_EQ(sync().added, 1);
    EXPECT_EQ(store_.newestDraw(), fake);
}

TEST_F(LibrarySyncTest, AFakeOneDrawPageOfTheOtherSourcesIsNoSource) {
    seedLibrary(published(18, 100)); // newest 26094: the fake draw 26095 would follow it
    service_.setScript([](int, int) {
        return std::optional(OfficialStandIn::Reply{404, "", "text/plain"});
    });
    drawFile_ = kFakeDrawPage;
    const std::string before = filesBytes();
    EXPECT_EQ(sync().outcome, SyncOutcome::Unreachable);
    EXPECT_EQ(filesBytes(), before);
    EXPECT_EQ(message(), "无法从开奖来源取得号码，号库没有改变。\n官方开奖服务没有给出号码（服务器"
                         "出错，HTTP 404），号码改由软件作者网站与开奖结果网页取得。");
}

TEST_F(LibrarySyncTest, AGivenUpSyncWritesAndSaysNothing) {
    seedLibrary(published(12, 20));
    const std::string before = filesBytes();
    // Given up while it waits out a refusal.
    service_.setScript([](int, int) {
        return std::optional(OfficialStandIn::Reply{429, "", "text/plain"});
    });
    options_.refusalWaits = {30s};
    progress_ = [this](const std::string& line) {
        if (line.find("重试") != std::string::npos)
            cancel_.cancel();
    };
    EXPECT_EQ(sync().outcome, SyncOutcome::Cancelled);
    EXPECT_EQ(filesBytes(), before);
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(LibrarySyncTest, CompletingDetailsReadsBackToTheOldestHeldDrawWithout) {
    seedLibrary(published(0, 600));
    const auto complete = [&] {
        return completeDrawDetails(store_, details_, http_, service_.address(), options_, messages_,
                                   progress_, cancel_);
    };
    const std::string library = libraryBytes();
    const DetailsResult result = complete();
    EXPECT_EQ(result.outcome, DetailsOutcome::Saved);
    EXPECT_EQ(result.saved, 600);
    EXPECT_EQ(service_.pagesAsked().size(), 6u);
    EXPECT_EQ(message(), "补全完成：保存了600期的开奖详情；号库中第19019期以来还有0期没有详情。");
    EXPECT_EQ(libraryBytes(), library);

    messages_.shown.clear();
    EXPECT_EQ(complete().outcome, DetailsOutcome::Complete);
    EXPECT_EQ(message(), "号库中第19019期以来的每一期都已有开奖详情。");
    EXPECT_EQ(service_.pagesAsked().size(), 6u);
}

} // namespace
