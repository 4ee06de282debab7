#include "app/gui/library_tools_menu.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QStandardPaths>

#include "app/gui/backtest_window.h"
#include "app/gui/gbk.h"
#include "app/gui/main_window.h"
#include "app/gui/platform.h"
#include "app/gui/ticket_window.h"
#include "app/gui/trend_window.h"
#include "core/texts.h"
#include "storage/file_io.h"
#include "history/library_text.h"

namespace dlt::gui {

namespace {

QString textFilter() {
    return QStringLiteral("文本文件 (*.txt);;所有文件 (*)");
}

// Why a line was refused, in the order of LineProblem.
constexpr std::string_view kLineProblems[] = {text::badLineFields, text::badLineIssue,
                                              text::badLineFront, text::badLineBack,
                                              text::badLineOrder};

// A bad line as the message shows it: its number, its content (shortened when
// long, in the message's GBK) and what is wrong with it.
std::string badLineMessage(const LibraryImport& read) {
    static constexpr int kShownCharacters = 60;
    QString content = QString::fromUtf8(read.badText.data(), qsizetype(read.badText.size()));
    if (content.size() > kShownCharacters)
        content = content.left(kShownCharacters) + QStringLiteral("...");
    return std::string(text::lineNumberPrefix) + std::to_string(read.badLine) +
           std::string(text::badLineSuffix) + toGbk(content) + "\n" +
           std::string(kLineProblems[static_cast<int>(read.problem)]) + "\n" +
           std::string(text::libraryUnchanged);
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
                                            QFileInfo(suggested).path(), textFilter());
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
    backtest_ =
        new BacktestWindow(store.loadColumn(columnKey::issue), store.loadColumn(columnKey::front),
                           store.loadColumn(columnKey::back));
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

void LibraryTools::refuse(std::string_view message) {
    messages_.showMessage(std::string(message), std::string(text::refusedCaption),
                          MessageIcon::Stop, MessageButtons::Ok);
}

void LibraryTools::reportDone(std::string_view prefix, std::size_t draws) {
    messages_.showMessage(
        std::string(prefix) + std::to_string(draws) + std::string(text::drawsSuffix),
        std::string(text::successCaption), MessageIcon::Information, MessageButtons::Ok);
}

void LibraryTools::exportLibrary() {
    const QString path = chooseSave_(suggestedPath());
    if (path.isEmpty())
        return;
    lastFolder_ = QFileInfo(path).absolutePath();
    const std::vector<DrawRecord> draws = window_.historyStore().drawsNewestFirst();
    if (!replaceFileDurably(toPath(path), libraryText(draws))) {
        refuse(text::exportFailed);
        return;
    }
    reportDone(text::exportDonePrefix, draws.size());
}

void LibraryTools::importLibrary() {
    // The library must not change under a running recommendation or fetch.
    if (window_.commandsBusy())
        return;
    const QString path = chooseOpen_(suggestedPath());
    if (path.isEmpty())
        return;
    lastFolder_ = QFileInfo(path).absolutePath();
    // A library of every draw ever made is well under a megabyte.
    static constexpr std::uintmax_t kLargestImport = 16u << 20;
    const FileRead file = readFile(toPath(path), kLargestImport);
    if (file.status != FileRead::Status::Read) {
        refuse(text::importUnreadable);
        return;
    }
    const LibraryImport read = parseLibraryText(file.bytes);
    if (!read.ok()) {
        refuse(badLineMessage(read));
        return;
    }
    if (read.newestFirst.empty()) {
        refuse(text::importEmpty);
        return;
    }
    const HistoryStore store = window_.historyStore();
    const std::string question =
        std::string(text::importQuestionPrefix) + std::to_string(read.newestFirst.size()) +
        std::string(text::importQuestionMiddle) + std::to_string(store.drawCount()) +
        std::string(text::importQuestionSuffix);
    if (messages_.showMessage(question, std::string(text::attentionCaption), MessageIcon::Question,
                              MessageButtons::OkCancel) != MessageAnswer::Ok)
        return;
    const HistoryColumns columns = columnsOf(read.newestFirst);
    if (!store.replaceHistory(columns.issues, columns.fronts, columns.backs)) {
        refuse(text::importWriteFailed);
        return;
    }
    window_.refreshHistorySummary();
    if (trend_)
        trend_->setDraws(store.drawsNewestFirst());
    if (tickets_)
        tickets_->setDraws(store.drawsNewestFirst());
    reportDone(text::importDonePrefix, read.newestFirst.size());
}

LibraryTools* addLibraryToolsMenu(MainWindow& window) {
    auto* tools = new LibraryTools(window);
    QMenu* menu = window.menuBar()->addMenu(QStringLiteral("号库工具"));
    menu->setObjectName(QStringLiteral("号库工具"));
    auto add = [&](const char* caption, void (LibraryTools::*command)()) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromUtf8(caption));
        QObject::connect(action, &QAction::triggered, tools, command);
        return action;
    };
    add("号码走势图", &LibraryTools::openTrendWindow);
    add("历史回测", &LibraryTools::openBacktestWindow);
    add("兑奖", &LibraryTools::openTicketWindow);
    menu->addSeparator();
    add("导出号库...", &LibraryTools::exportLibrary);
    QAction* import = add("导入号库...", &LibraryTools::importLibrary);
    // No import while a run, a list filling or a fetch is in progress.
    QObject::connect(menu, &QMenu::aboutToShow, tools,
                     [import, &window] { import->setEnabled(!window.commandsBusy()); });
    return tools;
}

} // namespace dlt::gui
