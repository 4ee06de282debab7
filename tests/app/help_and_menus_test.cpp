// The help window with the built-in guide, the menus, the right-click menu
// and the links.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QWheelEvent>
#include <memory>

#include "app/windows/about_window.h"
#include "app/form/form_widgets.h"
#include "app/windows/help_window.h"
#include "app/windows/main_window.h"
#include "app/startup/maker.h"
#include "app/commands/menus.h"
#include "app/ports/platform.h"
#include "core/process_state.h"
#include "storage/file_io.h"
#include "online/sites.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/window_support.h"

using namespace dlt;
using namespace dlt::gui;
using testsupport::RecordingMessages;

namespace {

class RecordingUrls : public UrlOpener {
public:
    void openUrl(const std::string& address) override { opened.push_back(address); }
    std::vector<std::string> opened;
};

ProcessState identity() {
    ProcessState state;
    setProductIdentity(state);
    state.installationKey = "00112233445566778899aabbccddeeff";
    return state;
}

std::vector<std::string> filesIn(const QTemporaryDir& dir) {
    std::vector<std::string> names;
    for (const QString& name : QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot))
        names.push_back(name.toStdString());
    return names;
}

// A run of the page's text as the view shows it.
struct ShownRun {
    QString text;
    QTextCharFormat format;
    QTextBlockFormat block;
};

std::vector<ShownRun> shownRuns(const QTextDocument& document) {
    std::vector<ShownRun> runs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            runs.push_back({it.fragment().text(), it.fragment().charFormat(), block.blockFormat()});
    return runs;
}

// The first run that holds words.
ShownRun runWith(const QTextDocument& document, const char* words) {
    for (const ShownRun& run : shownRuns(document))
        if (run.text.contains(QString::fromUtf8(words)))
            return run;
    ADD_FAILURE() << "not shown: " << words;
    return {};
}

QString faceOf(const ShownRun& run) {
    return QFontInfo(run.format.font()).family();
}

// ---- The help window ----------------------------------------------------------------

