// The main window's form, control by control: name, kind, place, caption,
// font, colours, alignment, border, wrap and initial state; then how the
// window shows it (what is drawn, the narrow and wide widths, focus, the
// typing filter of the edit boxes).
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QMenuBar>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QFontMetrics>
#include <QClipboard>
#include <QStyle>
#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <vector>

#include "app/form/form_widgets.h"
#include "app/ports/text.h"
#include "app/form/look.h"
#include "app/windows/main_window.h"
#include "app/ports/platform.h"
#include "core/process_state.h"
#include "online/sites.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/window_support.h"

using namespace dlt;
using namespace dlt::gui;
using testsupport::near;
using testsupport::only;
using testsupport::RecordingMessages;

namespace {

QColor rgb(int value) {
    return QColor(QRgb(0xFF000000u | unsigned(value)));
}

using MainWindowForm = MainWindowFixture;

TEST_F(MainWindowForm, ControlsThatTakeTheFocusAreTheEditBoxesButtonsAndListBox) {
    auto focusable = [&] {
        int n = 0;
        for (QWidget* w : window_->clientArea()->findChildren<QWidget*>()) {
            if (w->objectName().isEmpty() || !(w->focusPolicy() & Qt::TabFocus))
                continue;
            ++n;
            EXPECT_TRUE(qobject_cast<QLineEdit*>(w) || qobject_cast<QPushButton*>(w) ||
                        qobject_cast<QListWidget*>(w))
                << w->objectName();
        }
        return n;
    };
    // Outside the client area at 648, the list and the fetch button are out
    // of the Tab order.
    EXPECT_EQ(focusable(), 2 + 4);
    window_->setOuterWidth(MainWindow::kWideWidth);
    EXPECT_EQ(focusable(), 2 + 5 + 1); // two edit boxes, five buttons, the list box
}

TEST_F(MainWindowForm, TabGoesFromTheEntryToTheRunAndOn) {
    showActive();
    auto* numbers = qobject_cast<QLineEdit*>(control("号码框"));
    qobject_cast<QLineEdit*>(control("期号框"))->setText(QStringLiteral("26094"));
    numbers->setText(QStringLiteral("05141517330107")); // 确认输入按钮 is enabled
    auto tabOrder = [&] {
        QStringList order;
        control("期号框")->setFocus();
        for (int i = 0; i < 8; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        return order;
    };
    EXPECT_EQ(tabOrder(), (QStringList{"期号框", "号码框", "确认输入按钮", "推荐号码按钮",
                                       "清除上期号按钮", "展开高级功能按钮", "期号框", "号码框"}));
    window_->setOuterWidth(MainWindow::kWideWidth);
    EXPECT_EQ(tabOrder(),
              (QStringList{"期号框", "号码框", "确认输入按钮", "推荐号码按钮", "清除上期号按钮",
                           "展开高级功能按钮", "列表框1", "自动获取往期号按钮"}));
}

TEST_F(MainWindowForm, FooterNamesTheMakerAndItsLinksHaveAHandCursor) {
    auto* footer = qobject_cast<FormLabel*>(control("标签3"));
    ASSERT_NE(footer, nullptr);
    EXPECT_TRUE(footer->text().contains(QStringLiteral("禾澄科技")));
    const QString site = QString::fromStdString(builtInSites().maker);
    EXPECT_TRUE(footer->text().contains(site));
    EXPECT_TRUE(footer->text().contains(QStringLiteral("2009-2012")));
    for (const char* name : {"透明标签1", "透明标签2"}) {
        auto* link = qobject_cast<TransparentLabel*>(control(name));
        ASSERT_NE(link, nullptr) << name;
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor) << name;
        EXPECT_TRUE(link->text().isEmpty());
    }
    // Shown with the window.
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    for (const char* name : {"透明标签1", "透明标签2"})
        EXPECT_TRUE(control(name)->isVisible()) << name;
    // The links lie over the footer: raised above it.
    const QList<QObject*> order = window_->clientArea()->children();
    EXPECT_GT(order.indexOf(control("透明标签1")), order.indexOf(footer));
    EXPECT_GT(order.indexOf(control("透明标签2")), order.indexOf(footer));
    // Each link lies over the part of the line it opens, as the line is drawn.
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    const QString text = footer->text();
    const QFontMetrics fm(footer->font());
    const int textLeft = (footer->width() - fm.horizontalAdvance(text)) / 2;
    const QImage drawn = footer->grab().toImage();
    struct Place {
        const char* part;
        int offset; // pixels into the part
        const char* link;
    };
    const Place places[] = {
        {"禾澄科技", 4, "标签3"},     {"官网", 2, "透明标签1"},   {"http://", 1, "透明标签1"},
        {"http://", 60, "透明标签1"}, {"客服", 1, "透明标签2"},   {"客服", 20, "透明标签2"},
        {"kefu1", 10, "透明标签2"},   {"kefu2", 20, "透明标签2"}, {"©", 3, "标签3"},
    };
    for (const Place& place : places) {
        SCOPED_TRACE(place.part);
        const int at = int(text.indexOf(QString::fromUtf8(place.part)));
        ASSERT_GE(at, 0);
        const int x = textLeft + fm.horizontalAdvance(text.left(at)) + place.offset;
        // The line is drawn there (some ink in that column).
        int ink = 0;
        for (int y = 0; y < drawn.height(); ++y)
            ink += near(drawn.pixelColor(x, y), rgb(0x0000FF), 120) ? 1 : 0;
        for (int dx = 1; dx <= 3 && ink == 0; ++dx)
            for (int y = 0; y < drawn.height(); ++y)
                ink += near(drawn.pixelColor(x + dx, y), rgb(0x0000FF), 120) ? 1 : 0;
        EXPECT_GT(ink, 0);
        QWidget* top =
            window_->clientArea()->childAt(footer->mapTo(window_->clientArea(), QPoint(x, 12)));
        ASSERT_NE(top, nullptr);
        EXPECT_EQ(top->objectName(), QString::fromUtf8(place.link));
    }
}

TEST_F(MainWindowForm, At648TheAdvancedAreaLiesJustOutsideTheClientArea) {
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    // 648 and 869 are outer widths: four pixels of frame on either side.
    EXPECT_EQ(window_->outerWidth(), 648);
    EXPECT_EQ(window_->size(), QSize(640, 392));
    EXPECT_EQ(window_->clientArea()->size(), QSize(640, 392));
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("禾澄大乐透荐号器 v3.1"));
    EXPECT_EQ(window_->pos(), QPoint(50, 50));
    EXPECT_EQ(state_.historyFileExtension, ".dll");
    // Not resizable by the user.
    EXPECT_EQ(window_->minimumSize(), window_->maximumSize());

