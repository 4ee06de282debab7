// The main window's history and recommendation commands: the run, draw
// entry, the summary, deletion and the advanced area's list.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/form/form_widgets.h"
#include "app/ports/text.h"
#include "core/texts.h"
#include "app/windows/main_window.h"
#include "app/commands/recommendation_run.h"
#include "history/draw_text.h"
#include "history/history_commands.h"

namespace dlt::gui {

// The lengths of the two boxes add up to 19: with their limits of 5 and 14,
// both are full.
bool MainWindow::wholeDrawTyped() const {
    const qsizetype typed = controls_.issueBox->text().size() + controls_.numbersBox->text().size();
    return std::size_t(typed) == kIssueDigits + kNumbersLength;
}

void MainWindow::connectHistoryCommands() {
    auto* issue = controls_.issueBox;
    auto* numbers = controls_.numbersBox;
    connect(controls_.recommend, &QPushButton::clicked, this, &MainWindow::runRecommendation);
    connect(issue, &QLineEdit::textChanged, this, &MainWindow::issueChanged);
    connect(numbers, &QLineEdit::textChanged, this, &MainWindow::numbersChanged);
    // Enter in 号码框 adds whether or not the button is enabled: the
    // acceptance rule decides.
    connect(numbers, &QLineEdit::returnPressed, this, &MainWindow::addDrawFromForm);
    connect(controls_.confirm, &QPushButton::clicked, this, &MainWindow::addDrawFromForm);
    connect(controls_.deleteNewest, &QPushButton::clicked, this, &MainWindow::deleteNewestDraw);
    connect(controls_.advanced, &QPushButton::clicked, this, &MainWindow::toggleAdvancedArea);
}

void MainWindow::runRecommendation() {
    if (commandsBusy())
        return;
    RecommendationRun(*this, messages_).run();
}

void MainWindow::issueChanged() {
    auto* issue = controls_.issueBox;
    if (std::size_t(issue->text().size()) == kIssueDigits)
        controls_.numbersBox->setFocus();
}

void MainWindow::numbersChanged() {
    updateConfirmButton();
    if (!wholeDrawTyped() && controls_.numbersBox->text().isEmpty())
        controls_.issueBox->setFocus();
}

void MainWindow::updateConfirmButton() {
    // While a run or a list filling is in progress the button stays disabled;
    // the guard calls this again when it ends.
    if (commandsBusy())
        return;
    controls_.confirm->setEnabled(wholeDrawTyped());
}

void MainWindow::addDrawFromForm() {
    // Enter in 号码框 reaches here even while the button is disabled by a run.
    if (commandsBusy())
        return;
    auto* issue = controls_.issueBox;
    auto* numbers = controls_.numbersBox;
    const AddOutcome outcome =
        addTypedDraw(historyStore(), messages_, toUtf8(issue->text()), toUtf8(numbers->text()));
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
    controls_.summaryCount->setText(fromUtf8(summary.count));
    controls_.summaryNumbers->setText(fromUtf8(summary.numbers));
}

void MainWindow::toggleAdvancedArea() {
    if (commandsBusy())
        return;
    auto* button = controls_.advanced;
    if (outerWidth() != kNarrowWidth) {
        // Closing only narrows the window; the list keeps its lines.
        setOuterWidth(kNarrowWidth);
        button->setText(fromUtf8(text::showAdvanced));
        return;
    }
    auto* list = controls_.list;
    list->clear();
    setOuterWidth(kWideWidth);
    button->setText(fromUtf8(text::hideAdvanced));
    // Every opening reads the files anew, newest draw first.
    const BusyCommands busy(*this);
    const YieldHook yield = [this] { yieldToEvents(); };
    for (const DrawRecord& draw : historyStore().drawsNewestFirst()) {
        list->addItem(fromUtf8(historyListLine(draw.issue, draw.front, draw.back, yield)));
        yieldToEvents();
    }
}

} // namespace dlt::gui
