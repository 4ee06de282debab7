// The start-up sequence driven as the program drives it, with a scripted
// message box and a temporary secret folder.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>

#include "app/windows/intro_window.h"
#include "app/windows/main_window.h"
#include "app/ports/message_box.h"
#include "app/ports/platform.h"
#include "app/startup/program.h"
#include "app/startup/startup_sequence.h"
#include "app/windows/startup_window.h"
#include "app/form/form_widgets.h"
#include "storage/installation.h"
#include "core/draw_check.h"
#include "tests/support/window_support.h"

using namespace dlt;
using namespace dlt::gui;
using testsupport::RecordingMessages;

namespace {

// What a test sees of one start.
struct StartRecord {
    int introsShown = 0;
    QString introTitle;
    bool introModal = false;
    bool mainExistedDuringIntro = false;
    int mainShown = 0;
};

// Presses "下一步" (or closes the intro) as soon as the modal intro shows.
void pressNextWhenShown(StartupSequence& sequence, StartRecord& record,
                        bool useCloseButton = false) {
    QObject::connect(
        &sequence, &StartupSequence::introShown, &sequence,
        [&, useCloseButton](IntroWindow* intro) {
            ++record.introsShown;
            record.introTitle = intro->windowTitle();
            record.mainExistedDuringIntro = sequence.mainWindow() != nullptr;
            QTimer::singleShot(0, intro, [intro, useCloseButton, &record] {
                record.introModal = intro->isModal() && QApplication::activeModalWidget() == intro;
                if (useCloseButton)
                    intro->close();
                else
                    QTest::mouseClick(intro->findChild<QPushButton*>(QStringLiteral("按钮1")),
                                      Qt::LeftButton);
            });
        });
    QObject::connect(&sequence, &StartupSequence::mainWindowShown, &sequence,
                     [&](MainWindow*) { ++record.mainShown; });
}

class StartupSequenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        processState() = ProcessState{};
    }
    QString secretFolder() const { return dir_.path() + QStringLiteral("/secret"); }

    QTemporaryDir dir_;
    RecordingMessages messages_;
};

TEST_F(StartupSequenceTest, FirstStartGeneratesTheSecretShowsTheIntroThenTheMainWindow) {
    StartupSequence sequence(messages_, secretFolder(), toPath(dir_.path()));
    StartRecord record;
    pressNextWhenShown(sequence, record);
    ASSERT_TRUE(sequence.run());

    EXPECT_TRUE(messages_.shown.empty());
    const std::string secret = SecretStore(toPath(secretFolder())).read();
    EXPECT_EQ(secret.size(), 10000u);
    EXPECT_TRUE(isDigitText(secret));
    const ProcessState& state = processState();
    EXPECT_EQ(state.installationSecret, secret);
    EXPECT_EQ(state.installationKey.size(), 32u);
    EXPECT_EQ(state.productCode, "qvemtrod");

    EXPECT_EQ(record.introsShown, 1);
    EXPECT_EQ(record.introTitle, QStringLiteral("禾澄大乐透荐号器v3.1"));
    EXPECT_TRUE(record.introModal);
    EXPECT_FALSE(record.mainExistedDuringIntro);

    EXPECT_EQ(record.mainShown, 1);
    MainWindow* main = sequence.mainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->isVisible());
    // The menu bar adds to the window, not to the client area.
    // 648 is the outer width: the client area is 640 wide.
    EXPECT_EQ(main->clientArea()->size(), QSize(640, 392));
    EXPECT_EQ(main->menuBar()->actions().size(), 3);
    EXPECT_EQ(main->size(), QSize(640, 392 + main->menuBar()->height()));
    EXPECT_EQ(main->windowTitle(), QStringLiteral("禾澄大乐透荐号器 v3.1"));
    EXPECT_EQ(state.historyFileExtension, ".dll");
    EXPECT_EQ(main->historyDirectory(), toPath(dir_.path()));

    ASSERT_TRUE(QTest::qWaitForWindowActive(main));
    EXPECT_EQ(QApplication::focusWidget(), main->findChild<QLineEdit*>(QStringLiteral("期号框")));

    // The start-up window stays loaded and invisible; its browser was
    // pointed at the product page by the online steps.
    ASSERT_NE(sequence.startupWindow(), nullptr);
    EXPECT_FALSE(sequence.startupWindow()->isVisible());
    EXPECT_EQ(
        QString::fromStdString(sequence.startupWindow()->browser()->address()).section(u'/', 3),
        QStringLiteral("soft/qvemtrod/qvemtrod3.1.html"));
}

