// The menu "号库工具": the trend chart, the backtest, export and import,
// 同步最新开奖 and 检查号库.
#include <QAbstractItemModel>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "app/windows/backtest_window.h"
#include "app/windows/engine_texts.h"
#include "app/ports/text.h"
#include "app/commands/library_tools_menu.h"
#include "app/windows/main_window.h"
#include "app/ports/message_box.h"
#include "app/ports/platform.h"
#include "app/windows/ticket_window.h"
#include "app/windows/trend_window.h"
#include "core/process_state.h"
#include "storage/cipher.h"
#include "history/draw_details_store.h"
#include "history/library_text.h"
#include "tests/support/local_server.h"
#include "tests/support/real_draws.h"
#include "tests/support/window_support.h"
#include "tests/support/temp_dir.h"
#include "tools/site_content.h"

using namespace dlt;
using namespace dlt::gui;
using testsupport::near;
using testsupport::only;
using testsupport::RecordingMessages;

namespace {

using fixture::realDraws;

class LibraryToolsTest : public ::testing::Test {
protected:
    LibraryToolsTest() {
        setProductIdentity(process);
        process.installationKey = digestHex("library tools");
        window = std::make_unique<MainWindow>(process, toPath(dir.path()), messages);
        tools = addLibraryToolsMenu(*window);
    }

    HistoryStore store() const { return window->historyStore(); }
    void storeDraws(const std::vector<DrawRecord>& draws) {
        const HistoryColumns columns = columnsOf(draws);
        ASSERT_TRUE(store().replaceHistory(columns.issues, columns.fronts, columns.backs));
    }
    // The three history files' bytes, to see that nothing changed.
    std::string historyBytes() const {
        std::string all;
        for (std::string_view key : {columnKey::issue, columnKey::front, columnKey::back})
            all += fileBytes(store().columnPath(key)) + "|";
        return all;
    }
    QString writeFile(const QString& name, const std::string& bytes) {
        const QString path = dir.path() + u'/' + name;
        std::ofstream(toPath(path), std::ios::binary) << bytes;
        return path;
    }

    QTemporaryDir dir;
    ProcessState process;
    RecordingMessages messages;
    std::unique_ptr<MainWindow> window;
    LibraryTools* tools = nullptr;
};

TEST_F(LibraryToolsTest, MenuHoldsTheToolsAndTheClientAreaKeepsItsSize) {
    QMenu* menu = only<QMenu>(window.get(), QStringLiteral("号库工具"));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), QStringLiteral("号库工具"));
    EXPECT_EQ(window->menuBar()->actions().last(), menu->menuAction());
    QStringList captions;
    for (QAction* action : menu->actions())
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(captions, (QStringList{QStringLiteral("号码走势图"), QStringLiteral("历史回测"),
                                     QStringLiteral("兑奖"), QStringLiteral("-"),
                                     QStringLiteral("导出号库..."), QStringLiteral("导入号库..."),
                                     QStringLiteral("同步最新开奖"), QStringLiteral("补全开奖详情"),
                                     QStringLiteral("检查号库")}));

    window->show();
    QApplication::processEvents();
    EXPECT_EQ(window->clientArea()->size(), QSize(640, MainWindow::kClientHeight));
    EXPECT_EQ(window->height(), MainWindow::kClientHeight + window->menuBar()->height());
    window->setOuterWidth(MainWindow::kWideWidth);
    EXPECT_EQ(window->clientArea()->size(), QSize(861, MainWindow::kClientHeight));
}

