// The fetch button and the start-up online steps, against the bundled
// maker's site served on loopback.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <csignal>
#include <optional>

#include "tests/support/local_server.h"
#include "tests/online/online_fixtures.h"
#include "app/commands/fetch_run.h"
#include "app/form/form_widgets.h"
#include "app/ports/text.h"
#include "app/windows/intro_window.h"
#include "app/windows/main_window.h"
#include "app/ports/platform.h"
#include "app/startup/program.h"
#include "app/startup/startup_sequence.h"
#include "app/windows/startup_window.h"
#include "storage/file_io.h"
#include "storage/installation.h"
#include "history/draw_text.h"
#include "history/library_text.h"
#include "online/http_get.h"
#include "tests/support/window_support.h"
#include "online/site_server.h"

using namespace dlt;
using namespace dlt::gui;
using testsupport::only;

namespace {

// 禾澄大乐透荐号器 in GBK, as the maker's version file writes it.
constexpr const char* kProductNameGbk =
    "\xBA\xCC\xB3\xCE\xB4\xF3\xC0\xD6\xCD\xB8\xBC\xF6\xBA\xC5\xC6\xF7";

QString line(const DrawRecord& draw) {
    return fromUtf8(historyListLine(draw.issue, draw.front, draw.back));
}

class FetchRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        setProductIdentity(state_);
        state_.installationKey = "0123456789abcdef0123456789abcdef";
        window_ = std::make_unique<MainWindow>(state_, toPath(dir_.path()), messages_);
        window_->setOuterWidth(MainWindow::kWideWidth);
        window_->show();
        button_ = only<QPushButton>(window_.get(), QStringLiteral("自动获取往期号按钮"));
        list_ = only<QListWidget>(window_.get(), QStringLiteral("列表框1"));
    }

    void startSite() {
        site::serveFolder(local_.server(), DLT_SITE_DIR);
        local_.start();
        command_ =
            new FetchCommand(*window_, messages_, http_, {local_.address(), local_.address(), {}});
    }

    QString label(const char* name) const {
        return only<QLabel>(window_.get(), QString::fromUtf8(name))->text();
    }

    QTemporaryDir dir_;
    ProcessState state_;
    RecordingMessages messages_;
    std::unique_ptr<MainWindow> window_;
    QPushButton* button_ = nullptr;
    QListWidget* list_ = nullptr;
    LocalServer local_;
    CurlHttpGetter curl_;
    BackgroundHttpGetter http_{curl_};
    FetchCommand* command_ = nullptr;
};

TEST_F(FetchRunTest, TheButtonFillsTheListAndTheSummaryAndRebuildsTheLibrary) {
    startSite();
    bool disabledWhileFilling = true;
    QObject::connect(list_->model(), &QAbstractItemModel::rowsInserted,
                     [&] { disabledWhileFilling = disabledWhileFilling && !button_->isEnabled(); });
    QTest::mouseClick(button_, Qt::LeftButton);

    ASSERT_EQ(list_->count(), 310);
    EXPECT_EQ(list_->item(0)->text(), line(publishedDraws()[0]));
    EXPECT_EQ(list_->item(29)->text(), line(publishedDraws()[29]));
    EXPECT_EQ(list_->item(30)->text(), line(publishedDraws()[30]));
    EXPECT_EQ(list_->item(309)->text(), line(publishedDraws()[309]));
    const DrawRecord& newest = publishedDraws()[0];
    EXPECT_EQ(label("号库显示"),
              QStringLiteral("号库数量:310    第%1期:").arg(QString::fromStdString(newest.issue)));
    EXPECT_EQ(label("上期号码"),
              fromUtf8(formatNumberGroups(newest.front) + "  " + formatNumberGroups(newest.back)));
    EXPECT_EQ(window_->historyStore().drawCount(), 310);

    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(fromUtf8(messages_.shown[0].text),
              QStringLiteral("往期号码输入完成！共输入310期号码。"));
    EXPECT_EQ(fromUtf8(messages_.shown[0].caption), QStringLiteral("输入完成"));
    EXPECT_TRUE(disabledWhileFilling);
    EXPECT_TRUE(button_->isEnabled());
}