    QWidget* list = control("列表框1");
    QWidget* fetch = control("自动获取往期号按钮");
    const QRect client = window_->clientArea()->rect();
    // Shown, but wholly outside the client area: nothing of them is seen.
    for (QWidget* w : {list, fetch}) {
        EXPECT_TRUE(w->isVisible()) << w->objectName();
        EXPECT_GE(w->x(), 641);
        EXPECT_GE(w->x(), client.width());
        EXPECT_TRUE(w->visibleRegion().isEmpty()) << w->objectName();
    }
    // Everything else is visible and inside the client area.
    for (QWidget* w : window_->clientArea()->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || w == list || w == fetch || list->isAncestorOf(w))
            continue;
        EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
        const QRect inClient(w->mapTo(window_->clientArea(), QPoint(0, 0)), w->size());
        EXPECT_TRUE(client.contains(inClient)) << w->objectName().toStdString();
    }

    window_->setOuterWidth(MainWindow::kWideWidth);
    QApplication::processEvents();
    EXPECT_EQ(window_->outerWidth(), 869);
    EXPECT_EQ(window_->size(), QSize(861, 392));
    for (QWidget* w : window_->clientArea()->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty())
            continue;
        const QRect inClient(w->mapTo(window_->clientArea(), QPoint(0, 0)), w->size());
        EXPECT_TRUE(window_->clientArea()->rect().contains(inClient))
            << w->objectName().toStdString();
    }
    EXPECT_FALSE(list->visibleRegion().isEmpty());
    EXPECT_FALSE(fetch->visibleRegion().isEmpty());

    window_->setOuterWidth(MainWindow::kNarrowWidth);
    QApplication::processEvents();
    EXPECT_EQ(window_->size(), QSize(640, 392));
    EXPECT_TRUE(list->visibleRegion().isEmpty());
}

