#include "app/startup/startup_sequence.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include "app/form/form_widgets.h"
#include "app/windows/intro_window.h"
#include "app/form/look.h"
#include "app/windows/main_window.h"
#include "app/commands/menus.h"
#include "app/ports/platform.h"
#include "app/windows/startup_window.h"
#include "app/ports/url_opener.h"
#include "core/encoding.h"
#include "core/process_state.h"
#include "core/texts.h"

namespace dlt::gui {

namespace {

// Why the kept secret cannot be read, in the user's words.
std::string unreadableReason(const std::error_code& why) {
    if (why == std::errc::permission_denied || why == std::errc::operation_not_permitted)
        return std::string(text::noReadPermission);
    if (why == std::errc::is_a_directory || why == std::errc::invalid_argument)
        return std::string(text::notAPlainFile);
    return fill(text::readError, {why.message()});
}

} // namespace

std::string keyFailureText(const KeyResult& result) {
    std::string message(text::initFailed);
    if (result.outcome == KeyOutcome::SecretUnreadable) {
        message += '\n';
        message +=
            fill(text::secretUnreadable, {unreadableReason(result.why), pathText(result.file)});
    }
    return message;
}

StartupSequence::StartupSequence(MessageBoxPort& messages, QString secretFolder,
                                 std::filesystem::path historyDirectory, QObject* parent)
    : QObject(parent), messages_(messages), secretFolder_(std::move(secretFolder)),
      historyDirectory_(std::move(historyDirectory)) {}

StartupSequence::~StartupSequence() {
    // The product page's visit uses the getter below: it ends first.
    startupWindow_.reset();
}

QString StartupSequence::defaultSecretFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

bool StartupSequence::run() {
    // The sequence runs as the invisible start-up window is created.
    startupWindow_ = std::make_unique<StartupWindow>();

    // The XP-style look in its blue colour scheme.
    applyXpLook(kXpSchemeBlue);

    ProcessState& state = processState();
    setProductIdentity(state);

    // The installation secret and key; events are processed while a new
    // secret is generated so the desktop does not think the program hung.
    const SecretStore store(toPath(secretFolder_));
    const YieldHook yield = [] { QCoreApplication::processEvents(); };
    if (const KeyResult key = establishInstallationKey(state, store, yield); !key.ready()) {
        messages_.showMessage(keyFailureText(key), std::string(text::errorCaption),
                              MessageIcon::Stop, MessageButtons::Ok);
        return false;
    }
    if (ending_)
        return false;

    // The intro window is modal: the main window waits for "下一步" (or its
    // close button).
    {
        IntroWindow intro(state);
        connect(&intro, &IntroWindow::shown, this, [this, &intro] { emit introShown(&intro); });
        intro.exec();
    }
    if (ending_)
        return false;

    // The main window's creation runs its set-up.
    mainWindow_ = std::make_unique<MainWindow>(state, historyDirectory_, messages_);
    connect(mainWindow_.get(), &MainWindow::closed, this, [this] { mainWindowClosed_.cancel(); });
    new FetchCommand(*mainWindow_, messages_, http_, sites_);
    // The menus, the right-click menu and the links; owned by the window.
    new MenuCommands(*mainWindow_, messages_, *opener_, toPath(QDir::tempPath()));
    mainWindow_->show();
    mainWindow_->activateWindow();
    emit mainWindowShown(mainWindow_.get());

    // The online steps wait until the main window is visible, so a slow
    // server never delays the first look at the program.
    runOnlineSteps();
    return true;
}

void StartupSequence::end() {
    ending_ = true;
    mainWindowClosed_.cancel();
    // A window waiting for an answer (the intro, a question) is closed: a
    // question answers its keeping button, as Esc does.
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows)
        if (window->isVisible() && window->isModal())
            window->close();
    // Then as the user closes it, which ends the message loop once it runs.
    if (mainWindow_)
        mainWindow_->close();
}

void StartupSequence::runOnlineSteps() {
    // The main window may have been closed while it was being shown.
    if (mainWindowClosed_.cancelled())
        return;
    const ProcessState& state = processState();
    // The product page is visited in the background: nothing is read back,
    // and closing the main window gives the visit up at once.
    HiddenBrowser* browser = startupWindow_->browser();
    browser->visit(productPageUrl(sites_, state), curl_);
    connect(mainWindow_.get(), &MainWindow::closed, browser, &HiddenBrowser::stop);
    updateCheck_ = std::make_unique<UpdateCheck>(state, sites_, messages_, *opener_);
    connect(mainWindow_.get(), &MainWindow::updateCheckRequested, this,
            [this] { updateCheck_->checkForUpdatesManually(); });
    // Closing the main window meanwhile ends the program: the download is
    // given up at once, and nothing is offered after it.
    updateCheck_->download(http_, mainWindowClosed_);
    if (!mainWindowClosed_.cancelled())
        updateCheck_->checkSilently();
}

} // namespace dlt::gui