TEST_F(FetchRunTest, TheWindowStaysAliveAndTheCommandsDisabledWhileADownloadRuns) {
    std::atomic<bool> release{false};
    local_.server().Get(
        "/soft/qvemtrod/kj.dll", [&](const httplib::Request&, httplib::Response& response) {
            for (int i = 0; i < 500 && !release; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            response.set_content(site::drawFileText(published(0, 300)), "text/plain");
        });
    local_.start();
    command_ =
        new FetchCommand(*window_, messages_, http_, {local_.address(), local_.address(), {}});

    int ticks = 0;
    bool commandsDisabled = true;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        ++ticks;
        for (const char* name :
             {"自动获取往期号按钮", "推荐号码按钮", "清除上期号按钮", "展开高级功能按钮"})
            commandsDisabled =
                commandsDisabled &&
                !only<QPushButton>(window_.get(), QString::fromUtf8(name))->isEnabled();
        if (ticks == 5)
            release = true; // the server answers once the window has handled events meanwhile
    });
    ticker.start(10);
    button_->click();
    ticker.stop();

    EXPECT_GE(ticks, 5);
    EXPECT_TRUE(commandsDisabled);
    EXPECT_EQ(list_->count(), 280);
    EXPECT_TRUE(button_->isEnabled());
}

TEST_F(FetchRunTest, NothingFetchedKeepsTheLibraryInTheList) {
    local_.start(); // answers 404 to everything
    command_ =
        new FetchCommand(*window_, messages_, http_, {local_.address(), local_.address(), {}});
    const HistoryStore store = window_->historyStore();
    ASSERT_TRUE(store.appendDraw({"25001", "0102030405", "0607"}));

    button_->click();
    ASSERT_EQ(list_->count(), 1);
    EXPECT_EQ(list_->item(0)->text(), QStringLiteral("第25001期 01 02 03 04 05  06 07"));
    EXPECT_EQ(store.drawCount(), 1);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(fromUtf8(messages_.shown[0].caption), QStringLiteral("错误："));
}

void storeDraws(const HistoryStore& store, std::span<const DrawRecord> newestFirst) {
    const HistoryColumns columns = columnsOf({newestFirst.begin(), newestFirst.end()});
    ASSERT_TRUE(store.replaceHistory(columns.issues, columns.fronts, columns.backs));
}

// The three column files' bytes.
std::vector<std::string> libraryFiles(const HistoryStore& store) {
    std::vector<std::string> files;
    for (const std::string_view key : {columnKey::issue, columnKey::front, columnKey::back})
        files.push_back(readFile(store.columnPath(key), 1u << 24).bytes);
    return files;
}