TEST_F(MainWindowForm, AMenuBarAddsToTheWindowNotToTheClientArea) {
    window_->menuBar()->addMenu(QStringLiteral("升级更新"));
    window_->setOuterWidth(MainWindow::kNarrowWidth);
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    EXPECT_EQ(window_->clientArea()->size(), QSize(640, 392));
    EXPECT_EQ(window_->height(), 392 + window_->menuBar()->height());
    EXPECT_EQ(window_->width(), 640);
}

TEST_F(MainWindowForm, FocusGoesToTheIssueBoxOnFirstActivation) {
    window_->show();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    EXPECT_EQ(QApplication::focusWidget(), control("期号框"));
}

TEST_F(MainWindowForm, ConfirmButtonIsGreyedOut) {
    auto* confirm = qobject_cast<QPushButton*>(control("确认输入按钮"));
    ASSERT_NE(confirm, nullptr);
    EXPECT_FALSE(confirm->isEnabled());
    int clicks = 0;
    QObject::connect(confirm, &QPushButton::clicked, [&] { ++clicks; });
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    QTest::mouseClick(confirm, Qt::LeftButton);
    EXPECT_EQ(clicks, 0);
}

// Types a text key by key, as a keyboard (or an input method sending key
// events) would.
void typeText(QWidget* widget, const QString& text) {
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; })) {
        QTest::keyClicks(widget, text);
        return;
    }
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

struct TypingCase {
    const char* box;
    const char* typed;
    const char* expected;
};

TEST_F(MainWindowForm, EditBoxesKeepOnlyDigitsAndMinusUpToTheirLength) {
    const TypingCase cases[] = {
        {"期号框", "12345", "12345"},
        {"期号框", "123456", "12345"},  // a sixth character is refused
        {"期号框", "1a2b-3", "12-3"},   // letters are dropped
        {"期号框", "9 8.7,6+", "9876"}, // so are spaces and punctuation
        {"期号框", "期12", "12"},       // and other typed characters
        {"号码框", "01020304050607", "01020304050607"},
        {"号码框", "010203040506070", "01020304050607"}, // a fifteenth is refused
        {"号码框", "01 02 03", "010203"},
        {"号码框", "--", "--"},
    };
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    for (const TypingCase& c : cases) {
        SCOPED_TRACE(std::string(c.box) + " <- " + c.typed);
        auto* edit = qobject_cast<QLineEdit*>(control(c.box));
        ASSERT_NE(edit, nullptr);
        edit->clear();
        edit->setFocus();
        typeText(edit, QString::fromUtf8(c.typed));
        EXPECT_EQ(edit->text(), QString::fromUtf8(c.expected));
    }
}

TEST_F(MainWindowForm, EditBoxesKeepTheirControlKeys) {
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    auto* edit = qobject_cast<QLineEdit*>(control("期号框"));
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("1234"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), QStringLiteral("123"));
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(edit->text(), QStringLiteral("23"));
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier); // select all
    QTest::keyClicks(edit, QStringLiteral("7"));
    EXPECT_EQ(edit->text(), QStringLiteral("7"));
    // AltGr (Ctrl+Alt) types characters: a letter so typed is dropped.
    QTest::keyClick(edit, Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(edit->text(), QStringLiteral("7"));
    EXPECT_EQ(edit->maxLength(), 5);
    EXPECT_EQ(qobject_cast<QLineEdit*>(control("号码框"))->maxLength(), 14);
}

TEST_F(MainWindowForm, TextCommittedByAnInputMethodIsFilteredToo) {
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    auto* edit = qobject_cast<QLineEdit*>(control("号码框"));
    edit->setFocus();
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("01二02b-"));
    QApplication::sendEvent(edit, &commit);
    EXPECT_EQ(edit->text(), QStringLiteral("0102-"));
}

TEST(IntegerFilter, PassesDigitsMinusAndControlCharactersOnly) {
    EXPECT_TRUE(passesIntegerFilter(QString()));
    EXPECT_TRUE(passesIntegerFilter(QStringLiteral("0")));
    EXPECT_TRUE(passesIntegerFilter(QStringLiteral("9")));
    EXPECT_TRUE(passesIntegerFilter(QStringLiteral("-")));
    EXPECT_TRUE(passesIntegerFilter(QStringLiteral("\b")));
    EXPECT_TRUE(passesIntegerFilter(QString(QChar(0x16)))); // Ctrl+V
    EXPECT_FALSE(passesIntegerFilter(QStringLiteral("a")));
    EXPECT_FALSE(passesIntegerFilter(QStringLiteral("+")));
    EXPECT_FALSE(passesIntegerFilter(QStringLiteral(" ")));
    EXPECT_FALSE(passesIntegerFilter(QStringLiteral("１"))); // a full-width digit
    EXPECT_FALSE(passesIntegerFilter(QStringLiteral("一")));
}