TEST(HelpWindowGuide, ShowsTheGuideAsDesignedUnderTheProductCaption) {
    const ProcessState state = identity();
    RecordingMessages messages;
    QTemporaryDir temp;
    HelpWindow help;
    ASSERT_TRUE(help.openGuide(state, messages, toPath(temp.path())));
    help.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
    EXPECT_TRUE(messages.shown.empty());
    // The page's own title does not replace the caption.
    EXPECT_EQ(help.windowTitle(), QStringLiteral("禾澄大乐透荐号器 使用帮助"));

    const QTextDocument& page = *help.browser()->document();
    const QString text = page.toPlainText();
    for (const char* words : {"禾澄大乐透荐号器 使用帮助", "一、打开软件", "二、输入往期号码",
                              "三、推算下一期号码", "四、怎样选号", "图1 欢迎窗口"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(words))) << words;

    // The red title, centred, in the 楷体 face; the blue section headings in
    // the same face; the text in the 宋体 face; the captions small and grey.
    const ShownRun title = runWith(page, "禾澄大乐透荐号器 使用帮助");
    EXPECT_EQ(title.format.foreground().color(), QColor(0xC0, 0x00, 0x00));
    EXPECT_EQ(title.block.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(faceOf(title), QStringLiteral("AR PL UKai CN"));
    const ShownRun heading = runWith(page, "一、打开软件");
    EXPECT_EQ(heading.format.foreground().color(), QColor(0x00, 0x50, 0xA0));
    EXPECT_EQ(faceOf(heading), QStringLiteral("AR PL UKai CN"));
    EXPECT_GT(heading.format.fontPointSize(), 12.0);
    const ShownRun body = runWith(page, "双击程序图标启动软件");
    EXPECT_EQ(faceOf(body), QStringLiteral("Noto Serif CJK SC"));
    const ShownRun caption = runWith(page, "图1 欢迎窗口");
    EXPECT_EQ(caption.format.foreground().color(), QColor(0x60, 0x60, 0x60));
    EXPECT_LT(caption.format.fontPointSize(), body.format.fontPointSize());
    EXPECT_EQ(caption.block.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

    // Thirty pictures, each from the archive: those that fit the page at
    // their own size, the wider ones at the page's width.
    const int width = help.browser()->viewport()->width();
    int pictures = 0;
    int fitted = 0;
    for (const ShownRun& run : shownRuns(page)) {
        if (!run.format.isImageFormat())
            continue;
        ++pictures;
        const QTextImageFormat format = run.format.toImageFormat();
        const QImage* shown = help.shownPicture(format.name());
        ASSERT_NE(shown, nullptr) << format.name().toStdString();
        const QImage image = *shown;
        EXPECT_EQ(QSizeF(format.width(), format.height()), QSizeF(image.size()));
        EXPECT_LT(image.width(), width);
        fitted += format.name().contains(u'#') ? 1 : 0;
    }
    EXPECT_EQ(pictures, 30);
    EXPECT_EQ(fitted, 3); // the wide main window, the help window and the wide screenshot
}

TEST(HelpWindowGuide, TwoOpeningsWriteTwoFilesAndLeaveNone) {
    const ProcessState state = identity();
    RecordingMessages messages;
    QTemporaryDir temp;
    std::vector<QString> written;
    const auto opened = [&](HelpWindow& help) {
        QObject::connect(&help, &HelpWindow::guideFileWritten, &help, [&](const QString& path) {
            written.push_back(path);
            // Whole, in the temporary folder, named like 1a2b3c.tmp.mht.
            EXPECT_EQ(readFile(toPath(path), 64u << 20).bytes, builtInHelpArchive());
            EXPECT_EQ(QFileInfo(path).absolutePath(), QDir(temp.path()).absolutePath());
            EXPECT_TRUE(QFileInfo(path).fileName().contains(
                QRegularExpression(QStringLiteral("^[0-9a-f]+\\.tmp\\.mht$"))));
        });
        EXPECT_TRUE(help.openGuide(state, messages, toPath(temp.path())));
        EXPECT_TRUE(filesIn(temp).empty()); // read into the view, then removed
    };
    HelpWindow first;
    opened(first);
    HelpWindow second;
    opened(second);
    ASSERT_EQ(written.size(), 2u);
    EXPECT_NE(written[0], written[1]);
    EXPECT_EQ(second.browser()->toPlainText(), first.browser()->toPlainText());
    EXPECT_TRUE(messages.shown.empty());
}

TEST(HelpWindowGuide, TheCoverTakesTheMouseAndTheWheelAndScrollBarStillScroll) {
    const ProcessState state = identity();
    RecordingMessages messages;
    QTemporaryDir temp;
    HelpWindow help;
    ASSERT_TRUE(help.openGuide(state, messages, toPath(temp.path())));
    help.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
    QTextBrowser* view = help.browser();
    QScrollBar* bar = view->verticalScrollBar();
    auto* cover = help.findChild<TransparentLabel*>(QStringLiteral("透明标签1"));
    ASSERT_NE(cover, nullptr);
    const QPoint middle(cover->width() / 2, cover->height() / 2);

    // A click anywhere on the page but the scroll bar lands on the cover.
    for (const QPoint at : {QPoint(5, 5), middle, QPoint(cover->width() - 2, cover->height() - 2)})
        EXPECT_EQ(help.childAt(at), cover);
    EXPECT_EQ(help.childAt(QPoint(help.width() - 5, middle.y())), bar);
    // Clicks, a drag and a right click leave the page as it was: nothing
    // selected, nothing followed, no menu.
    const QString shown = view->toHtml();
    QTest::mouseClick(cover, Qt::LeftButton, {}, middle);
    QTest::mouseDClick(cover, Qt::LeftButton, {}, middle);
    QTest::mousePress(cover, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(cover, middle);
    QTest::mouseRelease(cover, Qt::LeftButton, {}, middle);
    QTest::mouseClick(cover, Qt::RightButton, {}, middle);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, middle, cover->mapToGlobal(middle));
    QApplication::sendEvent(cover, &menu);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_FALSE(view->textCursor().hasSelection());
    EXPECT_EQ(view->toHtml(), shown);
    EXPECT_EQ(bar->value(), 0);

    // The wheel over the cover scrolls the page.
    QWheelEvent wheel(QPointF(middle), QPointF(cover->mapToGlobal(middle)), QPoint(),
                      QPoint(0, -360), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(cover, &wheel);
    EXPECT_TRUE(QTest::qWaitFor([bar] { return bar->value() > 0; }));
    // And a click below the scroll bar's handle pages on.
    const int afterWheel = bar->value();
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 30));
    EXPECT_TRUE(QTest::qWaitFor([bar, afterWheel] { return bar->value() > afterWheel; }));
}

TEST(HelpWindowGuide, UnwritableFolderShowsTheFailureAndClosesTheWindow) {
    const ProcessState state = identity();
    RecordingMessages messages;
    QTemporaryDir temp;
    // A plain file where the folder should be: no one can write into it.
    const std::filesystem::path notAFolder = toPath(temp.filePath(QStringLiteral("file")));
    ASSERT_TRUE(writeFileFlushed(notAFolder, "x"));

    HelpWindow help;
    help.show();
    EXPECT_FALSE(help.openGuide(state, messages, notAFolder));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "帮助文档打开失败：请重试！");
    EXPECT_EQ(messages.shown[0].caption, "错误");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Stop);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::Ok);
    EXPECT_FALSE(help.isVisible());
    EXPECT_EQ(filesIn(temp), std::vector<std::string>{"file"});
}