TEST_F(LibraryToolsTest, TrendWindowShowsEveryDrawWithTheNewestAtTheBottom) {
    storeDraws(realDraws());
    only<QAction>(window.get(), QStringLiteral("号码走势图"))->trigger();
    TrendWindow* trend = tools->trendWindow();
    ASSERT_NE(trend, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(trend));
    QAbstractItemModel* grid = trend->grid()->model();
    ASSERT_EQ(grid->rowCount(), int(realDraws().size()));
    EXPECT_EQ(grid->columnCount(), 48);
    EXPECT_EQ(grid->headerData(0, Qt::Horizontal).toString(), QStringLiteral("期号"));
    EXPECT_EQ(grid->headerData(35, Qt::Horizontal).toString(), QStringLiteral("35"));
    EXPECT_EQ(grid->headerData(36, Qt::Horizontal).toString(), QStringLiteral("01"));
    QScrollBar* bar = trend->grid()->verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());

    // The newest draw 26112: 01 03 05 10 22 + 03 09.
    const int last = int(realDraws().size()) - 1;
    EXPECT_EQ(grid->index(last, 0).data().toString(), QStringLiteral("26112"));
    EXPECT_EQ(grid->index(0, 0).data().toString(), QStringLiteral("07001"));
    EXPECT_TRUE(grid->index(last, 5).data(TrendModel::kDrawnRole).toBool());
    EXPECT_EQ(grid->index(last, 5).data().toString(), QStringLiteral("05"));
    EXPECT_TRUE(grid->index(last, 35 + 9).data(TrendModel::kDrawnRole).toBool());
    EXPECT_FALSE(grid->index(last, 4).data(TrendModel::kDrawnRole).toBool());
    // 04 was last drawn in 26095 (04 06 08 10 14): seventeen draws ago.
    EXPECT_EQ(grid->index(last, 4).data().toString(), QStringLiteral("17"));
    EXPECT_TRUE(near(grid->index(last, 4).data(Qt::ForegroundRole).value<QColor>(),
                     QColor(0xB4, 0xB4, 0xB4)));

    // Balls: red in the front zone, blue in the back zone.
    const QRect front = trend->grid()->visualRect(grid->index(last, 5));
    const QRect back = trend->grid()->visualRect(grid->index(last, 35 + 9));
    const QImage shot = trend->grid()->viewport()->grab().toImage();
    const QPoint ballEdge(0, -6);
    EXPECT_TRUE(near(shot.pixelColor(front.center() + ballEdge), QColor(0xE0, 0x26, 0x2B), 40));
    EXPECT_TRUE(near(shot.pixelColor(back.center() + ballEdge), QColor(0x1E, 0x5A, 0xC8), 40));
}

TEST_F(LibraryToolsTest, FiltersShowTheNewestDrawsAndTheirStatistics) {
    storeDraws(realDraws());
    tools->openTrendWindow();
    TrendWindow* trend = tools->trendWindow();
    QAbstractItemModel* grid = trend->grid()->model();
    QAbstractItemModel* stats = trend->statisticsModel();
    ASSERT_EQ(stats->rowCount(), 5);
    const QStringList names{QStringLiteral("出现次数"), QStringLiteral("平均遗漏"),
                            QStringLiteral("最大遗漏"), QStringLiteral("当前遗漏"),
                            QStringLiteral("最大连出")};
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(stats->index(row, 0).data().toString(), names[row]);

    struct Case {
        const char* button;
        int rows;
    };
    for (const Case& c : {Case{"近30期", 30}, Case{"近50期", 50}, Case{"近100期", 100},
                          Case{"全部", int(realDraws().size())}}) {
        QTest::mouseClick(only<QPushButton>(trend, QString::fromUtf8(c.button)), Qt::LeftButton);
        EXPECT_EQ(grid->rowCount(), c.rows) << c.button;
        EXPECT_EQ(grid->index(c.rows - 1, 0).data().toString(), QStringLiteral("26112"));
        int frontDrawn = 0;
        int backDrawn = 0;
        for (int column = 1; column < 48; ++column)
            (column <= 35 ? frontDrawn : backDrawn) += stats->index(0, column).data().toInt();
        EXPECT_EQ(frontDrawn, 5 * c.rows) << c.button;
        EXPECT_EQ(backDrawn, 2 * c.rows) << c.button;
        // 04's current omission does not depend on the filter.
        EXPECT_EQ(stats->index(3, 4).data().toInt(), 17);
    }
}