// What the window draws, sampled from a grab.
TEST_F(MainWindowForm, DrawsBackgroundsGradientsBordersAndFrames) {
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    const QImage image = window_->clientArea()->grab().toImage();
    auto at = [&](const char* name, QPoint inside) {
        QWidget* w = control(name);
        return image.pixelColor(w->mapTo(window_->clientArea(), inside));
    };
    // Solid backgrounds of empty cells, and their one-pixel black border.
    EXPECT_TRUE(near(at("精选13", {25, 50}), rgb(0xD0FFD0)));
    EXPECT_TRUE(near(at("等级三22", {25, 50}), rgb(0xECFFFF)));
    EXPECT_TRUE(near(at("精选13", {0, 35}), rgb(0x000000), 40));
    EXPECT_TRUE(near(at("精选13", {48, 35}), rgb(0x000000), 40));
    // Gradients run left to right through their stops.
    EXPECT_TRUE(near(at("标签7", {2, 3}), rgb(0xE1FFFF), 12));
    EXPECT_TRUE(near(at("标签7", {120, 3}), rgb(0xFFBFD1), 12));
    EXPECT_TRUE(near(at("标签7", {238, 3}), rgb(0xD0D0FF), 12));
    EXPECT_TRUE(near(at("下期精选号", {2, 3}), rgb(0xFF7171), 12));
    EXPECT_TRUE(near(at("下期精选号", {179, 3}), rgb(0x8484FF), 12));
#ifndef Q_OS_WIN
    // The XP-style look draws edit box and list box frames in #7B9EBD.
    EXPECT_EQ(at("期号框", {40, 0}), rgb(0x7B9EBD));
    EXPECT_EQ(at("号码框", {0, 14}), rgb(0x7B9EBD));
#endif
}

TEST_F(MainWindowForm, TextEffectSetsTheWhitePicksOffTheGradient) {
    auto* picks = qobject_cast<FormLabel*>(control("下期精选号"));
    ASSERT_NE(picks, nullptr);
    EXPECT_TRUE(picks->hasTextEffect());
    picks->setText(QStringLiteral("03 11 17 24 31  05 09"));
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    const QImage image = picks->grab().toImage();
    int white = 0;
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.lightness() > 240)
                ++white;
            if (c.lightness() < 60 &&
                !(x == 0 || y == 0 || x == image.width() - 1 || y == image.height() - 1))
                ++dark;
        }
    EXPECT_GT(white, 30);
    EXPECT_GT(dark, 30); // the outline under the text
}

TEST_F(MainWindowForm, PicksReadAsSevenNumbersWithTheWidestGapBeforeTheBackZone) {
    auto* picks = qobject_cast<FormLabel*>(control("下期精选号"));
    ASSERT_NE(picks, nullptr);
    picks->setText(QStringLiteral("03 11 17 24 31  05 09"));
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    const QImage image = picks->grab().toImage();
    // A column is inked where the white text or its dark outline or shadow
    // shows; the gaps between numbers must stay clear of both, so that the
    // gradient shows through.
    std::vector<bool> inked(std::size_t(image.width()), false);
    for (int x = 1; x < image.width() - 1; ++x)
        for (int y = 1; y < image.height() - 1; ++y) {
            const int lightness = image.pixelColor(x, y).lightness();
            if (lightness > 235 || lightness < 110)
                inked[std::size_t(x)] = true;
        }
    const auto first = std::find(inked.begin(), inked.end(), true) - inked.begin();
    const auto last = inked.rend() - std::find(inked.rbegin(), inked.rend(), true) - 1;
    std::vector<int> gaps;
    int run = 0;
    for (auto x = first; x <= last; ++x) {
        if (!inked[std::size_t(x)]) {
            ++run;
            continue;
        }
        if (run > 0)
            gaps.push_back(run);
        run = 0;
    }
    // Six clear gaps: one between each two numbers, the widest (two spaces)
    // before the back zone.
    ASSERT_EQ(gaps.size(), 6u) << testing::PrintToString(gaps);
    for (std::size_t i = 0; i < gaps.size(); ++i) {
        EXPECT_GE(gaps[i], 3) << testing::PrintToString(gaps);
        if (i != 4) {
            EXPECT_GE(gaps[4], gaps[i] + 4) << testing::PrintToString(gaps);
        }
    }
}