TEST(HelpWindowGuide, ATemporaryFolderThatDoesNotExistIsAWriteFailure) {
    const ProcessState state = identity();
    RecordingMessages messages;
    QTemporaryDir temp;
    // The temporary folder as the start-up takes it, with TMPDIR naming a
    // folder that is not there.
    const bool wasSet = qEnvironmentVariableIsSet("TMPDIR");
    const QByteArray kept = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(temp.filePath(QStringLiteral("missing"))));
    const std::filesystem::path folder = toPath(QDir::tempPath());
    if (wasSet)
        qputenv("TMPDIR", kept);
    else
        qunsetenv("TMPDIR");
    const QString current = QDir::currentPath();
    QDir::setCurrent(temp.path());

    HelpWindow help;
    help.show();
    EXPECT_FALSE(help.openGuide(state, messages, folder));
    QDir::setCurrent(current);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "帮助文档打开失败：请重试！");
    EXPECT_FALSE(help.isVisible());
    EXPECT_TRUE(filesIn(temp).empty()); // nothing in the current folder either
}

// ---- The menus -----------------------------------------------------------------------

class MenusTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        commands_ = new MenuCommands(*window_, messages_, urls_, toPath(temp_.path()));
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    }
    void TearDown() override {
        window_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QAction* item(const char* caption) {
        const QList<QAction*> found = window_->findChildren<QAction*>(QString::fromUtf8(caption));
        EXPECT_EQ(found.size(), 1) << caption;
        return found.value(0);
    }

    QTemporaryDir temp_;
    RecordingUrls urls_;
    MenuCommands* commands_ = nullptr;
};

QStringList captions(const QMenu* menu) {
    QStringList out;
    for (const QAction* action : menu->actions())
        out << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return out;
}

