// The summary, the list of the advanced area, deletion and draw entry,
// driven through the real widgets over real files in a temporary folder.
#include <QListWidget>
#include <QTimer>
#include <filesystem>

#include "tests/support/main_window_fixture.h"

using namespace dlt;
using namespace dlt::gui;

namespace {

using HistoryCommands = MainWindowFixture;

// A broken folder entry where the back column's file should be: no file can
// be renamed over it, so every change of the library fails to be written.
void blockBackColumn(const HistoryStore& store) {
    const std::filesystem::path back = store.columnPath(columnKey::back);
    std::filesystem::remove(back);
    std::filesystem::create_directories(back / "blocked");
}

QStringList listLines(QListWidget* list) {
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

TEST_F(HistoryCommands, EmptyHistoryShowsACountOfZeroAndAnEmptyList) {
    window_->refreshHistorySummary();
    EXPECT_EQ(textOf("号库显示"), QStringLiteral("号库数量:0    第期:"));
    EXPECT_EQ(textOf("上期号码"), QStringLiteral("  "));

    QTest::mouseClick(control<QPushButton>("展开高级功能按钮"), Qt::LeftButton);
    EXPECT_EQ(window_->outerWidth(), MainWindow::kWideWidth);
    EXPECT_EQ(control<QPushButton>("展开高级功能按钮")->text(), QStringLiteral("收回高级功能"));
    EXPECT_EQ(control<QListWidget>("列表框1")->count(), 0);
}

TEST_F(HistoryCommands, SummaryAndListOf368Draws) {
    storeRealDraws(367);
    ASSERT_TRUE(store().appendDraw({"15061", "0102030405", "0607"}));
    window_->refreshHistorySummary();
    EXPECT_EQ(textOf("号库显示"), QStringLiteral("号库数量:368    第15061期:"));
    EXPECT_EQ(textOf("上期号码"), QStringLiteral("01 02 03 04 05  06 07"));

    auto* toggle = control<QPushButton>("展开高级功能按钮");
    auto* list = control<QListWidget>("列表框1");
    QTest::mouseClick(toggle, Qt::LeftButton);
    const QStringList lines = listLines(list);
    ASSERT_EQ(lines.size(), 368);
    EXPECT_EQ(lines.first(), QStringLiteral("第15061期 01 02 03 04 05  06 07"));
    EXPECT_EQ(lines.last(),
              QStringLiteral("第07001期 22 24 29 31 35  04 11")); // the oldest real draw

    // Closing keeps the lines; adding does not refill; reopening does.
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_EQ(window_->outerWidth(), MainWindow::kNarrowWidth);
    EXPECT_EQ(toggle->text(), QStringLiteral("展开高级功能"));
    EXPECT_EQ(list->count(), 368);
    QTest::mouseClick(toggle, Qt::LeftButton);
    control<QLineEdit>("期号框")->setText(QStringLiteral("15062"));
    control<QLineEdit>("号码框")->setText(QStringLiteral("11121314150809"));
    QTest::mouseClick(control<QPushButton>("确认输入按钮"), Qt::LeftButton);
    EXPECT_EQ(textOf("号库显示"), QStringLiteral("号库数量:369    第15062期:"));
    EXPECT_EQ(list->count(), 368);
    QTest::mouseClick(toggle, Qt::LeftButton);
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("第15062期 11 12 13 14 15  08 09"));
}

TEST_F(HistoryCommands, DeletingAsksAndOnOkRemovesTheNewestDraw) {
    storeRealDraws(20);
    window_->refreshHistorySummary();
    const DrawRecord before = store().drawsNewestFirst().at(1);
    QTest::mouseClick(control<QPushButton>("清除上期号按钮"), Qt::LeftButton);

    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(shownText(0), QStringLiteral("您确定要删除吗？"));
    EXPECT_EQ(shownCaption(0), QStringLiteral("注意："));
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(messages_.shown[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(shownText(1), QStringLiteral("号码已成功删除！"));
    EXPECT_EQ(shownCaption(1), QStringLiteral("成功："));
    EXPECT_EQ(messages_.shown[1].icon, MessageIcon::Information);

    EXPECT_EQ(store().drawCount(), 19);
    EXPECT_EQ(store().newestDraw(), before);
    EXPECT_EQ(textOf("号库显示"),
              QStringLiteral("号库数量:19    第%1期:").arg(QString::fromStdString(before.issue)));
}

TEST_F(HistoryCommands, CancelAtTheQuestionDeletesNothing) {
    storeRealDraws(20);
    window_->refreshHistorySummary();
    const QString summary = textOf("号库显示");
    messages_.answers = {MessageAnswer::Cancel};
    QTest::mouseClick(control<QPushButton>("清除上期号按钮"), Qt::LeftButton);
    EXPECT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(store().drawCount(), 20);
    EXPECT_EQ(textOf("号库显示"), summary);
}

TEST_F(HistoryCommands, AnEmptyLibraryHasNothingToDelete) {
    QTest::mouseClick(control<QPushButton>("清除上期号按钮"), Qt::LeftButton);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(shownText(0), QStringLiteral("号库中没有可删除的号码！"));
    EXPECT_EQ(messages_.shown[0].buttons, MessageButtons::Ok);
}

TEST_F(HistoryCommands, AFailedDeletionIsReportedAndChangesNothing) {
    storeRealDraws(20);
    window_->refreshHistorySummary();
    const QString summary = textOf("号库显示");
    blockBackColumn(store());
    QTest::mouseClick(control<QPushButton>("清除上期号按钮"), Qt::LeftButton);
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(shownText(1),
              QStringLiteral("号库无法保存：号码未能写入，请检查号库所在的文件夹后重试！\n") +
                  dir_.path());
    EXPECT_EQ(shownCaption(1), QStringLiteral("错误："));
    EXPECT_EQ(messages_.shown[1].icon, MessageIcon::Stop);
    EXPECT_EQ(store().drawCount(), 20);
    EXPECT_EQ(textOf("号库显示"), summary);
}

TEST_F(HistoryCommands, TheListFillingDisablesTheCommandsToo) {
    storeRealDraws(100);
    bool toggleEnabledDuring = true;
    QTimer::singleShot(0, window_.get(), [&] {
        toggleEnabledDuring =
            control("展开高级功能按钮")->isEnabled() || control("推荐号码按钮")->isEnabled();
    });
    QTest::mouseClick(control<QPushButton>("展开高级功能按钮"), Qt::LeftButton);
    EXPECT_FALSE(toggleEnabledDuring);
    EXPECT_TRUE(control("展开高级功能按钮")->isEnabled());
    EXPECT_FALSE(control("确认输入按钮")->isEnabled());
}

// --- Draw entry ---

struct EntryCase {
    const char* what;
    const char* issue;
    const char* numbers;
    bool stored;
};

TEST_F(HistoryCommands, EnterInTheNumberBoxRunsTheAcceptanceRule) {
    const EntryCase cases[] = {
        {"13 characters", "25001", "0102030405060", false},
        {"a 4-character issue", "2500", "01020304050607", false},
        {"14 zeros", "25001", "00000000000000", true},
        {"99 as a front number", "25002", "99020304050607", true},
        {"a minus sign in the issue", "-1234", "01020304050607", true},
    };
    showActive();
    auto* issue = control<QLineEdit>("期号框");
    auto* numbers = control<QLineEdit>("号码框");
    for (const EntryCase& c : cases) {
        SCOPED_TRACE(c.what);
        messages_.shown.clear();
        const int before = store().drawCount();
        issue->setText(QString::fromLatin1(c.issue));
        numbers->setText(QString::fromLatin1(c.numbers));
        numbers->setFocus();
        QTest::keyClick(numbers, Qt::Key_Return);
        ASSERT_EQ(messages_.shown.size(), 1u);
        if (c.stored) {
            EXPECT_EQ(shownText(0), QStringLiteral("号码已成功添加！"));
            EXPECT_EQ(shownCaption(0), QStringLiteral("成功："));
            EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Information);
            const std::string typed = c.numbers;
            EXPECT_EQ(store().newestDraw(),
                      (DrawRecord{c.issue, typed.substr(0, 10), typed.substr(10)}));
            EXPECT_TRUE(issue->text().isEmpty());
            EXPECT_TRUE(numbers->text().isEmpty());
            EXPECT_EQ(QApplication::focusWidget(), issue);
            EXPECT_EQ(textOf("号库显示"), QStringLiteral("号库数量:%1    第%2期:")
                                              .arg(before + 1)
                                              .arg(QString::fromLatin1(c.issue)));
        } else {
            EXPECT_EQ(shownText(0), QStringLiteral("期数或号码输入不正确：请检查后重试！"));
            EXPECT_EQ(shownCaption(0), QStringLiteral("错误："));
            EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Stop);
            EXPECT_EQ(store().drawCount(), before);
            EXPECT_EQ(issue->text(), QString::fromLatin1(c.issue));
            EXPECT_EQ(numbers->text(), QString::fromLatin1(c.numbers));
        }
    }
}

TEST_F(HistoryCommands, AnIssueEqualToTheNewestIsStoredAgain) {
    ASSERT_TRUE(store().appendDraw({"25001", "0102030405", "0607"}));
    control<QLineEdit>("期号框")->setText(QStringLiteral("25001"));
    control<QLineEdit>("号码框")->setText(QStringLiteral("01020304050607"));
    QTest::mouseClick(control<QPushButton>("确认输入按钮"), Qt::LeftButton);
    EXPECT_EQ(store().loadColumn(columnKey::issue), "2500125001");
    EXPECT_EQ(store().drawCount(), 2);
}

TEST_F(HistoryCommands, TypingMovesTheFocusAndEnablesTheButtonAt19Characters) {
    showActive();
    auto* issue = control<QLineEdit>("期号框");
    auto* numbers = control<QLineEdit>("号码框");
    auto* confirm = control<QPushButton>("确认输入按钮");
    ASSERT_EQ(QApplication::focusWidget(), issue);
    QTest::keyClicks(issue, QStringLiteral("2500"));
    EXPECT_EQ(QApplication::focusWidget(), issue);
    QTest::keyClicks(issue, QStringLiteral("1"));
    EXPECT_EQ(QApplication::focusWidget(), numbers);

    QTest::keyClicks(numbers, QStringLiteral("0102030405060"));
    EXPECT_FALSE(confirm->isEnabled());
    QTest::keyClicks(numbers, QStringLiteral("7"));
    EXPECT_TRUE(confirm->isEnabled());
    QTest::keyClick(numbers, Qt::Key_Backspace);
    EXPECT_FALSE(confirm->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), numbers);
    for (int i = 0; i < 13; ++i)
        QTest::keyClick(numbers, Qt::Key_Backspace);
    EXPECT_TRUE(numbers->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), issue);
}

TEST_F(HistoryCommands, AFailedAddIsReportedAndTheBoxesKeepTheirContents) {
    blockBackColumn(store());
    auto* issue = control<QLineEdit>("期号框");
    auto* numbers = control<QLineEdit>("号码框");
    issue->setText(QStringLiteral("25001"));
    numbers->setText(QStringLiteral("01020304050607"));
    QTest::mouseClick(control<QPushButton>("确认输入按钮"), Qt::LeftButton);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(shownText(0),
              QStringLiteral("号库无法保存：号码未能写入，请检查号库所在的文件夹后重试！\n") +
                  dir_.path());
    EXPECT_EQ(shownCaption(0), QStringLiteral("错误："));
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Stop);
    EXPECT_EQ(store().drawCount(), 0);
    EXPECT_EQ(issue->text(), QStringLiteral("25001"));
    EXPECT_EQ(numbers->text(), QStringLiteral("01020304050607"));
    EXPECT_EQ(textOf("号库显示"), QStringLiteral("号库数量:0    第期:"));
}

} // namespace
