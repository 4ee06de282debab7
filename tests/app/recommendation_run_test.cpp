// A click on 推荐号码按钮 over real files in a temporary folder: the
// placeholders, the refused zones, the cells and the next-draw line.
#include <QFontMetrics>
#include <QTimer>
#include <cstdio>
#include <map>

#include "app/form/form_widgets.h"
#include "app/form/look.h"
#include "engine/engine.h"
#include "history/draw_text.h"
#include "tests/support/main_window_fixture.h"

using namespace dlt;
using namespace dlt::gui;

namespace {

const char* const kRows[] = {"精选", "等级一", "等级二", "等级三"};
const char* const kFrontCells[] = {"11", "12", "13", "14", "15"};
const char* const kBackCells[] = {"21", "22"};
const QString kCellPlaceholder = QStringLiteral("号码推荐中...");
const QString kPicksPlaceholder = QStringLiteral("号码推荐中，请稍等...");

// The engine's own lists for a zone, as the sink receives them.
class Lists : public ResultSink {
public:
    void showGroups(Zone, ResultLevel level, const GroupSet& groups) override {
        rows[level] = groups;
    }
    void showNextDrawPicks(Zone, const std::vector<int>& p) override { picks = p; }
    std::map<ResultLevel, GroupSet> rows;
    std::vector<int> picks;
};

QString picksText(const std::vector<int>& picks) {
    QStringList shown;
    for (int pick : picks)
        shown << QStringLiteral("%1").arg(pick, 2, 10, QChar(u'0'));
    return shown.join(u' ');
}

class RecommendationRunTest : public MainWindowFixture {
protected:
    QString cell(const char* row, const char* digits) const {
        return textOf((std::string(row) + digits).c_str());
    }
    void clickRecommend() {
        QTest::mouseClick(control<QPushButton>("推荐号码按钮"), Qt::LeftButton);
    }

    Lists engineLists(Zone zone) const {
        Lists lists;
        computeZone(rulesFor(zone), store().loadColumn(rulesFor(zone).zoneKey), lists);
        return lists;
    }

    void expectZoneShows(Zone zone, const Lists& lists) const {
        const ResultLevel levels[] = {ResultLevel::Select, ResultLevel::Level1, ResultLevel::Level2,
                                      ResultLevel::Level3};
        for (ResultLevel level : levels) {
            const GroupSet& groups = lists.rows.at(level);
            const char* row = kRows[int(level)];
            for (std::size_t g = 0; g < groups.size(); ++g) {
                const char* digits = zone == Zone::Front ? kFrontCells[g] : kBackCells[g];
                EXPECT_EQ(cell(row, digits), fromUtf8(formatNumberGroups(groups[g])))
                    << row << digits;
            }
        }
    }
};

TEST_F(RecommendationRunTest, A13DrawHistoryRefusesTheFrontZoneOnly) {
    storeRealDraws(13);
    clickRecommend();
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(shownText(0),
              QStringLiteral("号库不足：请按先后顺序依次存入最近开出至少14期的号码。"));
    EXPECT_EQ(shownCaption(0), QStringLiteral("无法荐号："));
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(messages_.shown[0].buttons, MessageButtons::Ok);

    for (const char* row : kRows)
        for (const char* digits : kFrontCells)
            EXPECT_EQ(cell(row, digits), kCellPlaceholder) << row << digits;
    const Lists back = engineLists(Zone::Back);
    expectZoneShows(Zone::Back, back);
    EXPECT_EQ(textOf("下期精选号"),
              kPicksPlaceholder + QStringLiteral("  ") + picksText(back.picks));
}

TEST_F(RecommendationRunTest, An11DrawHistoryRefusesBothZonesAndKeepsEveryPlaceholder) {
    storeRealDraws(11);
    // What the grid shows while the first message is open.
    QString shownMeanwhile;
    messages_.onShow = [&] {
        if (shownMeanwhile.isEmpty())
            shownMeanwhile = cell("精选", "22");
    };
    clickRecommend();
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(shownText(0),
              QStringLiteral("号库不足：请按先后顺序依次存入最近开出至少14期的号码。"));
    EXPECT_EQ(shownText(1),
              QStringLiteral("号库不足：请按先后顺序依次存入最近开出至少12期的号码。"));
    EXPECT_EQ(shownMeanwhile, kCellPlaceholder);
    for (const char* row : kRows) {
        for (const char* digits : kFrontCells)
            EXPECT_EQ(cell(row, digits), kCellPlaceholder);
        for (const char* digits : kBackCells)
            EXPECT_EQ(cell(row, digits), kCellPlaceholder);
    }
    EXPECT_EQ(textOf("下期精选号"), kPicksPlaceholder);
}

TEST_F(RecommendationRunTest, TheRealHistoryShowsTheEnginesListsAndPicks) {
    storeRealDraws(2796);
    clickRecommend();
    EXPECT_TRUE(messages_.shown.empty());
    const Lists front = engineLists(Zone::Front);
    const Lists back = engineLists(Zone::Back);
    expectZoneShows(Zone::Front, front);
    expectZoneShows(Zone::Back, back);
    EXPECT_EQ(textOf("下期精选号"),
              picksText(front.picks) + QStringLiteral("  ") + picksText(back.picks));
    // Nothing is left over from the placeholders.
    for (const char* row : kRows)
        EXPECT_NE(cell(row, "11"), kCellPlaceholder);
}

// The lines of a cell's text as word wrap breaks it with the font's widths.
QStringList wrappedLines(const QString& text, const QFontMetrics& fm, int width) {
    QStringList lines;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (!lines.isEmpty() && fm.horizontalAdvance(lines.back() + u' ' + word) <= width)
            lines.back() += u' ' + word;
        else
            lines << word;
    }
    return lines;
}

