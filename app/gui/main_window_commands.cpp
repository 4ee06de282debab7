// The main window's history and recommendation commands: the run, draw
// entry, the summary, deletion and the advanced area's list.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/gui/gbk.h"
#include "app/gui/main_window.h"
#include "app/gui/recommendation_run.h"
#include "history/draw_text.h"
#include "history/history_commands.h"

namespace dlt::gui {

namespace {

template <class T> T* named(QWidget* client, const char* name) {
    return client->findChild<T*>(QString::fromUtf8(name));
}

// The lengths of the two boxes add up to 19: with their limits of 5 and 14,
// both are full.
bool wholeDrawTyped(QWidget* client) {
    const qsizetype typed = named<QLineEdit>(client, "期号框")->text().size() +
                            named<QLineEdit>(client, "号码框")->text().size();
    return std::size_t(typed) == kIssueLength + kNumbersLength;
}

} // namespace

void MainWindow::connectHistoryCommands() {
    auto* issue = named<QLineEdit>(client_, "期号框");
    auto* numbers = named<QLineEdit>(client_, "号码框");
    connect(named<QPushButton>(client_, "推荐号码按钮"), &QPushButton::clicked, this,
            &MainWindow::runRecommendation);
    connect(issue, &QLineEdit::textChanged, this, &MainWindow::issueChanged);
    connect(numbers, &QLineEdit::textChanged, this, &MainWindow::numbersChanged);
    // Enter in 号码框 adds whether or not the button is enabled: the
    // acceptance rule decides.
    connect(numbers, &QLineEdit::returnPressed, this, &MainWindow::addDrawFromForm);
    connect(named<QPushButton>(client_, "确认输入按钮"), &QPushButton::clicked, this,
            &MainWindow::addDrawFromForm);
    connect(named<QPushButton>(client_, "清除上期号按钮"), &QPushButton::clicked, this,
            &MainWindow::deleteNewestDraw);
    connect(named<QPushButton>(client_, "展开高级功能按钮"), &QPushButton::clicked, this,
            &MainWindow::toggleAdvancedArea);
}

void MainWindow::runRecommendation() {
    if (commandsBusy())
        return;
    RecommendationRun(*this, messages_).run();
}

void MainWindow::issueChanged() {
    auto* issue = named<QLineEdit>(client_, "期号框");
    if (std::size_t(issue->text().size()) == kIssueLength)
        named<QLineEdit>(client_, "号码框")->setFocus();
}

void MainWindow::numbersChanged() {
    updateConfirmButton();
    if (!wholeDrawTyped(client_) && named<QLineEdit>(client_, "号码框")->text().isEmpty())
        named<QLineEdit>(client_, "期号框")->setFocus();
}

void MainWindow::updateConfirmButton() {
    // While a run or a list filling is in progress the button stays disabled;
    // the guard calls this again when it ends.
    if (commandsBusy())
        return;
    named<QPushButton>(client_, "确认输入按钮")->setEnabled(wholeDrawTyped(client_));
}

void MainWindow::addDrawFromForm() {
    // Enter in 号码框 reaches here even while the button is disabled by a run.
    if (commandsBusy())
        return;
    auto* issue = named<QLineEdit>(client_, "期号框");
    auto* numbers = named<QLineEdit>(client_, "号码框");
    const AddOutcome outcome =
        addTypedDraw(historyStore(), messages_, toGbk(issue->text()), toGbk(numbers->text()));
    // A rejected or unsaved draw stays in the boxes, so nothing typed is lost.
    if (outcome != AddOutcome::Added)
        return;
    numbers->clear();
    issue->clear();
    issue->setFocus();
    refreshHistorySummary();
}

void MainWindow::deleteNewestDraw() {
    if (commandsBusy())
        return;
    if (dlt::deleteNewestDraw(historyStore(), messages_) == DeleteOutcome::Deleted)
        refreshHistorySummary();
}

void MainWindow::refreshHistorySummary() {
    const SummaryLines summary = historySummary(historyStore(), [this] { yieldToEvents(); });
    named<QLabel>(client_, "号库显示")->setText(fromGbk(summary.count));
    named<QLabel>(client_, "上期号码")->setText(fromGbk(summary.numbers));
}

void MainWindow::toggleAdvancedArea() {
    if (commandsBusy())
        return;
    auto* button = named<QPushButton>(client_, "展开高级功能按钮");
    if (clientWidth() != kNarrowWidth) {
        // Closing only narrows the window; the list keeps its lines.
        setClientWidth(kNarrowWidth);
        button->setText(QStringLiteral("展开高级功能"));
        return;
    }
    auto* list = named<QListWidget>(client_, "列表框1");
    list->clear();
    setClientWidth(kWideWidth);
    button->setText(QStringLiteral("收回高级功能"));
    // Every opening reads the files anew, newest draw first.
    const BusyCommands busy(*this);
    const YieldHook yield = [this] { yieldToEvents(); };
    for (const DrawRecord& draw : historyStore().drawsNewestFirst()) {
        list->addItem(fromGbk(historyListLine(draw.issue, draw.front, draw.back, yield)));
        yieldToEvents();
    }
}

} // namespace dlt::gui
