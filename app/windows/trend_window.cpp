#include "app/windows/trend_window.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include "app/form/form_widgets.h"
#include "app/ports/text.h"
#include "core/texts.h"
#include "app/form/look.h"

namespace dlt::gui {

namespace {

const QColor kFrontBall(0xE0, 0x26, 0x2B);
const QColor kBackBall(0x1E, 0x5A, 0xC8);
const QColor kOmission(0xB4, 0xB4, 0xB4);
const QColor kBackShade(0xF2, 0xF6, 0xFF);
constexpr int kRowHeight = 20;
constexpr int kNumberWidth = 26;
constexpr int kIssueWidth = 64;

QString twoDigits(int v) {
    return QStringLiteral("%1").arg(v, 2, 10, QChar(u'0'));
}

// The number a column stands for (1..35 front, 1..12 back).
int numberOf(int tableColumn) {
    return tableColumn < TrendTable::kFrontColumns ? tableColumn + 1
                                                   : tableColumn - TrendTable::kFrontColumns + 1;
}

// Fixed row and column sizes: the views then never measure their contents,
// and only the rows in sight are painted.
void fixSizes(QTableView* view) {
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setMinimumSectionSize(kRowHeight);
    view->verticalHeader()->setDefaultSectionSize(kRowHeight);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->horizontalHeader()->setMinimumSectionSize(kNumberWidth);
    view->horizontalHeader()->setDefaultSectionSize(kNumberWidth);
    view->horizontalHeader()->resizeSection(TrendModel::kIssueColumn, kIssueWidth);
    view->setSelectionMode(QAbstractItemView::NoSelection);
    view->setFocusPolicy(Qt::NoFocus);
    // Counts of three digits fill a number column; they are shown whole.
    view->setTextElideMode(Qt::ElideNone);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

} // namespace

void TrendModel::setTable(TrendTable table) {
    beginResetModel();
    table_ = std::move(table);
    first_ = shown_ > 0 ? std::max(table_.draws() - shown_, 0) : 0;
    endResetModel();
}

void TrendModel::setShownDraws(int count) {
    beginResetModel();
    shown_ = count;
    first_ = count > 0 ? std::max(table_.draws() - count, 0) : 0;
    endResetModel();
}

int TrendModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.draws() - first_;
}

int TrendModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant TrendModel::data(const QModelIndex& index, int role) const {
    const int draw = first_ + index.row();
    if (index.column() == kIssueColumn) {
        if (role == Qt::DisplayRole)
            return fromUtf8(table_.issues[static_cast<std::size_t>(draw)]);
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        return {};
    }
    const int column = index.column() - kFirstFrontColumn;
    const TrendCell& cell = table_.cell(draw, column);
    switch (role) {
    case Qt::DisplayRole:
        if (!cell.known)
            return QString();
        return cell.drawn ? twoDigits(numberOf(column)) : QString::number(cell.omission);
    case kDrawnRole:
        return cell.known && cell.drawn;
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::ForegroundRole:
        return cell.drawn ? QColor(Qt::white) : kOmission;
    case Qt::BackgroundRole:
        return index.column() >= kFirstBackColumn ? QVariant(kBackShade) : QVariant();
    default:
        return {};
    }
}

QVariant TrendModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == kIssueColumn)
        return fromUtf8(text::issueHead);
    return twoDigits(numberOf(section - kFirstFrontColumn));
}

void TrendStatisticsModel::setStatistics(std::vector<NumberStatistics> statistics) {
    beginResetModel();
    statistics_ = std::move(statistics);
    endResetModel();
}

int TrendStatisticsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kRows;
}

int TrendStatisticsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : TrendModel::kColumnCount;
}

QVariant TrendStatisticsModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role == Qt::BackgroundRole && index.column() >= TrendModel::kFirstBackColumn)
        return kBackShade;
    if (role != Qt::DisplayRole)
        return {};
    if (index.column() == TrendModel::kIssueColumn) {
        static const char* const names[kRows] = {"出现次数", "平均遗漏", "最大遗漏", "当前遗漏",
                                                 "最大连出"};
        return QString::fromUtf8(names[index.row()]);
    }
    const std::size_t column =
        static_cast<std::size_t>(index.column() - TrendModel::kFirstFrontColumn);
    if (column >= statistics_.size())
        return QString();
    const NumberStatistics& s = statistics_[column];
    const int values[kRows] = {s.timesDrawn, s.averageOmission, s.longestOmission,
                               s.currentOmission, s.longestRun};
    return values[index.row()];
}

void TrendBallDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    if (!index.data(TrendModel::kDrawnRole).toBool()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    if (const QVariant shade = index.data(Qt::BackgroundRole); shade.isValid())
        painter->fillRect(option.rect, shade.value<QColor>());
    const int side = std::min(option.rect.width(), option.rect.height()) - 2;
    const QRect ball(option.rect.center().x() - side / 2, option.rect.center().y() - side / 2, side,
                     side);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen(Qt::NoPen);
    painter->setBrush(index.column() >= TrendModel::kFirstBackColumn ? kBackBall : kFrontBall);
    painter->drawEllipse(ball);
    painter->setPen(Qt::white);
    QFont bold = option.font;
    bold.setBold(true);
    painter->setFont(bold);
    painter->drawText(option.rect, Qt::AlignCenter, index.data(Qt::DisplayRole).toString());
    painter->restore();
}

TrendWindow::TrendWindow(const std::vector<DrawRecord>& newestFirst, QWidget* parent)
    : QWidget(parent, Qt::Window), model_(new TrendModel(this)),
      statistics_(new TrendStatisticsModel(this)), grid_(new QTableView(this)),
      statisticsView_(new QTableView(this)), filters_(new QButtonGroup(this)) {
    setObjectName(fromUtf8(text::trendWindowName));
    setWindowTitle(fromUtf8(text::trendWindowName));
    setFont(defaultGuiFont());
    closeOnEscape(this);

    auto* filterRow = new QHBoxLayout;
    struct Filter {
        const char* caption;
        int draws;
    };
    for (const Filter& f :
         {Filter{"近30期", 30}, Filter{"近50期", 50}, Filter{"近100期", 100}, Filter{"全部", 0}}) {
        auto* button = new QPushButton(QString::fromUtf8(f.caption), this);
        button->setObjectName(QString::fromUtf8(f.caption));
        button->setCheckable(true);
        filters_->addButton(button, f.draws);
        filterRow->addWidget(button);
    }
    filterRow->addStretch();
    filters_->button(0)->setChecked(true);
    connect(filters_, &QButtonGroup::idClicked, this, &TrendWindow::showNewest);

    grid_->setObjectName(QStringLiteral("走势表"));
    grid_->setModel(model_);
    grid_->setItemDelegate(new TrendBallDelegate(grid_));
    grid_->verticalHeader()->hide();
    fixSizes(grid_);

    statisticsView_->setObjectName(QStringLiteral("统计表"));
    statisticsView_->setModel(statistics_);
    statisticsView_->verticalHeader()->hide();
    statisticsView_->horizontalHeader()->hide();
    fixSizes(statisticsView_);
    statisticsView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    statisticsView_->setFixedHeight(TrendStatisticsModel::kRows * kRowHeight +
                                    2 * statisticsView_->frameWidth());
    // The statistics stay under their columns when the grid scrolls sideways.
    connect(grid_->horizontalScrollBar(), &QScrollBar::valueChanged,
            statisticsView_->horizontalScrollBar(), &QScrollBar::setValue);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addWidget(grid_, 1);
    layout->addWidget(statisticsView_);
    const int width = kIssueWidth + TrendTable::kColumns * kNumberWidth +
                      grid_->verticalScrollBar()->sizeHint().width() + 2 * grid_->frameWidth() +
                      layout->contentsMargins().left() + layout->contentsMargins().right();
    resize(width, 640);

    setDraws(newestFirst);
}

void TrendWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The newest draws are what the user looks at first.
    grid_->scrollToBottom();
}

void TrendWindow::setDraws(const std::vector<DrawRecord>& newestFirst) {
    model_->setTable(buildTrend(newestFirst));
    showNewest(filters_->checkedId());
}

void TrendWindow::showNewest(int count) {
    model_->setShownDraws(count);
    statistics_->setStatistics(trendStatistics(model_->table(), model_->firstDraw()));
    grid_->scrollToBottom();
}

} // namespace dlt::gui