TEST_F(LibraryToolsTest, TrendShowsTheEmptyFieldsOfADamagedColumn) {
    storeDraws({{"10003", "0102030405", "0102"},
                {"10002", "0607080910", "0304"},
                {"10001", "1112131415", "0506"}});
    // The issue and back columns lose their oldest draw.
    ASSERT_TRUE(
        store().replaceHistory("1000210003", store().loadColumn(columnKey::front), "03040102"));
    tools->openTrendWindow();
    QAbstractItemModel* grid = tools->trendWindow()->grid()->model();
    ASSERT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(grid->index(0, 0).data().toString(), QString());
    EXPECT_EQ(grid->index(0, 11).data().toString(), QStringLiteral("11"));
    EXPECT_EQ(grid->index(0, 36).data().toString(), QString());
    EXPECT_EQ(grid->index(2, 36).data().toString(), QStringLiteral("01"));
}

TEST_F(LibraryToolsTest, BacktestShowsCountsChanceChartAndVerdict) {
    // The newest 300 draws keep the walk short.
    storeDraws(std::vector<DrawRecord>(realDraws().begin(), realDraws().begin() + 300));
    only<QAction>(window.get(), QStringLiteral("历史回测"))->trigger();
    BacktestWindow* backtest = tools->backtestWindow();
    ASSERT_NE(backtest, nullptr);
    QSignalSpy finished(backtest, &BacktestWindow::finished);
    QProgressBar* progress = only<QProgressBar>(backtest, QStringLiteral("回测进度条"));
    std::vector<int> seen;
    QObject::connect(progress, &QProgressBar::valueChanged, [&](int v) { seen.push_back(v); });
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_FALSE(backtest->running());

    const BacktestResult& result = backtest->result();
    EXPECT_EQ(result.walked(), 300 - 14);
    EXPECT_EQ(progress->value(), 286);
    EXPECT_EQ(progress->maximum(), 286);
    EXPECT_GT(seen.size(), 2u) << "the bar moves while the walk runs";

    QTableWidget* table = only<QTableWidget>(backtest, QStringLiteral("命中表"));
    ASSERT_EQ(table->rowCount(), 9);
    const std::vector<double> frontChance = chanceOfHits(35, 5, 5);
    for (int k = 0; k <= 5; ++k) {
        EXPECT_EQ(table->item(k, 0)->text(), QStringLiteral("前区"));
        EXPECT_EQ(table->item(k, 1)->text(), QString::number(k));
        EXPECT_EQ(table->item(k, 2)->text(), QString::number(result.front.counts[k]));
        EXPECT_EQ(table->item(k, 4)->text(),
                  QString::number(100.0 * frontChance[k], 'f', 4) + u'%');
    }
    EXPECT_EQ(table->item(6, 0)->text(), QStringLiteral("后区"));
    EXPECT_EQ(table->item(8, 2)->text(), QString::number(result.back.counts[2]));
    EXPECT_EQ(table->item(7, 4)->text(), QStringLiteral("30.3030%"));

    QChart* chart = only<QChartView>(backtest, QStringLiteral("命中走势图"))->chart();
    EXPECT_EQ(chart->series().size(), 4);
    EXPECT_EQ(only<QLabel>(backtest, QStringLiteral("回测结论"))->text(),
              fromUtf8(backtestVerdict(result)));
    EXPECT_FALSE(only<QPushButton>(backtest, QStringLiteral("取消按钮"))->isEnabled());

    // The money view: every walked draw is counted or said to have unknown rules.
    const BacktestMoney& money = backtest->money();
    EXPECT_EQ(money.counted + money.unknownRules, 286);
    EXPECT_EQ(money.costYuan, 2 * money.counted);
    QTableWidget* moneyTable = only<QTableWidget>(backtest, QStringLiteral("奖金表"));
    EXPECT_EQ(moneyTable->item(0, 0)->text(), QString::number(money.counted));
    EXPECT_EQ(moneyTable->item(1, 0)->text(), QString::number(money.costYuan));
    EXPECT_EQ(moneyTable->item(2, 0)->text(), QString::number(money.columns[0].fixedYuan));
    EXPECT_EQ(moneyTable->isColumnHidden(1), money.poolMatters == 0);
    QString verdicts = fromUtf8(moneyVerdict(money, PrizePool::Below));
    if (money.poolMatters > 0)
        verdicts += u'\n' + fromUtf8(moneyVerdict(money, PrizePool::AtOrAbove));
    EXPECT_EQ(only<QLabel>(backtest, QStringLiteral("奖金结论"))->text(), verdicts);
    EXPECT_EQ(only<QLabel>(backtest, QStringLiteral("奖金说明"))->text(),
              fromUtf8(moneyNotes(money)));
}