TEST_F(MenusTest, MenuBarAndPopupMenuHoldTheirItemsAndTheClientAreaKeepsItsSize) {
    QMenuBar* bar = window_->menuBar();
    QStringList menus;
    for (const QAction* action : bar->actions())
        menus << action->text();
    EXPECT_EQ(menus, (QStringList{QStringLiteral("升级更新"), QStringLiteral("软件帮助"),
                                  QStringLiteral("号库工具")}));
    EXPECT_EQ(captions(bar->actions()[0]->menu()),
              (QStringList{QStringLiteral("检查更新"), QStringLiteral("-"),
                           QStringLiteral("禾澄科技官方网站")}));
    EXPECT_EQ(
        captions(bar->actions()[1]->menu()),
        (QStringList{QStringLiteral("使用说明"), QStringLiteral("-"), QStringLiteral("关于我们")}));
    QMenu* popup = commands_->popupMenu();
    EXPECT_EQ(popup->objectName(), QStringLiteral("PopupMenu"));
    EXPECT_EQ(captions(popup),
              (QStringList{QStringLiteral("软件升级"), QStringLiteral("禾澄科技官网"),
                           QStringLiteral("-"), QStringLiteral("帮助"), QStringLiteral("关于")}));
    EXPECT_FALSE(popup->isVisible());
    for (const QAction* action : window_->findChildren<QAction*>()) {
        EXPECT_TRUE(action->isEnabled());
        EXPECT_FALSE(action->isCheckable());
        EXPECT_TRUE(action->shortcut().isEmpty());
    }

    EXPECT_EQ(window_->clientArea()->size(), QSize(640, 392));
    EXPECT_EQ(window_->height(), 392 + bar->height());
    window_->setOuterWidth(MainWindow::kWideWidth);
    EXPECT_EQ(window_->clientArea()->size(), QSize(861, 392));
    EXPECT_EQ(window_->height(), 392 + bar->height());
}

TEST_F(MenusTest, RightPressPopsUpTheMenuOverTheListedControlsOnly) {
    window_->setOuterWidth(MainWindow::kWideWidth);
    QApplication::processEvents();
    auto* list = window_->clientArea()->findChild<QListWidget*>(QStringLiteral("列表框1"));
    struct Case {
        const char* where;
        QWidget* target;
        QPoint at;
        bool pops;
    };
    const Case cases[] = {
        {"精选11", control("精选11"), {10, 10}, true},
        {"列表框1", list->viewport(), {20, 20}, true},
        {"等级三21", control("等级三21"), {10, 10}, true},
        {"window background", window_->clientArea(), {4, 4}, true},
        {"分组框1", control("分组框1"), {436, 200}, true},
        {"标签10", control("标签10"), {10, 10}, true},
        {"标签5", control("标签5"), {10, 10}, true},
        {"下期精选号", control("下期精选号"), {10, 10}, true},
        {"号库显示", control("号库显示"), {10, 5}, true},
        {"标签3", control("标签3"), {20, 10}, true},
        {"精选12", control("精选12"), {10, 10}, false},
        {"等级一15", control("等级一15"), {10, 10}, false},
        {"等级三22", control("等级三22"), {10, 10}, false},
        {"① (精选1)", control("精选1"), {10, 10}, false},
        {"② (精选7)", control("精选7"), {10, 10}, false},
        {"推荐号码按钮", control("推荐号码按钮"), {10, 10}, false},
    };
    QMenu* popup = commands_->popupMenu();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        ASSERT_NE(c.target, nullptr);
        QTest::mousePress(c.target, Qt::RightButton, {}, c.at);
        QApplication::processEvents();
        EXPECT_EQ(popup->isVisible(), c.pops);
        if (c.pops) {
            // At the cursor, unless the screen's edge pushes it aside.
            const QPoint cursor = c.target->mapToGlobal(c.at);
            if (cursor.x() + popup->width() < c.target->screen()->geometry().right()) {
                EXPECT_EQ(popup->pos(), cursor);
            }
            popup->hide();
        } else {
            QTest::mouseRelease(c.target, Qt::RightButton, {}, c.at);
        }
    }
    // The left button does not pop it up.
    QTest::mousePress(control("精选11"), Qt::LeftButton, {}, {10, 10});
    EXPECT_FALSE(popup->isVisible());
    EXPECT_TRUE(urls_.opened.empty());
}

TEST_F(MenusTest, UpdateItemsAskForTheUpdateCheck) {
    QSignalSpy asked(window_.get(), &MainWindow::updateCheckRequested);
    item("检查更新")->trigger();
    EXPECT_EQ(asked.count(), 1);
    item("软件升级")->trigger();
    EXPECT_EQ(asked.count(), 2);
    EXPECT_TRUE(urls_.opened.empty());
}