TEST_F(FetchRunTest, DroppingDrawsAsksAndNoKeepsTheLibraryTheListAndTheSummary) {
    startSite(); // 310 draws
    const HistoryStore store = window_->historyStore();
    storeDraws(store, published(0, 400));
    window_->refreshHistorySummary();
    const QString summaryBefore = label("号库显示");
    const auto filesBefore = libraryFiles(store);
    messages_.answers = {MessageAnswer::No};

    button_->click();
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(
        fromUtf8(messages_.shown[0].text),
        QStringLiteral("号库中现有400期号码，本次获取到310期号码。替换后保留其中310期，去掉90期，"
                       "新增0期。\n仍要替换号库吗？"));
    EXPECT_EQ(fromUtf8(messages_.shown[0].caption), QStringLiteral("注意："));
    EXPECT_EQ(messages_.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(libraryFiles(store), filesBefore);
    ASSERT_EQ(list_->count(), 400);
    EXPECT_EQ(list_->item(399)->text(), line(publishedDraws()[399]));
    EXPECT_EQ(label("号库显示"), summaryBefore);

    messages_.shown.clear();
    messages_.answers = {MessageAnswer::Yes}; // Yes this time
    button_->click();
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(fromUtf8(messages_.shown[1].text),
              QStringLiteral("往期号码输入完成！共输入310期号码。"));
    EXPECT_EQ(store.drawCount(), 310);
}

// A maker's site whose draw file never comes, for one test.
class SilentDrawFile {
public:
    explicit SilentDrawFile(LocalServer& local) : local_(local) {
        local.server().Get(
            "/soft/qvemtrod/kj.dll", [this](const httplib::Request&, httplib::Response& response) {
                asked_ = true;
                while (!release_)
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                response.set_content(site::drawFileText(published(0, 300)), "text/plain");
            });
    }
    // Lets the waiting answer go and stops the server, which then no longer
    // needs this.
    ~SilentDrawFile() {
        release_ = true;
        local_.stop();
    }
    bool asked() const { return asked_; }

private:
    LocalServer& local_;
    std::atomic<bool> asked_{false};
    std::atomic<bool> release_{false};
};

TEST_F(FetchRunTest, TheProgressWindowShowsTheFetchAndItsCancelOrEscGivesItUp) {
    SilentDrawFile silent(local_);
    local_.start();
    command_ =
        new FetchCommand(*window_, messages_, http_, {local_.address(), local_.address(), {}});
    const HistoryStore store = window_->historyStore();
    storeDraws(store, published(40, 3));
    const auto filesBefore = libraryFiles(store);

    using GiveUp = std::function<void(WorkProgress&)>;
    const GiveUp ways[] = {
        [](WorkProgress& progress) {
            only<QPushButton>(&progress, QStringLiteral("取消获取按钮"))->click();
        },
        [](WorkProgress& progress) { QTest::keyClick(&progress, Qt::Key_Escape); },
        [this](WorkProgress&) {
            // The user clicks into the main window, away from the progress.
            QApplication::setActiveWindow(window_.get());
            ASSERT_EQ(QApplication::activeWindow(), window_.get());
            QTest::keyClick(window_.get(), Qt::Key_Escape);
        },
    };
    for (std::size_t way = 0; way < std::size(ways); ++way) {
        SCOPED_TRACE(way);
        bool shown = false;
        QElapsedTimer sinceGivenUp;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            WorkProgress* progress = command_->progress();
            if (!progress || !silent.asked() || sinceGivenUp.isValid())
                return;
            shown = progress->isVisible() && progress->parentWidget() == window_.get() &&
                    only<QProgressBar>(progress, QStringLiteral("获取进度条")) != nullptr &&
                    !button_->isEnabled();
            sinceGivenUp.start();
            ways[way](*progress);
        });
        poll.start(20);
        button_->click();
        poll.stop();

        EXPECT_TRUE(shown);
        ASSERT_TRUE(sinceGivenUp.isValid());
        EXPECT_LT(sinceGivenUp.elapsed(), 1000);
        EXPECT_EQ(command_->progress(), nullptr);
        EXPECT_EQ(libraryFiles(store), filesBefore);
        EXPECT_EQ(list_->count(), 3);
        EXPECT_TRUE(messages_.shown.empty()); // the user asked for it: nothing to say
        EXPECT_TRUE(button_->isEnabled());
    }
}

// The whole program from its start, against a loopback maker's site, with
// the main window closed while a download hangs.
class ClosingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        processState() = ProcessState{};
    }

    // Runs the program; whenReady runs once the main window is shown (the
    // start-up online steps follow). Returns how long after the main window
    // was closed the program ended.
    qint64 runUntilClosed(const std::function<void(MainWindow&)>& whenShown) {
        QElapsedTimer sinceClosed;
        const int exitCode = runProgram(
            messages_, dir_.path() + QStringLiteral("/secret"), toPath(dir_.path()),
            [&](StartupSequence& sequence) {
                sequence.setSites({local_.address(), local_.address(), {}});
                sequence.setUrlOpener(opener_);
                QObject::connect(
                    &sequence, &StartupSequence::introShown, &sequence, [](IntroWindow* intro) {
                        QTimer::singleShot(0, intro, [intro] {
                            intro->findChild<QPushButton*>(QStringLiteral("按钮1"))->click();
                        });
                    });
                QObject::connect(&sequence, &StartupSequence::mainWindowShown, &sequence,
                                 [&](MainWindow* window) {
                                     QObject::connect(window, &MainWindow::closed, window,
                                                      [&] { sinceClosed.start(); });
                                     store_.emplace(window->historyStore());
                                     whenShown(*window);
                                 });
            });
        EXPECT_EQ(exitCode, 0);
        EXPECT_TRUE(sinceClosed.isValid());
        const qint64 ended = sinceClosed.isValid() ? sinceClosed.elapsed() : -1;
        RecordProperty("msFromCloseToEnd", int(ended));
        return ended;
    }

    // Closes the window (or, bySignal, sends the program SIGTERM, as a
    // desktop session logging out does), looking every few milliseconds, once
    // the server has been asked.
    void closeWhen(std::function<bool()> asked, MainWindow& window, bool bySignal = false) {
        auto* poll = new QTimer(&window);
        QObject::connect(poll, &QTimer::timeout, &window, [poll, asked, &window, bySignal] {
            if (!asked())
                return;
            poll->stop();
            if (bySignal)
                std::raise(SIGTERM);
            else
                window.close();
        });
        poll->start(5);
    }

    // A fetch whose download hangs, ended by a close or by SIGTERM: the
    // program ends at once and the library stays as it was.
    void endDuringAHangingFetch(bool bySignal) {
        SilentDrawFile silent(local_);
        local_.start(); // the version file and the product page: 404
        std::vector<std::string> filesBefore;
        const qint64 ended = runUntilClosed([&](MainWindow& window) {
            storeDraws(*store_, published(40, 3));
            filesBefore = libraryFiles(*store_);
            // Once the start-up is over: the fetch, and the end as soon as
            // its download hangs.
            QTimer::singleShot(200, &window, [this, &window, &silent, bySignal] {
                closeWhen([&silent] { return silent.asked(); }, window, bySignal);
                window.setOuterWidth(MainWindow::kWideWidth);
                window.controls().fetch->click();
            });
        });
        EXPECT_GE(ended, 0);
        EXPECT_LT(ended, 1000);
        EXPECT_EQ(libraryFiles(*store_), filesBefore);
        EXPECT_TRUE(messages_.shown.empty());
    }

    QTemporaryDir dir_;
    LocalServer local_;
    RecordingMessages messages_;
    RecordingOpener opener_;
    std::optional<HistoryStore> store_;
};