TEST_F(LibraryToolsTest, TheBacktestPaysDrawsWithDetailsAtThePublishedAmounts) {
    // Eighteen draws 26001..26018 whose picks are known: seven draws holding
    // 1..35 and seven of 01..05 in front, six of 01..12 and eight of 01 02
    // behind, so the walked 26015..26018 hit 3+1, 1+2, 0+0 and 5+1.
    std::vector<DrawRecord> draws;
    std::string front;
    for (int v = 1; v <= 35; ++v)
        front += QStringLiteral("%1").arg(v, 2, 10, QChar(u'0')).toStdString();
    for (int i = 0; i < 7; ++i)
        front += "0102030405";
    front += "0607083031"
             "0920212223"
             "0102030405"
             "1011121314";
    std::string back = "010203040506070809101112";
    for (int i = 0; i < 8; ++i)
        back += "0102";
    back += "0312"
            "0405"
            "0102"
            "0709";
    for (int i = 0; i < 18; ++i)
        draws.push_back(
            {std::to_string(26001 + i), front.substr(10 * i, 10), back.substr(4 * i, 4)});
    std::reverse(draws.begin(), draws.end()); // newest first
    storeDraws(draws);
    // 26015 had a pool of 9亿, 26018 one of 7亿 and paid 二等奖 123456 yuan;
    // 26016 and 26017 have no details.
    DrawDetails above;
    above.issue = "26015";
    above.poolBefore = 90'000'000'000;
    DrawDetails second;
    second.issue = "26018";
    second.poolBefore = 70'000'000'000;
    second.tiers = {{1, false, 0, std::nullopt}, {2, false, 3, 12'345'600}};
    ASSERT_TRUE(DrawDetailsStore(toPath(dir.path())).merge({above, second}));

    tools->openBacktestWindow();
    BacktestWindow* backtest = tools->backtestWindow();
    QSignalSpy finished(backtest, &BacktestWindow::finished);
    ASSERT_TRUE(finished.wait(20000));

    // 3+1 at 9亿: 18; 1+2: 5 or 7; 5+1 at its published 123456.
    QTableWidget* table = only<QTableWidget>(backtest, QStringLiteral("奖金表"));
    EXPECT_EQ(table->verticalHeaderItem(2)->text(), QStringLiteral("奖金（元）"));
    EXPECT_EQ(table->item(0, 0)->text(), QStringLiteral("4"));
    EXPECT_EQ(table->item(1, 0)->text(), QStringLiteral("8"));
    EXPECT_EQ(table->item(2, 0)->text(), QStringLiteral("123479"));
    EXPECT_EQ(table->item(2, 1)->text(), QStringLiteral("123481"));
    EXPECT_FALSE(table->isColumnHidden(1));
    EXPECT_EQ(
        only<QLabel>(backtest, QStringLiteral("奖金说明"))->text(),
        QStringLiteral("计入的4期中有2期有开奖详情，按开奖前的奖池兑固定奖金，"
                       "一等奖、二等奖按公布的奖金计入（中了1注，共123456元）；"
                       "其余2期没有开奖详情。一等奖、二等奖为浮动奖金，未计入（中了0注）。"
                       "其中2期按七个奖级的规则兑奖，固定奖金随奖池而不同，两种奖池都已算出。"));
}

