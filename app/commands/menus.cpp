#include "app/commands/menus.h"

#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>

#include "app/windows/about_window.h"
#include "app/form/form_widgets.h"
#include "app/windows/help_window.h"
#include "app/commands/library_tools_menu.h"
#include "app/windows/main_window.h"
#include "app/startup/maker.h"
#include "app/ports/text.h"
#include "core/texts.h"
#include "online/sites.h"

namespace dlt::gui {

namespace {

QAction* addItem(QMenu* menu, const QString& caption) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(caption);
    return item;
}

// The maker's site item names, as its tip, the address it opens.
QAction* addSiteItem(QMenu* menu, const QString& caption) {
    QAction* item = addItem(menu, caption);
    item->setToolTip(QString::fromStdString(makerHomeUrl(builtInSites())));
    menu->setToolTipsVisible(true);
    return item;
}

QMenu* addMenu(QMenuBar* bar, const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(caption);
    return menu;
}

// The controls whose right button pops up the menu: the group boxes, the
// row and column headers (not the column numbers 精选1..精选7), the labels of
// the entry area, the footer and the cells of columns 11 and 21. The window
// background and the list come on top.

} // namespace

MenuCommands::MenuCommands(MainWindow& window, MessageBoxPort& messages, UrlOpener& urls,
                           std::filesystem::path temporaryFolder)
    : QObject(&window), window_(window), messages_(messages), urls_(urls),
      temporaryFolder_(std::move(temporaryFolder)) {
    setObjectName(QStringLiteral("MenuCommands"));
    buildMenuBar();
    // The program's own tools come after the menus the program always had.
    addLibraryToolsMenu(window_);
    buildPopupMenu();
    hookRightButton();
    hookFooterLinks();
    // The menu bar adds to the window, not to the client area.
    window_.setOuterWidth(window_.outerWidth());
}

void MenuCommands::buildMenuBar() {
    QMenuBar* bar = window_.menuBar();
    QMenu* update = addMenu(bar, fromUtf8(text::updateMenu));
    connect(addItem(update, QStringLiteral("检查更新")), &QAction::triggered, this,
            &MenuCommands::checkForUpdatesManually);
    update->addSeparator();
    connect(addSiteItem(update, QStringLiteral("禾澄科技官方网站")), &QAction::triggered, this,
            &MenuCommands::openMakerSite);

    QMenu* help = addMenu(bar, fromUtf8(text::helpMenu));
    connect(addItem(help, QStringLiteral("使用说明")), &QAction::triggered, this,
            &MenuCommands::showHelpWindow);
    help->addSeparator();
    connect(addItem(help, QStringLiteral("关于我们")), &QAction::triggered, this,
            &MenuCommands::showAboutWindow);
}

void MenuCommands::buildPopupMenu() {
    // Never on the menu bar: it exists only to be popped up.
    popup_ = new QMenu(&window_);
    popup_->setObjectName(QStringLiteral("PopupMenu"));
    connect(addItem(popup_, QStringLiteral("软件升级")), &QAction::triggered, this,
            &MenuCommands::checkForUpdatesManually);
    connect(addSiteItem(popup_, QStringLiteral("禾澄科技官网")), &QAction::triggered, this,
            &MenuCommands::openMakerSite);
    popup_->addSeparator();
    connect(addItem(popup_, QStringLiteral("帮助")), &QAction::triggered, this,
            &MenuCommands::showHelpWindow);
    connect(addItem(popup_, QStringLiteral("关于")), &QAction::triggered, this,
            &MenuCommands::showAboutWindow);
}

void MenuCommands::hookRightButton() {
    QList<QObject*> controls{window_.clientArea()};
    controls << window_.controls().list->viewport(); // the list's items receive the presses there
    for (QWidget* control : window_.controls().popupTargets)
        controls << control;
    for (QObject* control : controls) {
        control->installEventFilter(this);
        popupControls_.insert(control);
    }
}

void MenuCommands::hookFooterLinks() {
    const std::pair<TransparentLabel*, void (MenuCommands::*)()> links[] = {
        {window_.controls().siteLink, &MenuCommands::openMakerSite},
        {window_.controls().chatLink, &MenuCommands::openMakerChat},
    };
    for (const auto& [label, command] : links) {
        connect(label, &FormLabel::pressed, this, [this, command](Qt::MouseButton button) {
            if (button == Qt::LeftButton)
                (this->*command)();
        });
    }
}

bool MenuCommands::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress || !popupControls_.contains(watched))
        return QObject::eventFilter(watched, event);
    auto* press = static_cast<QMouseEvent*>(event);
    auto* control = static_cast<QWidget*>(watched);
    // A press that a child left unhandled comes up to its parent; only a
    // press on the control itself (no child under it) pops up the menu.
    if (press->button() != Qt::RightButton || control->childAt(press->position().toPoint()))
        return QObject::eventFilter(watched, event);
    showPopupMenu(press->globalPosition().toPoint());
    return true;
}

void MenuCommands::checkForUpdatesManually() {
    emit window_.updateCheckRequested();
}

void MenuCommands::openMakerSite() {
    urls_.openUrl(makerHomeUrl(builtInSites()));
}

void MenuCommands::openMakerChat() {
    urls_.openUrl(std::string(maker::chatAddress));
}

void MenuCommands::showHelpWindow() {
    if (help_) {
        help_->show();
        help_->raise();
        help_->activateWindow();
        return;
    }
    auto* help = new HelpWindow(&window_);
    help->setAttribute(Qt::WA_DeleteOnClose);
    if (!help->openGuide(window_.state(), messages_, temporaryFolder_))
        return; // the message has been shown and the window closed
    help_ = help;
    help->show();
}

void MenuCommands::showAboutWindow() {
    AboutWindow about(window_.state(), &window_);
    connect(&about, &AboutWindow::downloadRequested, this, &MenuCommands::openMakerSite);
    about.exec();
}

void MenuCommands::showPopupMenu(const QPoint& globalPosition) {
    popup_->popup(globalPosition);
}

} // namespace dlt::gui