TEST_F(MainWindowForm, TheNumberBoxShowsAllFourteenDigits) {
    auto* numbers = qobject_cast<QLineEdit*>(control("号码框"));
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    numbers->setFocus();
    QTest::keyClicks(numbers, QStringLiteral("08080808080808"));
    // Inside the frame and the box's own margins: nothing scrolled away.
    const int room =
        numbers->width() - 2 * numbers->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) - 4;
    EXPECT_LE(QFontMetrics(numbers->font()).horizontalAdvance(numbers->text()), room);
    EXPECT_LE(numbers->inputMethodQuery(Qt::ImCursorRectangle).toRect().right(), numbers->width());
    EXPECT_EQ(numbers->font().pixelSize(), 19);
}

TEST_F(MainWindowForm, ChineseCaptionsHaveGlyphsInTheirFonts) {
    for (QWidget* w : window_->clientArea()->findChildren<QWidget*>()) {
        QString caption;
        if (auto* label = qobject_cast<QLabel*>(w))
            caption = label->text();
        else if (auto* button = qobject_cast<QPushButton*>(w))
            caption = button->text();
        else if (auto* box = qobject_cast<QGroupBox*>(w))
            caption = box->title();
        const QFontMetrics fm(w->font());
        for (const QChar c : caption) {
            if (c.unicode() < 0x80)
                continue;
            EXPECT_TRUE(fm.inFontUcs4(c.unicode()))
                << w->objectName().toStdString() << " has no glyph for "
                << QString(c).toStdString();
        }
    }
    // The faces resolve to an installed face.
    const QFontInfo song(formFont(FontFace::SongTi, 16, true));
    EXPECT_TRUE(fontFamilies(FontFace::SongTi).contains(song.family())) << song.family();
    const QFontInfo kai(formFont(FontFace::KaiTi, 29, true));
    EXPECT_TRUE(fontFamilies(FontFace::KaiTi).contains(kai.family())) << kai.family();
    EXPECT_EQ(kai.pixelSize(), 29);
}

TEST_F(MainWindowForm, ResultCellsShowTwoNumbersALine) {
    auto* cell = window_->clientArea()->findChild<FormLabel*>(QStringLiteral("等级二13"));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->objectName(), QStringLiteral("等级二13"));
    EXPECT_EQ(cell->geometry(), QRect(179, 207, 49, 69));
    cell->setText(QStringLiteral("06 08 12 15"));
    const QFontMetrics fm(cell->font());
    const QRect two = fm.boundingRect(cell->contentsRect(), Qt::TextWordWrap | Qt::AlignLeft,
                                      QStringLiteral("06 08"));
    EXPECT_EQ(two.height(), fm.height()) << "two numbers fit on one line";
    const QRect four =
        fm.boundingRect(cell->contentsRect(), Qt::TextWordWrap | Qt::AlignLeft, cell->text());
    EXPECT_EQ(four.height(), 2 * fm.height()) << "four numbers take two lines";
    EXPECT_LE(four.height(), cell->contentsRect().height());
}

TEST_F(MainWindowForm, ClosingEndsTheProgramThroughClosed) {
    int closed = 0;
    QObject::connect(window_.get(), &MainWindow::closed, [&] { ++closed; });
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    EXPECT_TRUE(window_->close());
    EXPECT_EQ(closed, 1);
}

TEST_F(MainWindowForm, HistoryStoreUsesTheProgramDirectoryAndExtension) {
    state_.installationKey = std::string(32, 'a');
    const HistoryStore store = window_->historyStore();
    EXPECT_EQ(store.columnPath("qq"), toPath(dir_.path()) / "qq.dll");
    // The set-up showed the summary of the (empty) history.
    EXPECT_EQ(qobject_cast<FormLabel*>(control("号库显示"))->text(),
              QStringLiteral("号库数量:0    第期:"));
}

} // namespace