TEST_F(ClosingTest, ClosingDuringAHangingFetchEndsTheProgramAtOnceAndKeepsTheLibrary) {
    endDuringAHangingFetch(false);
}

TEST_F(ClosingTest, SigtermDuringAHangingFetchIsAClose) {
    endDuringAHangingFetch(true);
}

TEST_F(ClosingTest, ClosingDuringTheStartUpDownloadEndsTheProgramAtOnce) {
    std::atomic<bool> asked{false}, release{false};
    local_.server().Get(
        "/soft/qvemtrod/bbxx.txt", [&](const httplib::Request&, httplib::Response& response) {
            asked = true;
            while (!release)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            response.set_content(std::string(kProductNameGbk) + "v3.2\r\nhttp://127.0.0.1/new.zip",
                                 "text/plain");
        });
    local_.start();
    const qint64 ended = runUntilClosed(
        [&](MainWindow& window) { closeWhen([&asked] { return bool(asked); }, window); });
    release = true;
    local_.stop(); // before the answer's flags go
    EXPECT_GE(ended, 0);
    EXPECT_LT(ended, 1000);
    EXPECT_TRUE(messages_.shown.empty()); // no offer of the newer version after the close
}

TEST_F(ClosingTest, ClosingWhileTheProductPageHangsEndsTheVisitWithTheProgram) {
    std::atomic<bool> asked{false}, release{false};
    local_.server().Get("/soft/qvemtrod/qvemtrod3.1.html",
                        [&](const httplib::Request&, httplib::Response& response) {
                            asked = true;
                            while (!release)
                                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                            response.set_content("<html></html>", "text/html");
                        });
    local_.start();
    runUntilClosed(
        [&](MainWindow& window) { closeWhen([&asked] { return bool(asked); }, window); });
    // The program has ended, its visit given up, while the page still hangs.
    EXPECT_TRUE(asked);
    EXPECT_FALSE(release);
    release = true;
    local_.stop();
    EXPECT_TRUE(messages_.shown.empty());
}

// The whole start-up, with the online steps against a loopback site.
class StartupOnlineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        processState() = ProcessState{};
        local_.server().Get("/soft/qvemtrod/bbxx.txt",
                            [this](const httplib::Request&, httplib::Response& response) {
                                ++versionRequests_;
                                response.set_content(versionText_, "text/plain");
                            });
        local_.server().Get("/soft/qvemtrod/qvemtrod3.1.html", [this](const httplib::Request&,
                                                                      httplib::Response& response) {
            ++productPageRequests_;
            while (pageHangs_)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            if (pageMissing_)
                response.status = 404;
            else
                response.set_content("<html><body>product</body></html>", "text/html");
        });
        local_.start();
    }

    // Runs the start-up; returns whether the product page had been visited
    // when the main window became visible.
    bool start(StartupSequence& sequence) {
        bool visitedBeforeMain = true;
        QObject::connect(&sequence, &StartupSequence::introShown, &sequence,
                         [](IntroWindow* intro) {
                             QTimer::singleShot(0, intro, [intro] {
                                 intro->findChild<QPushButton*>(QStringLiteral("按钮1"))->click();
                             });
                         });
        QObject::connect(&sequence, &StartupSequence::mainWindowShown, &sequence, [&](MainWindow*) {
            visitedBeforeMain = !sequence.startupWindow()->browser()->address().empty();
            messagesBeforeOnline_ = messages_.shown.size();
        });
        sequence.setSites({local_.address(), local_.address(), {}});
        sequence.setUrlOpener(opener_);
        EXPECT_TRUE(sequence.run());
        return visitedBeforeMain;
    }

    void TearDown() override {
        pageHangs_ = false;
        local_.stop();
    }

    QTemporaryDir dir_;
    LocalServer local_;
    std::string versionText_;
    std::atomic<int> versionRequests_{0};
    std::atomic<int> productPageRequests_{0};
    std::atomic<bool> pageHangs_{false};
    std::atomic<bool> pageMissing_{false};
    RecordingMessages messages_;
    RecordingOpener opener_;
    std::size_t messagesBeforeOnline_ = 0;
};

