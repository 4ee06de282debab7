// The trend chart (号码走势图): one row per draw, newest at the bottom; the
// issue, 35 front and 12 back columns; drawn numbers on coloured balls, the
// others' omissions in light grey; each number's statistics under the grid.
#pragma once

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QWidget>
#include <vector>

#include "history/trend.h"

class QButtonGroup;
class QTableView;

namespace dlt::gui {

// The grid over the newest draws of a trend table (all of them by default).
class TrendModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Column 0 is the issue; then the front numbers, then the back numbers.
    static constexpr int kIssueColumn = 0;
    static constexpr int kFirstFrontColumn = 1;
    static constexpr int kFirstBackColumn = kFirstFrontColumn + TrendTable::kFrontColumns;
    static constexpr int kColumnCount = 1 + TrendTable::kColumns;
    // True for a cell whose draw holds the number.
    static constexpr int kDrawnRole = Qt::UserRole + 1;

    explicit TrendModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    void setTable(TrendTable table);
    const TrendTable& table() const { return table_; }
    // Shows the newest `count` draws, or all of them when count is 0.
    void setShownDraws(int count);
    // Index in the table of the first row shown.
    int firstDraw() const { return first_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    TrendTable table_;
    int shown_ = 0;
    int first_ = 0;
};

// The statistics rows: times drawn, average, longest and current omission,
// longest run, for the draws the grid shows.
class TrendStatisticsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kRows = 5;

    explicit TrendStatisticsModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}
    void setStatistics(std::vector<NumberStatistics> statistics);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::vector<NumberStatistics> statistics_;
};

// Paints a drawn number as a red (front) or blue (back) ball.
class TrendBallDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

class TrendWindow : public QWidget {
    Q_OBJECT
public:
    // The draws as the store lists them (newest first).
    explicit TrendWindow(const std::vector<DrawRecord>& newestFirst, QWidget* parent = nullptr);

    // Shows another library (after an import), keeping the filter.
    void setDraws(const std::vector<DrawRecord>& newestFirst);

    TrendModel* model() const { return model_; }
    TrendStatisticsModel* statisticsModel() const { return statistics_; }
    QTableView* grid() const { return grid_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showNewest(int count);

    TrendModel* model_;
    TrendStatisticsModel* statistics_;
    QTableView* grid_;
    QTableView* statisticsView_;
    QButtonGroup* filters_;
};

} // namespace dlt::gui
