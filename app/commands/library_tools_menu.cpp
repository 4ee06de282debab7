#include "app/commands/library_tools_menu.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QStandardPaths>

#include "app/ports/text.h"
#include "app/windows/backtest_window.h"
#include "app/windows/main_window.h"
#include "app/ports/platform.h"
#include "app/windows/ticket_window.h"
#include "app/windows/trend_window.h"
#include "core/texts.h"
#include "history/draw_details_store.h"
#include "history/library_transfer.h"
#include "online/library_sync.h"

namespace dlt::gui {

namespace {

QString textFilter() {
    return QStringLiteral("文本文件 (*.txt);;所有文件 (*)");
}

// History files from other programs: tables, text and JSON.
QString historyFileFilter() {
    return QStringLiteral("号码文件 (*.txt *.csv *.tsv *.json);;所有文件 (*)");
}

} // namespace

LibraryTools::LibraryTools(MainWindow& window)
    : QObject(&window), window_(window), messages_(window.messages()) {
    chooseSave_ = [this](const QString& suggested) {
        return QFileDialog::getSaveFileName(&window_, QStringLiteral("导出号库"), suggested,
                                            textFilter());
    };
    chooseOpen_ = [this](const QString& suggested) {
        return QFileDialog::getOpenFileName(&window_, QStringLiteral("导入号库"),
                                            QFileInfo(suggested).path(), historyFileFilter());
    };
}

LibraryTools::~LibraryTools() {
    // The tool windows are top-level; they go with the main window.
    delete trend_;
    delete backtest_;
    delete tickets_;
}

TrendWindow* LibraryTools::trendWindow() const {
    return trend_;
}

BacktestWindow* LibraryTools::backtestWindow() const {
    return backtest_;
}

TicketWindow* LibraryTools::ticketWindow() const {
    return tickets_;
}

QString LibraryTools::suggestedPath() const {
    const QString folder = lastFolder_.isEmpty()
                               ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                               : lastFolder_;
    return folder + QStringLiteral("/号库.txt");
}

void LibraryTools::openTrendWindow() {
    // The library may have changed since the window was last shown.
    const std::vector<DrawRecord> draws = window_.historyStore().drawsNewestFirst();
    if (trend_)
        trend_->setDraws(draws);
    else
        trend_ = new TrendWindow(draws);
    trend_->show();
    trend_->raise();
    trend_->activateWindow();
}

void LibraryTools::openBacktestWindow() {
    // Each opening walks the library as it is now.
    delete backtest_;
    const HistoryStore store = window_.historyStore();
    backtest_ = new BacktestWindow(
        store.loadColumn(columnKey::issue), store.loadColumn(columnKey::front),
        store.loadColumn(columnKey::back), DrawDetailsStore(window_.historyDirectory()).load());
    backtest_->setAttribute(Qt::WA_DeleteOnClose, true);
    backtest_->show();
}

void LibraryTools::openTicketWindow() {
    // The ticket book lives in the data folder, beside the library.
    const std::vector<DrawRecord> draws = window_.historyStore().drawsNewestFirst();
    if (tickets_)
        tickets_->setDraws(draws);
    else
        tickets_ = new TicketWindow(messages_, window_.historyDirectory(), draws);
    tickets_->show();
    tickets_->raise();
    tickets_->activateWindow();
}

void LibraryTools::libraryChanged() {
    window_.refreshHistorySummary();
    const std::vector<DrawRecord> draws = window_.historyStore().drawsNewestFirst();
    if (trend_)
        trend_->setDraws(draws);
    if (tickets_)
        tickets_->setDraws(draws);
}

void LibraryTools::exportLibrary() {
    const QString path = chooseSave_(suggestedPath());
    if (path.isEmpty())
        return;
    lastFolder_ = QFileInfo(path).absolutePath();
    dlt::exportLibrary(window_.historyStore(), toPath(path), messages_);
}

void LibraryTools::importLibrary() {
    // The library must not change under a running recommendation or fetch.
    if (window_.commandsBusy())
        return;
    const QString path = chooseOpen_(suggestedPath());
    if (path.isEmpty())
        return;
    lastFolder_ = QFileInfo(path).absolutePath();
    const ImportResult result = dlt::importLibrary(window_.historyStore(), toPath(path), messages_);
    if (result.outcome == ImportOutcome::Merged || result.outcome == ImportOutcome::Replaced)
        libraryChanged();
}

void LibraryTools::syncLatestDraws() {
    if (window_.commandsBusy())
        return;
    SyncResult result{SyncOutcome::Unreachable};
    {
        // The window stays alive during the downloads, but nothing may
        // change the library meanwhile. 取消, Esc or closing the main window
        // ends the downloads at once, and nothing is added.
        const BusyCommands busy(window_);
        ProgressRun run(window_, messages_, fromUtf8(text::syncCaption),
                        fromUtf8(text::syncInProgress));
        const SyncSources sources{sites_.official, drawFileUrl(sites_, window_.state()),
                                  resultsPageUrl(sites_), official_};
        result = dlt::syncLatestDraws(
            window_.historyStore(), DrawDetailsStore(window_.historyDirectory()), http_, sources,
            run.messages(), run.progressHook(), run.cancel(), run.yield());
    }
    if (result.outcome == SyncOutcome::Added)
        libraryChanged();
    else if (tickets_)
        tickets_->showDetails(); // the sync may have kept details only
}

void LibraryTools::completeDrawDetails() {
    if (window_.commandsBusy())
        return;
    const BusyCommands busy(window_);
    ProgressRun run(window_, messages_, fromUtf8(text::detailsCaption),
                    fromUtf8(text::detailsInProgress));
    dlt::completeDrawDetails(window_.historyStore(), DrawDetailsStore(window_.historyDirectory()),
                             http_, sites_.official, official_, run.messages(), run.progressHook(),
                             run.cancel(), run.yield());
    if (tickets_)
        tickets_->showDetails();
}

void LibraryTools::checkLibrary() {
    checkLibraryFiles(window_.historyStore(), messages_);
}

LibraryTools* addLibraryToolsMenu(MainWindow& window) {
    auto* tools = new LibraryTools(window);
    QMenu* menu = window.menuBar()->addMenu(fromUtf8(text::libraryToolsMenu));
    menu->setObjectName(fromUtf8(text::libraryToolsMenu));
    auto add = [&](std::string_view caption, void (LibraryTools::*command)()) {
        QAction* action = menu->addAction(fromUtf8(caption));
        action->setObjectName(fromUtf8(caption));
        QObject::connect(action, &QAction::triggered, tools, command);
        return action;
    };
    add(text::trendWindowName, &LibraryTools::openTrendWindow);
    add(text::backtestWindowName, &LibraryTools::openBacktestWindow);
    add(text::ticketWindowName, &LibraryTools::openTicketWindow);
    menu->addSeparator();
    add("导出号库...", &LibraryTools::exportLibrary);
    QAction* import = add("导入号库...", &LibraryTools::importLibrary);
    QAction* sync = add(text::syncCaption, &LibraryTools::syncLatestDraws);
    QAction* details = add(text::detailsCaption, &LibraryTools::completeDrawDetails);
    add(text::checkCaption, &LibraryTools::checkLibrary);
    // Nothing changes the library or its details while a run, a list filling
    // or a download is in progress.
    QObject::connect(menu, &QMenu::aboutToShow, tools, [import, sync, details, &window] {
        for (QAction* action : {import, sync, details})
            action->setEnabled(!window.commandsBusy());
    });
    return tools;
}

} // namespace dlt::gui