TEST_F(StartupSequenceTest, SecondStartKeepsTheSecretAndTheKey) {
    std::string firstKey;
    {
        StartupSequence first(messages_, secretFolder(), toPath(dir_.path()));
        StartRecord record;
        pressNextWhenShown(first, record);
        ASSERT_TRUE(first.run());
        firstKey = processState().installationKey;
    }
    const std::string kept = SecretStore(toPath(secretFolder())).read();
    processState() = ProcessState{};
    StartupSequence second(messages_, secretFolder(), toPath(dir_.path()));
    StartRecord record;
    pressNextWhenShown(second, record);
    ASSERT_TRUE(second.run());
    EXPECT_EQ(SecretStore(toPath(secretFolder())).read(), kept);
    EXPECT_EQ(processState().installationKey, firstKey);
    EXPECT_EQ(record.introsShown, 1);
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(StartupSequenceTest, ASecretOf9999DigitsIsReplaced) {
    ASSERT_EQ(SecretStore(toPath(secretFolder())).create(std::string(9999, '7')),
              Creation::Created);
    StartupSequence sequence(messages_, secretFolder(), toPath(dir_.path()));
    StartRecord record;
    pressNextWhenShown(sequence, record);
    ASSERT_TRUE(sequence.run());
    const std::string secret = SecretStore(toPath(secretFolder())).read();
    EXPECT_EQ(secret.size(), 10000u);
    EXPECT_NE(secret.substr(0, 9999), std::string(9999, '7'));
}

TEST_F(StartupSequenceTest, ClosingTheIntroAlsoGoesOnToTheMainWindow) {
    StartupSequence sequence(messages_, secretFolder(), toPath(dir_.path()));
    StartRecord record;
    pressNextWhenShown(sequence, record, true);
    ASSERT_TRUE(sequence.run());
    EXPECT_EQ(record.mainShown, 1);
    ASSERT_NE(sequence.mainWindow(), nullptr);
    EXPECT_TRUE(sequence.mainWindow()->isVisible());
}

TEST_F(StartupSequenceTest, UnwritableSecretFolderShowsTheFailureAndNoIntro) {
    // A folder under a plain file can be made by nobody, not even root.
    QFile blocker(dir_.path() + QStringLiteral("/blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    StartupSequence sequence(messages_, dir_.path() + QStringLiteral("/blocker/secret"),
                             toPath(dir_.path()));
    StartRecord record;
    pressNextWhenShown(sequence, record);
    EXPECT_FALSE(sequence.run());

    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(QString::fromStdString(messages_.shown[0].text),
              QStringLiteral("软件初始化失败：请重试！"));
    EXPECT_EQ(QString::fromStdString(messages_.shown[0].caption), QStringLiteral("错误"));
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Stop);
    EXPECT_EQ(messages_.shown[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(record.introsShown, 0);
    EXPECT_EQ(record.mainShown, 0);
    EXPECT_EQ(sequence.mainWindow(), nullptr);
}

TEST_F(StartupSequenceTest, ASecretThatCannotBeReadIsNamedWithWhyAndWhere) {
    // A folder where the secret's file should be: it is there, and no file.
    const QString folder = dir_.path() + QStringLiteral("/secret");
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/installation.secret")));
    StartupSequence sequence(messages_, folder, toPath(dir_.path()));
    StartRecord record;
    pressNextWhenShown(sequence, record);
    EXPECT_FALSE(sequence.run());

    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(
        QString::fromStdString(messages_.shown[0].text),
        QStringLiteral("软件初始化失败：请重试！\n无法读取保存安装密钥的文件（不是普通文件）：\n") +
            folder +
            QStringLiteral("/installation.secret\n"
                           "请检查此文件能否由当前用户读取，然后再启动程序。"));
    EXPECT_EQ(record.introsShown, 0);
}

TEST(KeyFailureText, SaysWhyTheSecretCannotBeRead) {
    const auto said = [](std::errc why) {
        return QString::fromStdString(
            keyFailureText({KeyOutcome::SecretUnreadable, std::make_error_code(why),
                            "/秘密/installation.secret"}));
    };
    EXPECT_EQ(
        said(std::errc::permission_denied),
        QStringLiteral("软件初始化失败：请重试！\n无法读取保存安装密钥的文件（没有读取权限）：\n"
                       "/秘密/installation.secret\n"
                       "请检查此文件能否由当前用户读取，然后再启动程序。"));
    EXPECT_TRUE(
        said(std::errc::io_error).contains(QStringLiteral("（读取出错：Input/output error）")));
    EXPECT_EQ(QString::fromStdString(keyFailureText({KeyOutcome::NotKept, {}, {}})),
              QStringLiteral("软件初始化失败：请重试！"));
}

// ---- The desktop's message box -------------------------------------------------

TEST(QtMessageBoxPortTest, ShowsTextCaptionIconAndButtons) {
    QtMessageBoxPort port;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = int(box->buttons().size());
        box->button(QMessageBox::Ok)->click();
    });
    const MessageAnswer answer =
        port.showMessage("软件初始化失败：请重试！", "错误", MessageIcon::Stop, MessageButtons::Ok);
    EXPECT_EQ(answer, MessageAnswer::Ok);
    EXPECT_EQ(title, QStringLiteral("错误"));
    EXPECT_EQ(text, QStringLiteral("软件初始化失败：请重试！"));
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, 1);

    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        buttons = int(box->buttons().size());
        icon = box->icon();
        box->button(QMessageBox::Cancel)->click();
    });
    EXPECT_EQ(port.showMessage("x", "y", MessageIcon::Question, MessageButtons::OkCancel),
              MessageAnswer::Cancel);
    EXPECT_EQ(buttons, 2);
    EXPECT_EQ(icon, QMessageBox::Question);
}

