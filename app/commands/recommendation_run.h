// What happens when 推荐号码按钮 is clicked: the result grid shows its
// placeholders, then fills row by row as the engine hands over each list,
// first for the front zone, then for the back zone.
#pragma once

#include <array>

#include "core/ports.h"
#include "engine/engine.h"

class QLabel;

namespace dlt::gui {

class MainWindow;

class RecommendationRun : public ResultSink {
public:
    RecommendationRun(MainWindow& window, MessageBoxPort& messages);

    // The whole run, from the placeholders to the last cell. The commands
    // that start a run or change the history are disabled meanwhile.
    void run();

    // Each group of a row into its cell (tokens joined by one space; an
    // empty group empties the cell), each write followed by yieldToEvents.
    void showGroups(Zone zone, ResultLevel level, const GroupSet& groups) override;
    // The front picks replace the next-draw line; the back picks follow
    // them after two spaces.
    void showNextDrawPicks(Zone zone, const std::vector<int>& picks) override;

private:
    // The row's cells: front groups 1..5, then back groups 1 and 2.
    using Row = std::array<QLabel*, 7>;

    void runZone(Zone zone);

    MainWindow& window_;
    MessageBoxPort& messages_;
    // In the order 精选, 等级一, 等级二, 等级三, as ResultLevel counts them.
    std::array<Row, 4> rows_{};
    QLabel* picks_ = nullptr;
};

} // namespace dlt::gui
