// The ticket check (号库工具 > 兑奖): tickets entered, kept in the ticket
// book, and graded against the draw chosen, by the rules of its issue.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <iterator>

#include "app/ports/text.h"
#include "app/commands/library_tools_menu.h"
#include "app/windows/main_window.h"
#include "app/ports/platform.h"
#include "app/windows/ticket_window.h"
#include "core/process_state.h"
#include "engine/tickets.h"
#include "history/draw_details_store.h"
#include "storage/cipher.h"
#include "history/library_text.h"
#include "tests/support/window_support.h"
#include "tests/support/temp_dir.h"

using namespace dlt;
using namespace dlt::gui;
using testsupport::only;
using testsupport::RecordingMessages;

namespace {

class TicketWindowTest : public ::testing::Test {
protected:
    TicketWindowTest() {
        setProductIdentity(process);
        process.installationKey = digestHex("tickets");
        window = std::make_unique<MainWindow>(process, toPath(dir.path()), messages);
        tools = addLibraryToolsMenu(*window);
        // The same numbers under three rule sets: seven tiers, nine tiers, unknown.
        const HistoryColumns columns = columnsOf({{"26020", "0102030405", "0102"},
                                                  {"25001", "0102030405", "0102"},
                                                  {"18001", "0102030405", "0102"}});
        EXPECT_TRUE(
            window->historyStore().replaceHistory(columns.issues, columns.fronts, columns.backs));
        only<QAction>(window.get(), QStringLiteral("兑奖"))->trigger();
        tickets = tools->ticketWindow();
    }

