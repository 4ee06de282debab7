// The main window's menu bar ("升级更新", "软件帮助"), its hidden right-click
// menu `PopupMenu`, the footer links and the commands behind them.
#pragma once

#include <QObject>
#include <QPointer>
#include <QSet>
#include <filesystem>

#include "app/windows/help_window.h"
#include "core/ports.h"

class QMenu;
class QPoint;

namespace dlt::gui {

class MainWindow;

class MenuCommands : public QObject {
    Q_OBJECT
public:
    // Builds the menus on window and hooks up the right button of the
    // controls that carry the pop-up menu and the footer links. messages
    // shows the help window's failure; urls opens the maker's addresses;
    // the guide is written into temporaryFolder.
    MenuCommands(MainWindow& window, MessageBoxPort& messages, UrlOpener& urls,
                 std::filesystem::path temporaryFolder);

    // The update check the user asked for: MainWindow::updateCheckRequested.
    void checkForUpdatesManually();
    void openMakerSite();
    void openMakerChat();
    // Non-modal; when the help window is already open it comes to the front.
    void showHelpWindow();
    // Modal: the main window is blocked until the about window is closed.
    void showAboutWindow();
    // PopupMenu at a point of the screen; the chosen item runs its command.
    void showPopupMenu(const QPoint& globalPosition);

    QMenu* popupMenu() const { return popup_; }
    HelpWindow* helpWindow() const { return help_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenuBar();
    void buildPopupMenu();
    void hookRightButton();
    void hookFooterLinks();

    MainWindow& window_;
    MessageBoxPort& messages_;
    UrlOpener& urls_;
    std::filesystem::path temporaryFolder_;
    QMenu* popup_ = nullptr;
    QPointer<HelpWindow> help_;
    QSet<QObject*> popupControls_;
};

} // namespace dlt::gui