TEST_F(StartupOnlineTest, ANewerVersionIsOfferedAfterTheMainWindowIsVisible) {
    versionText_ = std::string(kProductNameGbk) + "v3.2\r\nhttp://127.0.0.1/new.zip";
    StartupSequence sequence(messages_, dir_.path() + QStringLiteral("/secret"),
                             toPath(dir_.path()));
    EXPECT_FALSE(start(sequence)); // no visit before this step

    EXPECT_EQ(messagesBeforeOnline_, 0u);
    EXPECT_EQ(versionRequests_, 1);
    HiddenBrowser* browser = sequence.startupWindow()->browser();
    EXPECT_EQ(browser->address(), local_.url("/soft/qvemtrod/qvemtrod3.1.html"));
    EXPECT_TRUE(QTest::qWaitFor([this] { return productPageRequests_ == 1; }));
    EXPECT_FALSE(sequence.startupWindow()->isVisible());

    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(fromUtf8(messages_.shown[0].text),
              QStringLiteral("禾澄大乐透荐号器v3.2\r\nhttp://127.0.0.1/new.zip\r\n\r\n是否更新？"));
    EXPECT_EQ(fromUtf8(messages_.shown[0].caption), QStringLiteral("检测到新版本："));
    EXPECT_EQ(messages_.shown[0].buttons, MessageButtons::YesNoDefaultYes);
    EXPECT_EQ(opener_.opened,
              (std::vector<std::string>{"http://127.0.0.1/new.zip", local_.address() + "/"}));
}

TEST_F(StartupOnlineTest, AProductPageThatHangsOrIsMissingChangesNothing) {
    versionText_ = std::string(kProductNameGbk) + "v3.2\r\nhttp://127.0.0.1/new.zip";
    for (const bool hangs : {true, false}) {
        SCOPED_TRACE(hangs ? "hangs" : "missing");
        pageHangs_ = hangs;
        pageMissing_ = !hangs;
        messages_.shown.clear();
        opener_.opened.clear();
        productPageRequests_ = 0;
        processState() = ProcessState{};
        StartupSequence sequence(messages_, dir_.path() + QStringLiteral("/secret"),
                                 toPath(dir_.path()));
        start(sequence);
        // The visit runs beside the start-up: the version was checked and
        // offered while the page had not answered (or answered nothing).
        EXPECT_TRUE(QTest::qWaitFor([this] { return productPageRequests_ == 1; }));
        ASSERT_EQ(messages_.shown.size(), 1u);
        EXPECT_EQ(fromUtf8(messages_.shown[0].caption), QStringLiteral("检测到新版本："));
        EXPECT_EQ(opener_.opened.size(), 2u);
        pageHangs_ = false;
    }
}

TEST_F(StartupOnlineTest, TheManualCheckUsesTheKeptTextWithoutAnotherRequest) {
    versionText_ = std::string(kProductNameGbk) + "v3.1\r\nhttp://127.0.0.1/new.zip";
    StartupSequence sequence(messages_, dir_.path() + QStringLiteral("/secret"),
                             toPath(dir_.path()));
    start(sequence);
    EXPECT_TRUE(messages_.shown.empty()); // the start-up check is silent

    // The menu bar's item and the right-click menu's item.
    for (const char* item : {"检查更新", "软件升级"})
        only<QAction>(sequence.mainWindow(), QString::fromUtf8(item))->trigger();
    EXPECT_EQ(versionRequests_, 1);
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(fromUtf8(messages_.shown[1].text),
              QStringLiteral("\"禾澄大乐透荐号器v3.1\" 已是最新版本，不需要升级。"));
    EXPECT_EQ(fromUtf8(messages_.shown[1].caption), QStringLiteral("软件更新："));
}

} // namespace