    std::string book() const { return fileBytes(toPath(dir.path()) / "tickets.txt"); }
    QTableWidget* results() const {
        return only<QTableWidget>(tickets, QStringLiteral("兑奖结果表"));
    }
    // The row of the table whose hits column reads `hits`, as its texts.
    QStringList row(const QString& hits) const {
        QTableWidget* table = results();
        for (int r = 0; r < table->rowCount(); ++r) {
            if (table->item(r, 2) && table->item(r, 2)->text() == hits) {
                QStringList texts;
                for (int c = 0; c < table->columnCount(); ++c)
                    texts << (table->item(r, c) ? table->item(r, c)->text() : QString());
                return texts;
            }
        }
        return {};
    }
    void check(int drawIndex) {
        only<QComboBox>(tickets, QStringLiteral("开奖期号框"))->setCurrentIndex(drawIndex);
        QTest::mouseClick(only<QPushButton>(tickets, QStringLiteral("兑奖按钮")), Qt::LeftButton);
    }
    QString total() const { return only<QLabel>(tickets, QStringLiteral("兑奖合计"))->text(); }
    // The row of ticket `ticket` (第N张) and hits `hits` in draw `issue`.
    QStringList rowOf(const QString& issue, const QString& ticket, const QString& hits) const {
        QTableWidget* table = results();
        for (int r = 0; r < table->rowCount(); ++r) {
            QStringList texts;
            for (int c = 0; c < table->columnCount(); ++c)
                texts << (table->item(r, c) ? table->item(r, c)->text() : QString());
            if (texts[0] == issue && texts[1] == ticket && texts[2] == hits)
                return texts;
        }
        return {};
    }
    void addTicketLines(const QString& lines) {
        only<QPlainTextEdit>(tickets, QStringLiteral("票输入框"))->setPlainText(lines);
        QTest::mouseClick(only<QPushButton>(tickets, QStringLiteral("添加按钮")), Qt::LeftButton);
    }
    // 26020 as published: a pool of 8.5亿 before it, 一等奖 at 1000万 with a
    // 追加 of 7999999 (1 yuan off 80%), 二等奖 at 20万.
    void publishDetailsOf26020() {
        DrawDetails draw;
        draw.issue = "26020";
        draw.date = "2026-02-09";
        draw.poolBefore = 85'000'000'000;
        draw.poolAfter = 86'000'000'050;
        draw.sales = 30'000'000'000;
        draw.tiers = {{1, false, 2, 1'000'000'000},
                      {1, true, 1, 799'999'900},
                      {2, false, 50, 20'000'000},
                      {2, true, 0, std::nullopt},
                      {3, false, 300, 666'600}};
        ASSERT_TRUE(DrawDetailsStore(toPath(dir.path())).merge({draw}));
    }
    QString details() const { return only<QLabel>(tickets, QStringLiteral("开奖详情"))->text(); }

    QTemporaryDir dir;
    ProcessState process;
    RecordingMessages messages;
    std::unique_ptr<MainWindow> window;
    LibraryTools* tools = nullptr;
    TicketWindow* tickets = nullptr;
};

TEST_F(TicketWindowTest, AMultipleTicketIsKeptAndGradedByTheRulesOfTheDraw) {
    ASSERT_NE(tickets, nullptr);
    QComboBox* draws = only<QComboBox>(tickets, QStringLiteral("开奖期号框"));
    ASSERT_EQ(draws->count(), 3);
    EXPECT_EQ(draws->currentIndex(), 0) << "the newest draw is chosen";
    EXPECT_EQ(draws->itemText(0), QStringLiteral("26020期  01 02 03 04 05 + 01 02"));

    QTest::keyClicks(only<QPlainTextEdit>(tickets, QStringLiteral("票输入框")),
                     QStringLiteral("1 2 3 4 5 6 7 | 1,2,3"));
    QTest::mouseClick(only<QPushButton>(tickets, QStringLiteral("添加按钮")), Qt::LeftButton);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(book(), "01 02 03 04 05 06 07 + 01 02 03\n");
    QListWidget* list = only<QListWidget>(tickets, QStringLiteral("票列表"));
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(),
              QStringLiteral("第1张  复式 63注 126元：01 02 03 04 05 06 07 + 01 02 03"));

    // Nine tiers (25001): the 63 bets are 1 + 2 + 10 + 20 + 10 + 20.
    check(1);
    EXPECT_EQ(row("5+2"),
              (QStringList{"25001", "第1张", "5+2", "1", "一等奖", "浮动", "浮动", ""}));
    EXPECT_EQ(row("5+1"),
              (QStringList{"25001", "第1张", "5+1", "2", "二等奖", "浮动", "浮动", ""}));
    EXPECT_EQ(row("4+2"),
              (QStringList{"25001", "第1张", "4+2", "10", "四等奖", "3000", "30000", ""}));
    EXPECT_EQ(row("4+1"),
              (QStringList{"25001", "第1张", "4+1", "20", "五等奖", "300", "6000", ""}));
    EXPECT_EQ(row("3+2"),
              (QStringList{"25001", "第1张", "3+2", "10", "六等奖", "200", "2000", ""}));
    EXPECT_EQ(row("3+1"), (QStringList{"25001", "第1张", "3+1", "20", "八等奖", "15", "300", ""}));
    EXPECT_EQ(row("本票合计"), (QStringList{"25001", "第1张", "本票合计", "63", "", "",
                                            "38300 + 浮动奖3注", "126"}));
    EXPECT_EQ(results()->rowCount(), 7);
    EXPECT_TRUE(
        total().startsWith(QStringLiteral("共兑奖1期、1张票：花费126元，固定奖金38300元。")))
        << total();

    // Seven tiers (26020): both pool columns unless one is chosen.
    check(0);
    EXPECT_EQ(row("4+2"), (QStringList{"26020", "第1张", "4+2", "10", "三等奖", "5000 / 6666",
                                       "50000 / 66660", ""}));
    EXPECT_EQ(row("本票合计")[6], QStringLiteral("57800 / 76620 + 浮动奖3注"));
    only<QComboBox>(tickets, QStringLiteral("奖池框"))->setCurrentIndex(2);
    check(0);
    EXPECT_EQ(row("4+2")[5], QStringLiteral("6666"));
    EXPECT_TRUE(total().contains(QStringLiteral("固定奖金76620元。"))) << total();

    // Every draw from 18001 on: 18001's rules are not known.
    only<QCheckBox>(tickets, QStringLiteral("逐期框"))->setChecked(true);
    check(2);
    EXPECT_EQ(results()->item(0, 0)->text(), QStringLiteral("18001"));
    EXPECT_EQ(results()->item(0, 1)->text(),
              QStringLiteral("本程序不知道19019期以前的奖级规则，这一期不兑奖"));
    EXPECT_TRUE(
        total().startsWith(QStringLiteral("共兑奖2期、1张票：花费252元，固定奖金114920元。")))
        << total();
    EXPECT_TRUE(total().contains(QStringLiteral("有1期在19019期以前"))) << total();
}

TEST_F(TicketWindowTest, ABadTicketIsNamedAndNothingIsStored) {
    only<QPlainTextEdit>(tickets, QStringLiteral("票输入框"))
        ->setPlainText(QStringLiteral("03 06 26 30 33 + 11 12\n03 06 26 30 36 + 11 12"));
    tickets->addTickets();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "第2张票“03 06 26 30 36 + 11 12”：前区号码36不在1至35之间。\n"
                                      "这次输入的票都没有保存。");
    EXPECT_EQ(messages.shown[0].caption, "错误：");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Stop);
    EXPECT_FALSE(std::filesystem::exists(toPath(dir.path()) / "tickets.txt"));
    EXPECT_EQ(only<QListWidget>(tickets, QStringLiteral("票列表"))->count(), 0);
}

TEST_F(TicketWindowTest, TicketsAreEditedAndRemovedInTheBook) {
    QPlainTextEdit* input = only<QPlainTextEdit>(tickets, QStringLiteral("票输入框"));
    input->setPlainText(QStringLiteral("03 06 26 30 33 + 11 12\n(01 02) 03 04 05 06 + 01 02"));
    tickets->addTickets();
    EXPECT_EQ(book(), "03 06 26 30 33 + 11 12\n01 02 # 03 04 05 06 + 01 02\n");

    QListWidget* list = only<QListWidget>(tickets, QStringLiteral("票列表"));
    list->setCurrentRow(0);
    EXPECT_EQ(input->toPlainText(), QStringLiteral("03 06 26 30 33 + 11 12"));
    input->setPlainText(QStringLiteral("05 14 15 17 33 + 01 07"));
    only<QCheckBox>(tickets, QStringLiteral("追加框"))->setChecked(true);
    QTest::mouseClick(only<QPushButton>(tickets, QStringLiteral("修改按钮")), Qt::LeftButton);
    // 追加 in the book's GBK.
    EXPECT_EQ(book(), "05 14 15 17 33 + 01 07 \xD7\xB7\xBC\xD3\n01 02 # 03 04 05 06 + 01 02\n");

    list->setCurrentRow(1);
    QTest::mouseClick(only<QPushButton>(tickets, QStringLiteral("删除按钮")), Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, "注意：");
    EXPECT_EQ(book(), "05 14 15 17 33 + 01 07 \xD7\xB7\xBC\xD3\n");
    EXPECT_EQ(list->count(), 1);
}

TEST_F(TicketWindowTest, ADrawWithDetailsIsPaidAtThePublishedAmounts) {
    publishDetailsOf26020();
    addTicketLines(QStringLiteral("1 2 3 4 5 6 7 | 1,2,3\n01 02 03 04 05 + 01 02 追加"));
    ASSERT_TRUE(messages.shown.empty());
    check(1);
    check(0); // the details are read when a draw is chosen

    EXPECT_EQ(details(),
              QStringLiteral("26020期开奖详情：开奖日期2026-02-09，开奖前奖池850000000元，"
                             "开奖后奖池860000000.50元，销售额300000000元。"
                             "兑奖按公布的奖金。"));
    QTableWidget* tiers = only<QTableWidget>(tickets, QStringLiteral("开奖详情表"));
    EXPECT_FALSE(tiers->isHidden());
    ASSERT_EQ(tiers->rowCount(), 5);
    auto tierRow = [&](int r) {
        return QStringList{tiers->item(r, 0)->text(), tiers->item(r, 1)->text(),
                           tiers->item(r, 2)->text()};
    };
    EXPECT_EQ(tierRow(0), (QStringList{"一等奖", "2", "10000000"}));
    EXPECT_EQ(tierRow(1), (QStringList{"一等奖（追加）", "1", "7999999"}));
    EXPECT_EQ(tierRow(3), (QStringList{"二等奖（追加）", "0", "—"}));
    EXPECT_EQ(tierRow(4), (QStringList{"三等奖", "300", "6666"}));

    // One pool column, the one the draw had (8亿 and above), and the
    // floating tiers at their amounts; 追加 adds the published 7999999.
    EXPECT_EQ(rowOf("26020", "第1张", "5+2"),
              (QStringList{"26020", "第1张", "5+2", "1", "一等奖", "10000000", "10000000", ""}));
    EXPECT_EQ(rowOf("26020", "第1张", "5+1"),
              (QStringList{"26020", "第1张", "5+1", "2", "二等奖", "200000", "400000", ""}));
    EXPECT_EQ(rowOf("26020", "第1张", "4+2"),
              (QStringList{"26020", "第1张", "4+2", "10", "三等奖", "6666", "66660", ""}));
    EXPECT_EQ(rowOf("26020", "第1张", "3+1"),
              (QStringList{"26020", "第1张", "3+1", "20", "六等奖", "18", "360", ""}));
    EXPECT_EQ(rowOf("26020", "第1张", "本票合计"),
              (QStringList{"26020", "第1张", "本票合计", "63", "", "", "10476620", "126"}));
    EXPECT_EQ(rowOf("26020", "第2张", "5+2"),
              (QStringList{"26020", "第2张", "5+2", "1", "一等奖", "17999999", "17999999", ""}));
    EXPECT_EQ(total(),
              QStringLiteral("共兑奖1期、2张票：花费129元，奖金28476619元（按公布的奖金）。"));

    // The pool chooser does not change a draw whose pool is known.
    only<QComboBox>(tickets, QStringLiteral("奖池框"))->setCurrentIndex(1);
    check(0);
    EXPECT_EQ(rowOf("26020", "第1张", "4+2")[5], QStringLiteral("6666"));
}

TEST_F(TicketWindowTest, DrawsWithoutDetailsKeepBothPoolsAndTheFloatingTiersNamed) {
    publishDetailsOf26020();
    addTicketLines(QStringLiteral("1 2 3 4 5 6 7 | 1,2,3\n01 02 03 04 05 + 01 02 追加"));
    check(1);
    EXPECT_EQ(details(), QStringLiteral("25001期没有开奖详情：兑奖时一等奖、二等奖只标为浮动，"
                                        "固定奖金按奖池不足8亿和奖池8亿及以上两种列出。"));
    EXPECT_EQ(only<QTableWidget>(tickets, QStringLiteral("开奖详情表"))->rowCount(), 0);
    EXPECT_TRUE(only<QTableWidget>(tickets, QStringLiteral("开奖详情表"))->isHidden());
    EXPECT_EQ(rowOf("25001", "第2张", "5+2"), (QStringList{"25001", "第2张", "5+2", "1", "一等奖",
                                                           "浮动（追加）", "浮动（追加）", ""}));
    EXPECT_EQ(total(), QStringLiteral("共兑奖1期、2张票：花费129元，固定奖金38300元。"
                                      "另中一等奖、二等奖共4注，为浮动奖金，以公布的为准。"
                                      "这一期没有开奖详情，其一等奖、二等奖只标为浮动。"));

    // From 25001 on: one draw as published, one with its fixed prizes only.
    only<QCheckBox>(tickets, QStringLiteral("逐期框"))->setChecked(true);
    check(1);
    EXPECT_EQ(total(), QStringLiteral("共兑奖2期、2张票：花费258元；有开奖详情的1期奖金28476619元"
                                      "（按公布的奖金），其余1期固定奖金38300元。"
                                      "另中一等奖、二等奖共4注，为浮动奖金，以公布的为准。"
                                      "有1期没有开奖详情，其一等奖、二等奖只标为浮动。"));
}

} // namespace
