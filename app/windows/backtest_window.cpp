#include "app/windows/backtest_window.h"

#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>

#include "app/form/form_widgets.h"
#include "app/ports/text.h"
#include "app/windows/engine_texts.h"
#include "core/texts.h"
#include "app/form/look.h"
#include "app/form/money_text.h"

namespace dlt::gui {

namespace {

const QColor kFront(0xE0, 0x26, 0x2B);
const QColor kBack(0x1E, 0x5A, 0xC8);

struct ZoneRows {
    std::string_view name;
    Zone zone;
};
const ZoneRows kZones[] = {{text::frontZoneName, Zone::Front}, {text::backZoneName, Zone::Back}};

int tableRows() {
    int rows = 0;
    for (const ZoneRows& z : kZones)
        rows += rulesFor(z.zone).picksPerDraw + 1;
    return rows;
}

QTableWidgetItem* cellItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

// Four decimals show even the one-in-324,632 chance of five front hits.
QString percent(double share) {
    return QString::number(100.0 * share, 'f', 4) + u'%';
}

// The rows of the money table, in its order.
enum MoneyRow { kCounted, kCost, kPrizes, kReturn, kChance, kLuck, kMoneyRows };

QString yuanPerYuan(double value) {
    return QString::number(value, 'f', 3);
}

QLineSeries* series(const QString& name, const QColor& colour, Qt::PenStyle style) {
    auto* line = new QLineSeries;
    line->setName(name);
    QPen pen(colour, style == Qt::SolidLine ? 1.5 : 1.2, style);
    line->setPen(pen);
    return line;
}

} // namespace

BacktestWindow::BacktestWindow(std::string issues, std::string front, std::string back,
                               std::map<std::string, DrawDetails> details, QWidget* parent)
    : QWidget(parent, Qt::Window), issues_(std::move(issues)), front_(std::move(front)),
      back_(std::move(back)), details_(std::move(details)), progress_(new QProgressBar(this)),
      cancelButton_(new QPushButton(fromUtf8(text::cancelButton), this)),
      table_(new QTableWidget(tableRows(), 5, this)), chartView_(new QChartView(this)),
      verdict_(new QLabel(this)), moneyTable_(new QTableWidget(kMoneyRows, kPoolColumns, this)),
      moneyVerdict_(new QLabel(this)), moneyNotes_(new QLabel(this)) {
    setObjectName(fromUtf8(text::backtestWindowName));
    setWindowTitle(fromUtf8(text::backtestWindowName));
    setFont(defaultGuiFont());
    closeOnEscape(this);

    progress_->setObjectName(QStringLiteral("回测进度条"));
    progress_->setFormat(QStringLiteral("%v / %m 期"));
    progress_->setRange(0, 1);
    progress_->setValue(0);
    cancelButton_->setObjectName(QStringLiteral("取消按钮"));
    connect(cancelButton_, &QPushButton::clicked, this, &BacktestWindow::cancel);

    // The chance columns are known before the walk; the counts come after it.
    table_->setObjectName(QStringLiteral("命中表"));
    table_->setHorizontalHeaderLabels({QStringLiteral("区域"), QStringLiteral("命中个数"),
                                       QStringLiteral("期数"), QStringLiteral("占比"),
                                       QStringLiteral("随机概率")});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->setFocusPolicy(Qt::NoFocus);
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(22);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    int row = 0;
    for (const ZoneRows& z : kZones) {
        const ZoneRules& rules = rulesFor(z.zone);
        const std::vector<double> chance =
            chanceOfHits(rules.poolSize, rules.picksPerDraw, rules.picksPerDraw);
        for (int k = 0; k <= rules.picksPerDraw; ++k, ++row) {
            table_->setItem(row, 0, cellItem(fromUtf8(z.name)));
            table_->setItem(row, 1, cellItem(QString::number(k)));
            table_->setItem(row, 2, cellItem(QString()));
            table_->setItem(row, 3, cellItem(QString()));
            table_->setItem(row, 4, cellItem(percent(chance[static_cast<std::size_t>(k)])));
        }
    }
    table_->setFixedHeight(table_->horizontalHeader()->sizeHint().height() + row * 22 +
                           2 * table_->frameWidth());

    chartView_->setObjectName(QStringLiteral("命中走势图"));
    chartView_->setMinimumHeight(300);
    chartView_->setRenderHint(QPainter::Antialiasing, true);

    verdict_->setObjectName(QStringLiteral("回测结论"));
    verdict_->setWordWrap(true);
    verdict_->setText(fromUtf8(text::backtestRunning));

    // The money view: each walked draw's picks as one bet of 2 yuan.
    moneyTable_->setObjectName(QStringLiteral("奖金表"));
    moneyTable_->setHorizontalHeaderLabels(
        {fromUtf8(text::poolBelow), fromUtf8(text::poolAtOrAbove)});
    moneyTable_->setVerticalHeaderLabels(
        {QStringLiteral("计入期数"), fromUtf8(text::costHead), QStringLiteral("奖金（元）"),
         QStringLiteral("每元返还（元）"), QStringLiteral("随机一注每元期望返还（元）"),
         QStringLiteral("运气能解释的范围（95%）")});
    moneyTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    moneyTable_->setSelectionMode(QAbstractItemView::NoSelection);
    moneyTable_->setFocusPolicy(Qt::NoFocus);
    moneyTable_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    for (int r = 0; r < kMoneyRows; ++r)
        for (int c = 0; c < kPoolColumns; ++c)
            moneyTable_->setItem(r, c, cellItem(QString()));
    moneyVerdict_->setObjectName(QStringLiteral("奖金结论"));
    moneyVerdict_->setWordWrap(true);
    moneyVerdict_->setText(fromUtf8(text::backtestRunning));
    moneyNotes_->setObjectName(QStringLiteral("奖金说明"));
    moneyNotes_->setWordWrap(true);

    auto* hitsPage = new QWidget(this);
    auto* hitsLayout = new QVBoxLayout(hitsPage);
    hitsLayout->addWidget(table_);
    hitsLayout->addWidget(chartView_, 1);
    hitsLayout->addWidget(verdict_);
    auto* moneyPage = new QWidget(this);
    auto* moneyLayout = new QVBoxLayout(moneyPage);
    moneyLayout->addWidget(moneyTable_);
    moneyLayout->addWidget(moneyVerdict_);
    moneyLayout->addWidget(moneyNotes_);
    moneyLayout->addStretch(1);
    auto* views = new QTabWidget(this);
    views->setObjectName(QStringLiteral("回测视图"));
    views->addTab(hitsPage, fromUtf8(text::hitsHead));
    views->addTab(moneyPage, QStringLiteral("奖金"));

    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(progress_, 1);
    progressRow->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(progressRow);
    layout->addWidget(views, 1);
    resize(720, 760);

    worker_ = QThread::create([this] {
        result_ = runBacktest(front_, back_, [this](std::int32_t done, std::int32_t total) {
            // A few hundred updates are enough for the bar.
            if (done == total || (done * 200 / total) != ((done - 1) * 200 / total))
                QMetaObject::invokeMethod(
                    this, [this, done, total] { showProgress(done, total); }, Qt::QueuedConnection);
            return !cancelRequested_.load(std::memory_order_relaxed);
        });
        money_ = backtestMoney(result_, issues_, details_);
    });
    connect(worker_, &QThread::finished, this, &BacktestWindow::showResult);
    worker_->start();
}

BacktestWindow::~BacktestWindow() {
    cancelRequested_ = true;
    worker_->wait();
    delete worker_;
}

bool BacktestWindow::running() const {
    return worker_->isRunning();
}

void BacktestWindow::cancel() {
    cancelRequested_ = true;
    cancelButton_->setEnabled(false);
}

void BacktestWindow::closeEvent(QCloseEvent* event) {
    cancel();
    event->accept();
}

void BacktestWindow::showProgress(int done, int total) {
    progress_->setRange(0, total);
    progress_->setValue(done);
}

void BacktestWindow::showResult() {
    cancelButton_->setEnabled(false);
    progress_->setRange(0, std::max(result_.totalDraws, 1));
    progress_->setValue(result_.walked());
    const int walked = result_.walked();
    int row = 0;
    for (const ZoneRows& z : kZones) {
        const ZoneHits& hits = z.zone == Zone::Front ? result_.front : result_.back;
        for (const std::int32_t count : hits.counts) {
            table_->item(row, 2)->setText(QString::number(count));
            table_->item(row, 3)->setText(walked > 0 ? percent(double(count) / walked) : QString());
            ++row;
        }
    }
    fillChart();
    verdict_->setText(fromUtf8(backtestVerdict(result_)));
    showMoney();
    emit finished();
}

void BacktestWindow::showMoney() {
    // Without seven-tier draws both pool columns are the same: one is shown.
    const bool twoColumns = money_.poolMatters > 0;
    moneyTable_->setColumnHidden(1, !twoColumns);
    moneyTable_->horizontalHeaderItem(0)->setText(twoColumns ? fromUtf8(text::poolBelow)
                                                             : QStringLiteral("金额"));
    QStringList verdicts;
    for (const PrizePool pool : {PrizePool::Below, PrizePool::AtOrAbove}) {
        const int c = static_cast<int>(pool);
        const ChanceInterval luck = money_.luckPerYuan(pool);
        moneyTable_->item(kCounted, c)->setText(QString::number(money_.counted));
        moneyTable_->item(kCost, c)->setText(QString::number(money_.costYuan));
        moneyTable_->item(kPrizes, c)
            ->setText(yuanText(money_.columns[static_cast<std::size_t>(c)].fixedYuan * 100 +
                               money_.floatingPaidFen));
        moneyTable_->item(kReturn, c)->setText(yuanPerYuan(money_.returnPerYuan(pool)));
        moneyTable_->item(kChance, c)->setText(yuanPerYuan(money_.expectedPerYuan(pool)));
        moneyTable_->item(kLuck, c)->setText(yuanPerYuan(luck.low) + QStringLiteral(" 至 ") +
                                             yuanPerYuan(luck.high));
        if (twoColumns || pool == PrizePool::Below)
            verdicts << fromUtf8(moneyVerdict(money_, pool));
    }
    moneyTable_->setFixedHeight(moneyTable_->horizontalHeader()->sizeHint().height() +
                                kMoneyRows * moneyTable_->verticalHeader()->defaultSectionSize() +
                                2 * moneyTable_->frameWidth());
    moneyVerdict_->setText(verdicts.join(u'\n'));
    moneyNotes_->setText(fromUtf8(moneyNotes(money_)));
}

void BacktestWindow::fillChart() {
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("平均命中个数（随着回测期数）"));
    chart->legend()->setAlignment(Qt::AlignBottom);
    const int walked = result_.walked();
    double highest = 1.0;
    for (const ZoneRows& z : kZones) {
        const ZoneRules& rules = rulesFor(z.zone);
        const ZoneHits& hits = z.zone == Zone::Front ? result_.front : result_.back;
        const QColor colour = z.zone == Zone::Front ? kFront : kBack;
        QLineSeries* mean =
            series(fromUtf8(z.name) + QStringLiteral("平均命中"), colour, Qt::SolidLine);
        QList<QPointF> points;
        points.reserve(walked);
        double sum = 0;
        for (int i = 0; i < walked; ++i) {
            sum += hits.perDraw[static_cast<std::size_t>(i)];
            points.append(QPointF(i + 1, sum / (i + 1)));
            // The first few means swing widely; the scale follows the settled part.
            if (i >= 20)
                highest = std::max(highest, sum / (i + 1));
        }
        mean->replace(points);
        const double chanceMean =
            chanceMoments(rules.poolSize, rules.picksPerDraw, rules.picksPerDraw).mean;
        QLineSeries* chance = series(fromUtf8(z.name) + QStringLiteral("随机期望"),
                                     colour.lighter(140), Qt::DashLine);
        chance->append(1, chanceMean);
        chance->append(std::max(walked, 1), chanceMean);
        chart->addSeries(mean);
        chart->addSeries(chance);
    }
    auto* x = new QValueAxis;
    x->setTitleText(QStringLiteral("回测期数"));
    x->setLabelFormat(QStringLiteral("%d"));
    x->setRange(0, std::max(walked, 2));
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickAnchor(0);
    x->setTickInterval(walked > 2000 ? 500 : walked > 400 ? 100 : 20);
    auto* y = new QValueAxis;
    y->setTitleText(QStringLiteral("平均命中个数"));
    // Ticks every 0.2 up to a fifth above the highest settled mean.
    const int fifths = static_cast<int>(std::ceil(highest * 1.2 * 5));
    y->setRange(0, fifths / 5.0);
    y->setTickCount(fifths + 1);
    y->setLabelFormat(QStringLiteral("%.1f"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* s : chart->series()) {
        s->attachAxis(x);
        s->attachAxis(y);
    }
    QChart* old = chartView_->chart();
    chartView_->setChart(chart);
    delete old;
}

} // namespace dlt::gui
