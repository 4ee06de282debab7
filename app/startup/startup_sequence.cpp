#include "app/startup/startup_sequence.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QUrl>
#include <QWebEngineView>

#include "app/form/form_widgets.h"
#include "app/ports/gbk.h"
#include "app/windows/intro_window.h"
#include "app/form/look.h"
#include "app/windows/main_window.h"
#include "app/commands/menus.h"
#include "app/ports/platform.h"
#include "app/windows/startup_window.h"
#include "app/ports/url_opener.h"
#include "storage/installation.h"
#include "core/process_state.h"

namespace dlt::gui {

StartupSequence::StartupSequence(MessageBoxPort& messages, QString secretFolder,
                                 std::filesystem::path historyDirectory, QObject* parent)
    : QObject(parent), messages_(messages), secretFolder_(std::move(secretFolder)),
      historyDirectory_(std::move(historyDirectory)) {}

StartupSequence::~StartupSequence() = default;

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
    // A path in a message is shown as the desktop spells it.
    const PathText pathText = [](const std::filesystem::path& path) {
        return toGbk(fromPath(path));
    };
    if (!establishInstallationKey(state, store, messages_, yield, pathText) || ending_)
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
    // The browser engine starts here, not earlier: nothing is read back.
    startupWindow_->browser()->view()->setUrl(
        QUrl::fromEncoded(QByteArray::fromStdString(productPageUrl(sites_, state))));
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
