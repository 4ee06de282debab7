#include "app/gui/startup_sequence.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include "app/gui/intro_window.h"
#include "app/gui/look.h"
#include "app/gui/main_window.h"
#include "app/gui/menus.h"
#include "app/gui/platform.h"
#include "app/gui/startup_window.h"
#include "app/gui/url_opener.h"
#include "core/installation.h"
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

    // 1. The XP-style look, colour scheme 1.
    applyXpLook(kXpSchemeBlue);

    // 2. Product identity.
    ProcessState& state = processState();
    setProductIdentity(state);

    // 3-5. The installation secret and key; events are processed while a
    // new secret is generated.
    const SecretStore store(toPath(secretFolder_));
    const YieldHook yield = [] { QCoreApplication::processEvents(); };
    if (!establishInstallationKey(state, store, messages_, yield))
        return false;

    // 6. The intro window, modal, until "下一步" (or its close button).
    {
        IntroWindow intro(state);
        connect(&intro, &IntroWindow::shown, this, [this, &intro] { emit introShown(&intro); });
        intro.exec();
    }

    // 7. The main window, non-modal and visible; its creation runs its set-up.
    mainWindow_ = std::make_unique<MainWindow>(state, historyDirectory_);
    // The menus, the right-click menu and the links; owned by the window.
    new MenuCommands(*mainWindow_, messages_, desktopUrlOpener(), toPath(QDir::tempPath()));
    mainWindow_->show();
    mainWindow_->activateWindow();
    emit mainWindowShown(mainWindow_.get());
    return true;
}

} // namespace dlt::gui