TEST_F(MenusTest, SiteItemsAndFooterLinksOpenTheMakersAddresses) {
    const std::string site = makerHomeUrl(builtInSites());
    const std::string chat(maker::chatAddress);
    item("禾澄科技官方网站")->trigger();
    item("禾澄科技官网")->trigger();
    QTest::mousePress(control("透明标签1"), Qt::LeftButton, {}, {100, 10});
    QTest::mousePress(control("透明标签2"), Qt::LeftButton, {}, {20, 10});
    QTest::mousePress(control("透明标签2"), Qt::RightButton, {}, {20, 10}); // only the left button
    EXPECT_EQ(urls_.opened, (std::vector<std::string>{site, site, site, chat}));
    EXPECT_EQ(control("透明标签1")->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(site.rfind("http://", 0), 0u);
}

TEST_F(MenusTest, FooterAndSiteItemsShowTheAddressTheyOpen) {
    const QString site = QString::fromStdString(makerHomeUrl(builtInSites()));
    auto* footer = qobject_cast<FormLabel*>(control("标签3"));
    ASSERT_NE(footer, nullptr);
    EXPECT_TRUE(
        footer->text().contains(QString::fromStdString(builtInSites().maker) + QLatin1Char(' ')))
        << footer->text();
    EXPECT_EQ(control("透明标签1")->toolTip(), site);
    for (const char* caption : {"禾澄科技官方网站", "禾澄科技官网"}) {
        EXPECT_EQ(item(caption)->toolTip(), site) << caption;
        auto* menu = qobject_cast<QMenu*>(item(caption)->parent());
        ASSERT_NE(menu, nullptr);
        EXPECT_TRUE(menu->toolTipsVisible()) << caption;
    }
}

TEST_F(MenusTest, HelpItemsOpenTheHelpWindowAndKeepTheMainWindowUsable) {
    for (const char* caption : {"使用说明", "帮助"}) {
        SCOPED_TRACE(caption);
        item(caption)->trigger();
        HelpWindow* help = commands_->helpWindow();
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->isVisible());
        EXPECT_FALSE(help->isModal());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        // The main window takes typing while the help is open.
        auto* issue = window_->clientArea()->findChild<QLineEdit*>(QStringLiteral("期号框"));
        issue->clear();
        QTest::keyClicks(issue, QStringLiteral("25001"));
        EXPECT_EQ(issue->text(), QStringLiteral("25001"));

        // Chosen again while open: the same window comes to the front.
        item(caption)->trigger();
        EXPECT_EQ(commands_->helpWindow(), help);
        EXPECT_EQ(window_->findChildren<HelpWindow*>().size(), 1);
        help->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(commands_->helpWindow(), nullptr);
    }
    EXPECT_TRUE(filesIn(temp_).empty());
}

TEST_F(MenusTest, AboutItemsBlockTheMainWindowUntilClosed) {
    for (const char* caption : {"关于我们", "关于"}) {
        SCOPED_TRACE(caption);
        QWidget* modal = nullptr;
        bool download = false;
        QTimer::singleShot(0, window_.get(), [&] {
            modal = QApplication::activeModalWidget();
            auto* about = qobject_cast<AboutWindow*>(modal);
            ASSERT_NE(about, nullptr);
            auto* link = about->findChild<TransparentLabel*>(QStringLiteral("透明标签22"));
            QTest::mousePress(link, Qt::LeftButton, {}, {10, 8});
            download = !urls_.opened.empty() &&
                       link->toolTip() == QString::fromStdString(urls_.opened.front());
            QTest::mouseClick(about->findChild<ImageButton*>(QStringLiteral("关闭按钮")),
                              Qt::LeftButton);
        });
        item(caption)->trigger(); // returns once the about window is closed
        EXPECT_NE(modal, nullptr);
        EXPECT_TRUE(download);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_TRUE(window_->findChildren<AboutWindow*>().isEmpty());
        urls_.opened.clear();
    }
}

} // namespace