// Pixels near the colour in a band of rows of an image.
int inkIn(const QImage& image, int top, int bottom, const QColor& colour) {
    int ink = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, image.height()); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (testsupport::near(image.pixelColor(x, y), colour, 90))
                ++ink;
    return ink;
}

TEST_F(RecommendationRunTest, ADenseRunShowsEveryNumberOfEveryCell) {
    // Fourteen draws that share three numbers and spread the rest: 32 front
    // numbers stay cold, so the last front group of a cold row holds eight.
    std::string issues, fronts, backs;
    for (int i = 0; i < 14; ++i) {
        char draw[32];
        std::snprintf(draw, sizeof draw, "%05d010203%02d%02d", 24001 + i, 4 + 2 * i, 5 + 2 * i);
        issues += std::string(draw, 5);
        fronts += std::string(draw + 5, 10);
        backs += "0102";
    }
    ASSERT_TRUE(store().replaceHistory(issues, fronts, backs));
    showActive();
    clickRecommend();
    ASSERT_TRUE(messages_.shown.empty());
    EXPECT_EQ(cell("等级二", "15").split(u' ').size(), 8);
    EXPECT_EQ(cell("等级三", "15").split(u' ').size(), 8);

    for (const char* row : kRows) {
        for (const char* digits : {"11", "12", "13", "14", "15", "21", "22"}) {
            const std::string name = std::string(row) + digits;
            SCOPED_TRACE(name);
            auto* label = control<FormLabel>(name.c_str());
            const QRect area = label->contentsRect();
            const QFontMetrics fm(label->font());
            const QStringList lines = wrappedLines(label->text(), fm, area.width());
            const int pitch = formLineMetrics(label->font()).pitch;
            EXPECT_LE(int(lines.size()) * pitch, area.height()) << lines.join(u'|');
            for (const QString& line : lines)
                EXPECT_LE(fm.horizontalAdvance(line), area.width()) << line;
            if (lines.isEmpty())
                continue;
            // The last line is drawn inside the cell.
            const QImage image = label->grab().toImage();
            const int lastTop = area.top() + (int(lines.size()) - 1) * pitch;
            EXPECT_GT(inkIn(image, lastTop, lastTop + pitch, label->textColour()), 10);
        }
    }
}

TEST_F(RecommendationRunTest, FewerThan63FrontDrawsLeaveTheLevel1FrontCellsEmpty) {
    storeRealDraws(40);
    clickRecommend();
    EXPECT_TRUE(messages_.shown.empty());
    for (const char* digits : kFrontCells)
        EXPECT_EQ(cell("等级一", digits), QString()) << digits;
    // 40 back draws are fewer than 54: the back ones are empty too.
    for (const char* digits : kBackCells)
        EXPECT_EQ(cell("等级一", digits), QString()) << digits;
    EXPECT_NE(cell("精选", "11"), QString());
}

TEST_F(RecommendationRunTest, CommandsAreDisabledDuringARunAndFollowTheBoxesAfterwards) {
    storeRealDraws(300);
    const char* const commands[] = {"推荐号码按钮", "确认输入按钮", "清除上期号按钮",
                                    "展开高级功能按钮", "自动获取往期号按钮"};
    std::map<std::string, bool> enabledDuring;
    bool busyDuring = false;
    // Runs inside the run's first yield: type a whole draw, press Enter in
    // 号码框 and the recommend button again.
    QTimer::singleShot(0, window_.get(), [&] {
        busyDuring = window_->commandsBusy();
        for (const char* name : commands)
            enabledDuring[name] = control(name)->isEnabled();
        control<QLineEdit>("期号框")->setText(QStringLiteral("25001"));
        control<QLineEdit>("号码框")->setText(QStringLiteral("01020304050607"));
        enabledDuring["确认输入按钮 after typing"] = control("确认输入按钮")->isEnabled();
        QTest::keyClick(control<QLineEdit>("号码框"), Qt::Key_Return);
        window_->runRecommendation();
    });
    clickRecommend();
    EXPECT_TRUE(busyDuring);
    for (const auto& [name, enabled] : enabledDuring)
        EXPECT_FALSE(enabled) << name;
    EXPECT_TRUE(messages_.shown.empty()) << "no draw added, no second run";
    EXPECT_EQ(store().drawCount(), 300);

    EXPECT_FALSE(window_->commandsBusy());
    EXPECT_TRUE(control("推荐号码按钮")->isEnabled());
    EXPECT_TRUE(control("清除上期号按钮")->isEnabled());
    EXPECT_TRUE(control("展开高级功能按钮")->isEnabled());
    EXPECT_TRUE(control("确认输入按钮")->isEnabled()) << "the boxes were filled during the run";
}

} // namespace