TEST_F(LibraryToolsTest, CancelStopsTheBacktest) {
    storeDraws(realDraws());
    tools->openBacktestWindow();
    BacktestWindow* backtest = tools->backtestWindow();
    QSignalSpy finished(backtest, &BacktestWindow::finished);
    QTest::mouseClick(only<QPushButton>(backtest, QStringLiteral("取消按钮")), Qt::LeftButton);
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_TRUE(backtest->result().cancelled);
    EXPECT_LT(backtest->result().walked(), backtest->result().totalDraws);
    EXPECT_TRUE(only<QLabel>(backtest, QStringLiteral("回测结论"))
                    ->text()
                    .startsWith(QStringLiteral("回测已取消。在")));
}

TEST_F(LibraryToolsTest, ExportWritesTheLibraryToTheChosenFile) {
    storeDraws(realDraws());
    QString suggested;
    const QString path = dir.path() + QStringLiteral("/exported.txt");
    tools->setSaveChooser([&](const QString& s) {
        suggested = s;
        return path;
    });
    only<QAction>(window.get(), QStringLiteral("导出号库..."))->trigger();
    EXPECT_EQ(suggested, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                             QStringLiteral("/号库.txt"));
    const std::string written = fileBytes(toPath(path));
    EXPECT_EQ(written, libraryText(realDraws()));
    EXPECT_EQ(written.substr(0, 27), "26112 01 03 05 10 22 03 09\n");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "号库导出成功：共" + std::to_string(realDraws().size()) + "期号码。");
    EXPECT_EQ(messages.shown[0].caption, "成功：");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Information);
}

TEST_F(LibraryToolsTest, TheDialogsStartInTheLastFolderOfTheRun) {
    storeDraws({{"10001", "0607080910", "0304"}});
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                              QStringLiteral("/号库.txt");
    QTemporaryDir exportTo;
    QTemporaryDir importFrom;
    const QString source = importFrom.filePath(QStringLiteral("source.txt"));
    std::ofstream(toPath(source), std::ios::binary) << "25128 03 06 26 30 33 11 12\n";
    QStringList suggested;
    QString answer;
    auto chooser = [&](const QString& s) {
        suggested << s;
        return answer;
    };
    tools->setSaveChooser(chooser);
    tools->setOpenChooser(chooser);

    answer = QString(); // the first dialog is cancelled: nothing is remembered
    tools->exportLibrary();
    answer = exportTo.filePath(QStringLiteral("mine.txt"));
    tools->exportLibrary();
    answer = source;
    tools->importLibrary();
    answer = QString();
    tools->exportLibrary();
    EXPECT_EQ(suggested,
              (QStringList{documents, documents, exportTo.filePath(QStringLiteral("号库.txt")),
                           importFrom.filePath(QStringLiteral("号库.txt"))}));

    // Nothing is kept beyond the run: the next run starts in the documents folder.
    LibraryTools nextRun(*window);
    QString first;
    nextRun.setSaveChooser([&](const QString& s) {
        first = s;
        return QString();
    });
    nextRun.exportLibrary();
    EXPECT_EQ(first, documents);
}

TEST_F(LibraryToolsTest, EscClosesTheToolWindows) {
    storeDraws(realDraws());
    tools->openTrendWindow();
    tools->openBacktestWindow();
    tools->openTicketWindow();
    for (QWidget* tool : {static_cast<QWidget*>(tools->trendWindow()),
                          static_cast<QWidget*>(tools->backtestWindow()),
                          static_cast<QWidget*>(tools->ticketWindow())}) {
        SCOPED_TRACE(tool->objectName().toStdString());
        tool->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(tool));
        QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : tool;
        QTest::keyClick(focus, Qt::Key_Escape);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !tool->isVisible(); }, 5000));
    }
}

TEST_F(LibraryToolsTest, AFailedExportIsReported) {
    storeDraws(realDraws());
    tools->setSaveChooser(
        [&](const QString&) { return dir.path() + QStringLiteral("/missing/a.txt"); });
    tools->exportLibrary();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "无法写入文件，号库没有导出。");
    EXPECT_EQ(messages.shown[0].caption, "错误：");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Stop);
}

