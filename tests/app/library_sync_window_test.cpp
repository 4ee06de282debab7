// 同步最新开奖 and 补全开奖详情 in the whole window, against a stand-in of the
// official results service on loopback.
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <chrono>

#include "app/commands/fetch_run.h"
#include "app/commands/library_tools_menu.h"
#include "app/ports/text.h"
#include "app/ports/platform.h"
#include "app/windows/main_window.h"
#include "app/windows/ticket_window.h"
#include "core/process_state.h"
#include "history/draw_details_store.h"
#include "history/library_text.h"
#include "storage/cipher.h"
#include "tests/support/official_stand_in.h"
#include "tests/support/real_draws.h"
#include "tests/support/temp_dir.h"
#include "tests/support/window_support.h"

using namespace dlt;
using namespace dlt::gui;
using namespace std::chrono_literals;
using testsupport::only;
using testsupport::RecordingMessages;

namespace {

using fixture::realDraws;

class LibrarySyncWindowTest : public ::testing::Test {
protected:
    LibrarySyncWindowTest() {
        setProductIdentity(process);
        process.installationKey = digestHex("library sync");
        window = std::make_unique<MainWindow>(process, toPath(dir.path()), messages);
        tools = addLibraryToolsMenu(*window);
        // The other sources are not there: only the service answers.
        tools->setSites(
            {service.address() + "/none", service.address() + "/none", service.address()});
        OfficialReadOptions options;
        options.pause = 0ms;
        options.refusalWaits = {30s};
        tools->setOfficialOptions(options);
    }

    HistoryStore store() const { return window->historyStore(); }
    DrawDetailsStore details() const { return DrawDetailsStore(window->historyDirectory()); }
    void storeDraws(const std::vector<DrawRecord>& draws) {
        const HistoryColumns columns = columnsOf(draws);
        ASSERT_TRUE(store().replaceHistory(columns.issues, columns.fronts, columns.backs));
        window->refreshHistorySummary();
    }
    std::string filesBytes() const {
        std::string all;
        for (std::string_view key : {columnKey::issue, columnKey::front, columnKey::back})
            all += fileBytes(store().columnPath(key)) + "|";
        return all + fileBytes(details().filePath());
    }
    QString summary() const {
        return only<QLabel>(window.get(), QStringLiteral("号库显示"))->text();
    }
    QString shownText(std::size_t i) const { return fromUtf8(messages.shown.at(i).text); }
    void trigger(const char* command) {
        only<QAction>(window.get(), QString::fromUtf8(command))->trigger();
    }
    // Runs what once the progress window's note reads what the test waits for.
    void whenNoteSays(const QString& part, std::function<void(WorkProgress&)> what) {
        auto* timer = new QTimer(window.get());
        QObject::connect(timer, &QTimer::timeout, timer, [this, timer, part, what] {
            auto* progress = window->findChild<WorkProgress*>(QStringLiteral("获取进度"));
            if (!progress)
                return;
            const QString note = only<QLabel>(progress, QStringLiteral("获取进度说明"))->text();
            notes << note;
            titles << progress->windowTitle();
            if (note.contains(part)) {
                timer->stop();
                what(*progress);
            }
        });
        timer->start(10);
    }

