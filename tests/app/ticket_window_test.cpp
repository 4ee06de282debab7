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

} // namespace
