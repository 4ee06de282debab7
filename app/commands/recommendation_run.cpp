#include "app/commands/recommendation_run.h"

#include <QLabel>

#include "app/form/form_widgets.h"
#include "app/ports/text.h"
#include "app/windows/main_window.h"
#include "core/process_state.h"
#include "core/texts.h"
#include "history/draw_text.h"

namespace dlt::gui {

namespace {

constexpr std::size_t kFirstBackCell = kLotteryRules.front.picksPerDraw;

// The last two characters of "0" and the number: 5 gives 05, a missing pick
// (0) gives 00.
QString twoDigits(int pick) {
    return QStringLiteral("0%1").arg(pick).right(2);
}

} // namespace

RecommendationRun::RecommendationRun(MainWindow& window, MessageBoxPort& messages)
    : window_(window), messages_(messages) {
    for (std::size_t r = 0; r < rows_.size(); ++r)
        for (std::size_t c = 0; c < rows_[r].size(); ++c)
            rows_[r][c] = window_.controls().cells[r][c];
    picks_ = window_.controls().picks;
}

void RecommendationRun::run() {
    const BusyCommands busy(window_);
    const QString placeholder = fromUtf8(text::recommendingCell);
    for (const Row& row : rows_)
        for (QLabel* cell : row)
            cell->setText(placeholder);
    picks_->setText(fromUtf8(text::recommendingPicks));
    // The back zone runs whatever the front zone's outcome.
    runZone(Zone::Front);
    runZone(Zone::Back);
}

void RecommendationRun::runZone(Zone zone) {
    const ZoneRules& rules = rulesFor(zone);
    // Read at the start of the zone: a run works on what is stored now.
    const ZoneText history = window_.historyStore().loadColumn(rules.zoneKey);
    const ZoneOutcome outcome =
        computeZone(rules, history, *this, [this] { window_.yieldToEvents(); });
    if (const auto* refused = std::get_if<InsufficientHistory>(&outcome)) {
        const std::string message =
            fill(text::shortHistory, {numberText(double(refused->minimumDraws))});
        messages_.showMessage(message, std::string(text::cannotRecommendCaption),
                              MessageIcon::Information, MessageButtons::Ok);
    }
}

void RecommendationRun::showGroups(Zone zone, ResultLevel level, const GroupSet& groups) {
    const Row& row = rows_[std::size_t(level)];
    const std::size_t first = zone == Zone::Front ? 0 : kFirstBackCell;
    for (std::size_t g = 0; g < groups.size() && first + g < row.size(); ++g) {
        row[first + g]->setText(fromUtf8(formatNumberGroups(groups[g])));
        window_.yieldToEvents();
    }
}

void RecommendationRun::showNextDrawPicks(Zone zone, const std::vector<int>& picks) {
    // The front picks start the line afresh; the back picks are appended to
    // whatever it shows (the placeholder when the front zone was refused).
    if (zone == Zone::Front)
        picks_->clear();
    for (std::size_t i = 0; i < picks.size(); ++i) {
        const char* separator = i > 0 ? " " : zone == Zone::Front ? "" : "  ";
        picks_->setText(picks_->text() + QString::fromLatin1(separator) + twoDigits(picks[i]));
        window_.yieldToEvents();
    }
}

} // namespace dlt::gui