    ProcessState process;
    QTemporaryDir dir;
    RecordingMessages messages;
    std::unique_ptr<MainWindow> window;
    LibraryTools* tools = nullptr;
    OfficialStandIn service{realDraws()};
    QStringList notes;
    QStringList titles;
};

TEST_F(LibrarySyncWindowTest, AnEmptyLibrarySyncsWhole) {
    trigger("同步最新开奖");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(shownText(0),
              QStringLiteral("同步完成：从官方开奖服务新增2930期号码，最新一期为第26112期"
                             "（2026-09-30开奖）。\n保存了2930期的开奖详情。"));
    EXPECT_EQ(summary(), QStringLiteral("号库数量:2930    第26112期:"));
    EXPECT_EQ(store().drawsNewestFirst(), realDraws());
    EXPECT_EQ(details().load().size(), 2930u);
}

TEST_F(LibrarySyncWindowTest, ALibraryOf2912DrawsReaches2930) {
    storeDraws(std::vector<DrawRecord>(realDraws().begin() + 18, realDraws().end()));
    EXPECT_EQ(summary(), QStringLiteral("号库数量:2912    第26094期:"));
    trigger("同步最新开奖");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(shownText(0),
              QStringLiteral("同步完成：从官方开奖服务新增18期号码，最新一期为第26112期"
                             "（2026-09-30开奖）。\n保存了100期的开奖详情。"));
    EXPECT_EQ(summary(), QStringLiteral("号库数量:2930    第26112期:"));
    EXPECT_EQ(service.pagesAsked(), std::vector<int>{1});
}

TEST_F(LibrarySyncWindowTest, ARefusalIsWaitedOutInTheProgressWindowUntilCancelled) {
    storeDraws(std::vector<DrawRecord>(realDraws().begin() + 18, realDraws().end()));
    const std::string before = filesBytes();
    service.setScript([](int, int) {
        return std::optional(OfficialStandIn::Reply{429, "", "text/plain"});
    });
    whenNoteSays(QStringLiteral("秒后重试"), [](WorkProgress& progress) {
        QTest::mouseClick(only<QPushButton>(&progress, QStringLiteral("取消获取按钮")),
                          Qt::LeftButton);
    });
    trigger("同步最新开奖");
    EXPECT_TRUE(notes.contains(QStringLiteral(
        "官方开奖服务暂时拒绝了请求（请求过于频繁，HTTP 429），30秒后重试（第1次，共1次）...")));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(filesBytes(), before);
    EXPECT_EQ(summary(), QStringLiteral("号库数量:2912    第26094期:"));
}

TEST_F(LibrarySyncWindowTest, ClosingTheMainWindowEndsTheSyncWithNothingWritten) {
    const std::string before = filesBytes();
    service.setScript([](int pageNo, int) -> std::optional<OfficialStandIn::Reply> {
        if (pageNo < 3)
            return std::nullopt;
        return OfficialStandIn::Reply{567, "", "text/plain"};
    });
    whenNoteSays(QStringLiteral("秒后重试"), [this](WorkProgress&) { window->close(); });
    trigger("同步最新开奖");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(filesBytes(), before);
}

TEST_F(LibrarySyncWindowTest, CompletingDetailsShowsItsProgressAndSaysWhatItKept) {
    storeDraws(std::vector<DrawRecord>(realDraws().begin(), realDraws().begin() + 300));
    const std::string library = filesBytes();
    trigger("兑奖");
    QLabel* shownDetails = only<QLabel>(tools->ticketWindow(), QStringLiteral("开奖详情"));
    EXPECT_TRUE(shownDetails->text().startsWith(QStringLiteral("26112期没有开奖详情")));
    // The progress window names the command and the page being read.
    whenNoteSays(QStringLiteral("正在从官方开奖服务读取第"), [](WorkProgress&) {});
    trigger("补全开奖详情");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(shownText(0), QStringLiteral("补全完成：保存了300期的开奖详情；号库中第19019期以来"
                                           "还有0期没有详情。"));
    EXPECT_EQ(fromUtf8(messages.shown[0].caption), QStringLiteral("补全开奖详情"));
    ASSERT_FALSE(titles.isEmpty());
    EXPECT_EQ(titles.front(), QStringLiteral("补全开奖详情"));
    EXPECT_EQ(filesBytes().substr(0, library.size()), library);
    EXPECT_EQ(details().load().size(), 300u);
    // The open 兑奖 window shows the chosen draw's details at once.
    EXPECT_TRUE(shownDetails->text().startsWith(
        QStringLiteral("26112期开奖详情：开奖日期2026-09-30，开奖前奖池")))
        << shownDetails->text().toStdString();
}

} // namespace