TEST_F(LibraryToolsTest, ImportAsksWithTheSummaryAndMergesByDefault) {
    storeDraws({{"26002", "0102030405", "0102"}, {"26001", "0607080910", "0304"}});
    const QString path =
        writeFile(QStringLiteral("draws.csv"), "\xEF\xBB\xBF\xE6\x9C\x9F\xE5\x8F\xB7,numbers\n"
                                               "26003,\"11,12,13,14,15\",\"05,06\"\n"
                                               "26002,\"01,02,03,04,05\",\"01,02\"\n"
                                               "26001,\"06,07,08,09,40\",\"03,04\"\n");
    tools->openTrendWindow();
    tools->setOpenChooser([&](const QString&) { return path; });
    only<QAction>(window.get(), QStringLiteral("导入号库..."))->trigger();
    ASSERT_EQ(messages.shown.size(), 2u);
    const QString summary = fromUtf8(messages.shown[0].text);
    EXPECT_TRUE(
        summary.startsWith(QStringLiteral("文件中有2期号码，从第26002期到第26003期。\n"
                                          "识别为：UTF-8，逗号分隔，从新到旧。\n"
                                          "其中号库没有的新号码1期，号库已有且号码相同的1期，"
                                          "期号相同而号码不同的0期。\n"
                                          "跳过的行：1行。\n"
                                          "第4行：前区须为1至35之间互不相同的五个号码，"
                                          "26001,\"06,07,08,09,40\",\"03,04\"\n")))
        << summary;
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::MergeReplaceCancel);
    EXPECT_EQ(fromUtf8(messages.shown[1].text),
              QStringLiteral("号库导入成功：新增1期号码，号库现有3期号码。"));
    EXPECT_EQ(store().drawsNewestFirst(),
              (std::vector<DrawRecord>{{"26003", "1112131415", "0506"},
                                       {"26002", "0102030405", "0102"},
                                       {"26001", "0607080910", "0304"}}));
    EXPECT_EQ(only<QLabel>(window.get(), QStringLiteral("号库显示"))->text(),
              QStringLiteral("号库数量:3    第26003期:"));
    EXPECT_EQ(tools->trendWindow()->grid()->model()->rowCount(), 3);
}

TEST_F(LibraryToolsTest, ImportAnsweredReplaceTakesTheRealHistory) {
    // Issues from before the game began: the real history lacks them.
    storeDraws({{"06002", "0102030405", "0102"}, {"06001", "0607080910", "0304"}});
    messages.answers = {MessageAnswer::Replace};
    tools->setOpenChooser([](const QString&) { return QStringLiteral(DLT_DRAWS_FILE); });
    tools->importLibrary();
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_TRUE(fromUtf8(messages.shown[0].text)
                    .endsWith(QStringLiteral("，号库中文件没有的2期号码将被去掉。")));
    EXPECT_EQ(messages.shown[1].caption, "成功：");
    EXPECT_EQ(store().drawsNewestFirst(), realDraws());
}

TEST_F(LibraryToolsTest, ImportAnsweredCancelChangesNothing) {
    storeDraws({{"10001", "0607080910", "0304"}});
    const std::string before = historyBytes();
    messages.answers = {MessageAnswer::Cancel};
    const QString path = writeFile(QStringLiteral("good.txt"), "25128 03 06 26 30 33 11 12\n");
    tools->setOpenChooser([&](const QString&) { return path; });
    tools->importLibrary();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(historyBytes(), before);
}