TEST(QtMessageBoxPortTest, IconsMapToTheDesktopsIcons) {
    EXPECT_EQ(toQtIcon(MessageIcon::Stop), QMessageBox::Critical);
    EXPECT_EQ(toQtIcon(MessageIcon::Question), QMessageBox::Question);
    EXPECT_EQ(toQtIcon(MessageIcon::Exclamation), QMessageBox::Warning);
    EXPECT_EQ(toQtIcon(MessageIcon::Information), QMessageBox::Information);
    EXPECT_EQ(toQtIcon(MessageIcon::None), QMessageBox::NoIcon);
}

} // namespace

// ---- The whole program ----------------------------------------------------------

namespace {

struct ProgramScript {
    int introsShown = 0;
    bool mainShown = false;
};

void scriptProgram(StartupSequence& sequence, ProgramScript* script) {
    QObject::connect(
        &sequence, &StartupSequence::introShown, &sequence, [script](IntroWindow* intro) {
            ++script->introsShown;
            QTimer::singleShot(0, intro, [intro] {
                QTest::mouseClick(intro->findChild<QPushButton*>(QStringLiteral("按钮1")),
                                  Qt::LeftButton);
            });
        });
    QObject::connect(&sequence, &StartupSequence::mainWindowShown, &sequence,
                     [script](MainWindow* window) {
                         script->mainShown = true;
                         // Once the message loop runs, the user closes the main window.
                         QTimer::singleShot(0, window, [window] { window->close(); });
                     });
}

TEST_F(StartupSequenceTest, ClosingTheMainWindowEndsTheProgramWithCodeZeroWritingNothing) {
    ProgramScript script;
    const QString history = dir_.path() + QStringLiteral("/program");
    ASSERT_TRUE(QDir().mkpath(history));
    EXPECT_EQ(runProgram(messages_, secretFolder(), toPath(history),
                         [&](StartupSequence& sequence) { scriptProgram(sequence, &script); }),
              0);
    EXPECT_EQ(script.introsShown, 1);
    EXPECT_TRUE(script.mainShown);
    EXPECT_TRUE(QDir(history).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
    EXPECT_TRUE(messages_.shown.empty());
}

// SIGTERM (a desktop session logging out) and SIGINT end the program as
// closing the main window does: code 0, nothing written.
TEST_F(StartupSequenceTest, ASignalToEndIsTakenAsClosingTheMainWindow) {
    for (const int sent : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(sent);
        processState() = ProcessState{};
        StartRecord record;
        const QString history = dir_.path() + QStringLiteral("/program%1").arg(sent);
        ASSERT_TRUE(QDir().mkpath(history));
        EXPECT_EQ(runProgram(messages_, secretFolder(), toPath(history),
                             [&](StartupSequence& sequence) {
                                 pressNextWhenShown(sequence, record);
                                 QObject::connect(&sequence, &StartupSequence::mainWindowShown,
                                                  &sequence, [sent](MainWindow* window) {
                                                      QTimer::singleShot(
                                                          0, window, [sent] { std::raise(sent); });
                                                  });
                             }),
                  0);
        EXPECT_EQ(record.mainShown, 1);
        EXPECT_TRUE(QDir(history).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
        EXPECT_TRUE(messages_.shown.empty());
    }
}

TEST_F(StartupSequenceTest, ASignalDuringTheIntroEndsTheStartThere) {
    bool mainShown = false;
    EXPECT_EQ(runProgram(messages_, secretFolder(), toPath(dir_.path()),
                         [&](StartupSequence& sequence) {
                             QObject::connect(&sequence, &StartupSequence::introShown, &sequence,
                                              [](IntroWindow* intro) {
                                                  QTimer::singleShot(0, intro,
                                                                     [] { std::raise(SIGTERM); });
                                              });
                             QObject::connect(&sequence, &StartupSequence::mainWindowShown,
                                              &sequence, [&](MainWindow*) { mainShown = true; });
                         }),
              0);
    EXPECT_FALSE(mainShown);
    EXPECT_EQ(SecretStore(toPath(secretFolder())).read().size(), 10000u) << "kept whole";
}

TEST_F(StartupSequenceTest, AFailedStartEndsTheProgramWithCodeZero) {
    QFile blocker(dir_.path() + QStringLiteral("/blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ProgramScript script;
    EXPECT_EQ(runProgram(messages_, dir_.path() + QStringLiteral("/blocker/x"), toPath(dir_.path()),
                         [&](StartupSequence& sequence) { scriptProgram(sequence, &script); }),
              0);
    EXPECT_EQ(script.introsShown, 0);
    EXPECT_EQ(messages_.shown.size(), 1u);
}

} // namespace