TEST_F(LibraryToolsTest, TheMessageBoxOffersMergeReplaceAndCancel) {
    QtMessageBoxPort port(window.get());
    struct Case {
        const char* button;
        MessageAnswer answer;
    };
    for (const Case& c :
         {Case{"合并", MessageAnswer::Merge}, Case{"替换", MessageAnswer::Replace},
          Case{"取消", MessageAnswer::Cancel}, Case{nullptr, MessageAnswer::Merge}}) {
        QStringList captions;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            for (QAbstractButton* button : box->buttons())
                captions << button->text();
            EXPECT_EQ(box->defaultButton()->text(), QStringLiteral("合并"));
            if (!c.button) {
                QTest::keyClick(box, Qt::Key_Return);
                return;
            }
            for (QAbstractButton* button : box->buttons())
                if (button->text() == QString::fromUtf8(c.button))
                    button->click();
        });
        EXPECT_EQ(
            port.showMessage("x", "y", MessageIcon::Question, MessageButtons::MergeReplaceCancel),
            c.answer)
            << (c.button ? c.button : "Enter");
        captions.sort();
        EXPECT_EQ(captions, (QStringList{QStringLiteral("取消"), QStringLiteral("合并"),
                                         QStringLiteral("替换")}));
    }
}

TEST_F(LibraryToolsTest, SyncAddsTheNewestDrawsFromTheSources) {
    const std::vector<DrawRecord>& published = realDraws();
    ASSERT_GE(published.size(), 300u);
    storeDraws(std::vector<DrawRecord>(realDraws().begin() + 3, realDraws().begin() + 40));
    LocalServer server;
    server.server().Get(
        "/soft/qvemtrod/kj.dll", [&](const httplib::Request&, httplib::Response& r) {
            r.set_content(site::drawFileText(std::span(published).subspan(1, 290)), "text/plain");
        });
    server.server().Get("/lottery/draw/list/1", [&](const httplib::Request&, httplib::Response& r) {
        r.set_content(site::resultsPageHtml(std::span(published).subspan(0, 100)), "text/html");
    });
    server.start();
    // No official service: the two other sources.
    tools->setSites({server.address(), server.address(), {}});
    only<QAction>(window.get(), QStringLiteral("同步最新开奖"))->trigger();
    ASSERT_EQ(messages.shown.size(), 1u);
    const QString newest = QString::fromStdString(published[0].issue);
    EXPECT_EQ(
        fromUtf8(messages.shown[0].text),
        QStringLiteral("同步完成：从软件作者网站与开奖结果网页新增3期号码，最新一期为第%1期。")
            .arg(newest));
    EXPECT_EQ(store().drawsNewestFirst(),
              std::vector<DrawRecord>(realDraws().begin(), realDraws().begin() + 40));
    EXPECT_EQ(only<QLabel>(window.get(), QStringLiteral("号库显示"))->text(),
              QStringLiteral("号库数量:40    第%1期:").arg(newest));

    // Once more: nothing is newer.
    only<QAction>(window.get(), QStringLiteral("同步最新开奖"))->trigger();
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(fromUtf8(messages.shown[1].text),
              QStringLiteral("号库已是最新：软件作者网站与开奖结果网页没有更新的开奖号码，"
                             "最新一期为第%1期。")
                  .arg(newest));
}

TEST_F(LibraryToolsTest, CheckShowsWhatItFound) {
    storeDraws({{"26004", "0102030405", "0102"}, {"26001", "0607080910", "0304"}});
    const std::string before = historyBytes();
    only<QAction>(window.get(), QStringLiteral("检查号库"))->trigger();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(
        fromUtf8(messages.shown[0].text),
        QStringLiteral("号库共2期，发现1处问题：\n缺少第26002期至第26003期\n检查不会改动号库。"));
    EXPECT_EQ(fromUtf8(messages.shown[0].caption), QStringLiteral("检查号库"));
    EXPECT_EQ(historyBytes(), before);
}

TEST_F(LibraryToolsTest, ImportWaitsWhileTheCommandsAreBusy) {
    bool asked = false;
    tools->setOpenChooser([&](const QString&) {
        asked = true;
        return QString();
    });
    BusyCommands busy(*window);
    QMenu* menu = only<QMenu>(window.get(), QStringLiteral("号库工具"));
    emit menu->aboutToShow();
    EXPECT_FALSE(only<QAction>(window.get(), QStringLiteral("导入号库..."))->isEnabled());
    EXPECT_FALSE(only<QAction>(window.get(), QStringLiteral("同步最新开奖"))->isEnabled());
    tools->importLibrary();
    EXPECT_FALSE(asked);
}

} // namespace
