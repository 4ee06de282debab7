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
#include <QApplication>
#include <QTemporaryDir>

#include "app/gui/form_widgets.h"
#include "app/gui/gbk.h"
#include "app/gui/look.h"
#include "app/gui/main_window.h"
#include "app/gui/platform.h"
#include "core/process_state.h"
#include "support.h"

using namespace dlt;
using namespace dlt::gui;
using testsupport::near;
using testsupport::only;

namespace {

enum class Kind { Label, Button, EditBox, GroupBox, ListBox };
enum class Face { Default, Song, Kai, MsSans };
enum class Bg { None, Solid, Gradient, Transparent };

struct ControlRow {
    const char* name;
    Kind kind;
    const char* parent; // "" for the client area
    QRect place;
    const char* caption;
    Face face;
    int pixels;
    bool bold;
    int text = -1; // 0xRRGGBB of the text, -1 when the form gives none
    Bg bg = Bg::None;
    int background = -1;
    int stops[3] = {-1, -1, -1};
    Qt::Alignment alignment = {};
    bool border = false;
    bool wrap = false;
};

constexpr Qt::Alignment CM = Qt::AlignHCenter | Qt::AlignVCenter;
constexpr Qt::Alignment LM = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment LT = Qt::AlignLeft | Qt::AlignTop;

const char* const kBox1 = "分组框1";
const char* const kBox2 = "分组框2";

std::vector<ControlRow> formTable() {
    std::vector<ControlRow> rows = {
        {"分组框1", Kind::GroupBox, "", {8, 8, 440, 360}, "选号结果：", Face::Default, 12, false, 0x0088FF},
        {"分组框2", Kind::GroupBox, "", {449, 6, 184, 362}, "", Face::Default, 12, false},
        {"标签10", Kind::Label, kBox1, {20, 20, 64, 52}, "优先级", Face::Song, 16, true, 0x000000, Bg::Solid, 0xE6FFFF, {}, CM, true},
        {"标签7", Kind::Label, kBox1, {83, 20, 241, 33}, "前区推荐", Face::Song, 16, true, 0xFF0000, Bg::Gradient, -1, {0xE1FFFF, 0xFFBFD1, 0xD0D0FF}, CM, true},
        {"标签8", Kind::Label, kBox1, {323, 20, 97, 33}, "后区推荐", Face::Song, 16, true, 0x0000FF, Bg::Gradient, -1, {0xCCCCFF, 0xB0DAFF, 0xDDFFFF}, CM, true},
        {"精选1", Kind::Label, kBox1, {83, 52, 49, 20}, "①", Face::Song, 16, true, 0xFF0000, Bg::Solid, 0xD0FFD0, {}, CM, true},
        {"精选2", Kind::Label, kBox1, {131, 52, 49, 20}, "②", Face::Song, 16, true, 0xFF0000, Bg::Solid, 0xD0FFD0, {}, CM, true},
        {"精选3", Kind::Label, kBox1, {179, 52, 49, 20}, "③", Face::Song, 16, true, 0xFF0000, Bg::Solid, 0xD0FFD0, {}, CM, true},
        {"精选4", Kind::Label, kBox1, {227, 52, 49, 20}, "④", Face::Song, 16, true, 0xFF0000, Bg::Solid, 0xD0FFD0, {}, CM, true},
        {"精选5", Kind::Label, kBox1, {275, 52, 49, 20}, "⑤", Face::Song, 16, true, 0xFF0000, Bg::Solid, 0xD0FFD0, {}, CM, true},
        {"精选6", Kind::Label, kBox1, {323, 52, 49, 20}, "①", Face::Song, 16, true, 0x0000FF, Bg::Solid, 0xD0FFD0, {}, CM, true},
        {"精选7", Kind::Label, kBox1, {371, 52, 49, 20}, "②", Face::Song, 16, true, 0x0000FF, Bg::Solid, 0xD0FFD0, {}, CM, true},
        {"标签6", Kind::Label, kBox1, {20, 71, 64, 69}, "精选级", Face::Song, 16, true, 0xFF0000, Bg::Solid, 0xD0FFD0, {}, CM, true},
        {"标签1", Kind::Label, kBox1, {20, 139, 64, 69}, "等级一", Face::Song, 16, true, 0x000000, Bg::Solid, 0xECFFFF, {}, CM, true},
        {"标签4", Kind::Label, kBox1, {20, 207, 64, 69}, "等级二", Face::Song, 16, true, 0x000000, Bg::Solid, 0xECFFFF, {}, CM, true},
        {"标签5", Kind::Label, kBox1, {20, 275, 64, 69}, "等级三", Face::Song, 16, true, 0x000000, Bg::Solid, 0xECFFFF, {}, CM, true},

        {"推荐号码按钮", Kind::Button, kBox2, {8, 21, 168, 40}, "推荐号码", Face::Kai, 29, true},
        {"上期号码2", Kind::Label, kBox2, {1, 84, 182, 24}, "下期精选推荐", Face::Song, 14, true, 0xFF0000, Bg::Solid, 0xDDDDFF, {}, CM, true},
        {"下期精选号", Kind::Label, kBox2, {1, 107, 182, 24}, "", Face::Song, 14, true, 0xFFFFFF, Bg::Gradient, -1, {0xFF7171, 0xFF95CA, 0x8484FF}, CM, true},
        {"标签2", Kind::Label, kBox2, {8, 151, 168, 24}, "请按顺序输入往期号增加精度：", Face::Default, 12, false, 0xFF0000, Bg::Transparent, -1, {}, LM, false},
        {"标签13", Kind::Label, kBox2, {8, 177, 17, 23}, "第", Face::Default, 12, false, 0x000000, Bg::Transparent, -1, {}, CM, true},
        {"期号框", Kind::EditBox, kBox2, {24, 177, 79, 23}, "", Face::Default, 19, true, 0x000000, Bg::Solid, 0xFFFFFF, {}, Qt::AlignHCenter},
        {"标签14", Kind::Label, kBox2, {102, 177, 74, 23}, "期号码：", Face::Default, 12, false, 0x000000, Bg::Transparent, -1, {}, CM, true},
        {"号码框", Kind::EditBox, kBox2, {8, 199, 168, 28}, "", Face::MsSans, 19, true, 0x000000, Bg::Solid, 0xFFFFFF, {}, Qt::AlignLeft},
        {"确认输入按钮", Kind::Button, kBox2, {7, 226, 170, 33}, "确 认 输 入", Face::Song, 19, false},
        {"号库显示", Kind::Label, kBox2, {8, 268, 168, 15}, "", Face::Song, 12, false, 0xC06000, Bg::Transparent, -1, {}, LM, false},
        {"上期号码", Kind::Label, kBox2, {8, 288, 168, 15}, "", Face::Song, 14, true, 0xC06000, Bg::Transparent, -1, {}, LM, false},
        {"清除上期号按钮", Kind::Button, kBox2, {8, 317, 71, 29}, "清除上期号", Face::Default, 12, false},
        {"展开高级功能按钮", Kind::Button, kBox2, {87, 317, 89, 29}, "展开高级功能", Face::Default, 12, false},

        {"列表框1", Kind::ListBox, "", {642, 14, 214, 330}, "", Face::Default, 12, false, 0x000000, Bg::Solid, 0xFFFFFF},
        {"自动获取往期号按钮", Kind::Button, "", {641, 343, 216, 25}, "自动获取并输入往期号码", Face::Default, 12, false},

        {"标签3", Kind::Label, "", {0, 368, 640, 24}, nullptr, Face::Default, 12, false, 0x0000FF, Bg::Transparent, -1, {}, CM, false},
        {"透明标签1", Kind::Label, "", {56, 368, 336, 24}, "", Face::Default, 12, false, -1, Bg::Transparent},
        {"透明标签2", Kind::Label, "", {392, 368, 96, 24}, "", Face::Default, 12, false, -1, Bg::Transparent},
    };
    struct RowDef { const char* prefix; int top; int background; };
    const RowDef gridRows[] = {{"精选", 71, 0xD0FFD0}, {"等级一", 139, 0xECFFFF}, {"等级二", 207, 0xECFFFF}, {"等级三", 275, 0xECFFFF}};
    struct ColumnDef { const char* digits; int left; int text; };
    const ColumnDef columns[] = {{"11", 83, 0xFF0000}, {"12", 131, 0xFF0000}, {"13", 179, 0xFF0000}, {"14", 227, 0xFF0000},
                                 {"15", 275, 0xFF0000}, {"21", 323, 0x0000FF}, {"22", 371, 0x0000FF}};
    static std::vector<std::string> names; // keeps the composed names alive
    names.reserve(28);
    for (const RowDef& r : gridRows)
        for (const ColumnDef& c : columns) {
            names.push_back(std::string(r.prefix) + c.digits);
            rows.push_back({names.back().c_str(), Kind::Label, kBox1, {c.left, r.top, 49, 69}, "", Face::Song, 16, true,
                            c.text, Bg::Solid, r.background, {}, LT, true, true});
        }
    return rows;
}

QString firstFamily(Face face) {
    switch (face) {
    case Face::Default:
    case Face::Song:
        return QStringLiteral("SimSun");
    case Face::Kai:
        return QStringLiteral("KaiTi");
    case Face::MsSans:
        return QStringLiteral("Microsoft Sans Serif");
    }
    return {};
}

QColor rgb(int value) {
    return QColor(QRgb(0xFF000000u | unsigned(value)));
}

class MainWindowForm : public ::testing::Test {
protected:
    void SetUp() override {
        setProductIdentity(state_);
        ASSERT_TRUE(dir_.isValid());
        window_ = std::make_unique<MainWindow>(state_, toPath(dir_.path()));
    }

    QWidget* control(const char* name) const {
        return only<QWidget>(window_.get(), QString::fromUtf8(name));
    }

    ProcessState state_;
    QTemporaryDir dir_;
    std::unique_ptr<MainWindow> window_;
};

TEST_F(MainWindowForm, EveryControlHasItsNameKindPlaceCaptionFontAndColours) {
    const auto table = formTable();
    ASSERT_EQ(table.size(), 34u + 28u);
    for (const ControlRow& row : table) {
        SCOPED_TRACE(row.name);
        QWidget* w = control(row.name);
        ASSERT_NE(w, nullptr);

        const QString parentName = QString::fromUtf8(row.parent);
        if (parentName.isEmpty()) {
            EXPECT_EQ(w->parentWidget(), window_->clientArea());
        } else {
            EXPECT_EQ(w->parentWidget()->objectName(), parentName);
        }
        EXPECT_EQ(w->geometry(), row.place);

        QString caption;
        switch (row.kind) {
        case Kind::Label: {
            auto* label = qobject_cast<FormLabel*>(w);
            ASSERT_NE(label, nullptr) << "not a label";
            caption = label->text();
            EXPECT_EQ(label->alignment() & (Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask),
                      row.alignment ? row.alignment : label->alignment());
            EXPECT_EQ(label->hasSingleBorder(), row.border);
            EXPECT_EQ(label->wordWrap(), row.wrap);
            if (row.text >= 0) {
                EXPECT_EQ(label->textColour(), rgb(row.text));
            }
            if (row.bg == Bg::Solid) {
                EXPECT_EQ(label->backgroundColour(), rgb(row.background));
            }
            if (row.bg == Bg::Transparent) {
                EXPECT_TRUE(label->isTransparentBackground());
            }
            if (row.bg == Bg::Gradient) {
                const QList<QColor> expected{rgb(row.stops[0]), rgb(row.stops[1]), rgb(row.stops[2])};
                EXPECT_EQ(label->gradientStops(), expected);
            }
            EXPECT_EQ(w->focusPolicy(), Qt::NoFocus);
            break;
        }
        case Kind::Button: {
            auto* button = qobject_cast<QPushButton*>(w);
            ASSERT_NE(button, nullptr) << "not a button";
            caption = button->text();
            EXPECT_NE(w->focusPolicy() & Qt::TabFocus, 0);
            break;
        }
        case Kind::EditBox: {
            auto* edit = qobject_cast<QLineEdit*>(w);
            ASSERT_NE(edit, nullptr) << "not an edit box";
            caption = edit->text();
            EXPECT_EQ(edit->alignment() & Qt::AlignHorizontal_Mask, row.alignment);
            EXPECT_EQ(edit->palette().color(QPalette::Text), rgb(row.text));
            EXPECT_EQ(edit->palette().color(QPalette::Base), rgb(row.background));
            EXPECT_TRUE(edit->hasFrame());
            EXPECT_NE(w->focusPolicy() & Qt::TabFocus, 0);
            break;
        }
        case Kind::GroupBox: {
            auto* box = qobject_cast<QGroupBox*>(w);
            ASSERT_NE(box, nullptr) << "not a group box";
            caption = box->title();
            if (row.text >= 0) {
                EXPECT_EQ(box->palette().color(QPalette::WindowText), rgb(row.text));
            }
            EXPECT_EQ(w->focusPolicy(), Qt::NoFocus);
            break;
        }
        case Kind::ListBox: {
            auto* list = qobject_cast<QListWidget*>(w);
            ASSERT_NE(list, nullptr) << "not a list box";
            EXPECT_EQ(list->count(), 0);
            EXPECT_EQ(list->palette().color(QPalette::Text), rgb(row.text));
            EXPECT_EQ(list->palette().color(QPalette::Base), rgb(row.background));
            EXPECT_NE(w->focusPolicy() & Qt::TabFocus, 0);
            break;
        }
        }
        if (row.caption) {
            EXPECT_EQ(caption, QString::fromUtf8(row.caption));
        }

        EXPECT_EQ(w->font().pixelSize(), row.pixels);
        EXPECT_EQ(w->font().bold(), row.bold);
        EXPECT_FALSE(w->font().italic());
        ASSERT_FALSE(w->font().families().isEmpty());
        EXPECT_EQ(w->font().families().first(), firstFamily(row.face));
        // Only the confirm button starts disabled.
        EXPECT_EQ(w->isEnabled(), QString::fromUtf8(row.name) != QStringLiteral("确认输入按钮"));
    }
}

TEST_F(MainWindowForm, ControlsThatTakeTheFocusAreTheEditBoxesButtonsAndListBox) {
    int focusable = 0;
    for (QWidget* w : window_->clientArea()->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || !(w->focusPolicy() & Qt::TabFocus))
            continue;
        ++focusable;
        EXPECT_TRUE(qobject_cast<QLineEdit*>(w) || qobject_cast<QPushButton*>(w) || qobject_cast<QListWidget*>(w))
            << w->objectName();
    }
    EXPECT_EQ(focusable, 2 + 5 + 1); // two edit boxes, five buttons, the list box
}

TEST_F(MainWindowForm, FooterNamesTheMakerAndItsLinksHaveAHandCursor) {
    auto* footer = qobject_cast<FormLabel*>(control("标签3"));
    ASSERT_NE(footer, nullptr);
    EXPECT_TRUE(footer->text().contains(QStringLiteral("禾澄科技")));
    EXPECT_TRUE(footer->text().contains(QStringLiteral("http://www.hecheng-soft.example")));
    EXPECT_TRUE(footer->text().contains(QStringLiteral("2009-2012")));
    for (const char* name : {"透明标签1", "透明标签2"}) {
        auto* link = qobject_cast<TransparentLabel*>(control(name));
        ASSERT_NE(link, nullptr) << name;
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor) << name;
        EXPECT_TRUE(link->text().isEmpty());
        EXPECT_TRUE(link->isVisible() || !window_->isVisible());
    }
    // The links lie over the footer: raised above it.
    const QList<QObject*> order = window_->clientArea()->children();
    EXPECT_GT(order.indexOf(control("透明标签1")), order.indexOf(footer));
    EXPECT_GT(order.indexOf(control("透明标签2")), order.indexOf(footer));
    // The web address is drawn under the first link, not the second.
    const QFontMetrics fm(footer->font());
    const int textLeft = (footer->width() - fm.horizontalAdvance(footer->text())) / 2;
    const int addressLeft = textLeft + fm.horizontalAdvance(footer->text().left(
                                           footer->text().indexOf(QStringLiteral("http://"))));
    const int addressRight = addressLeft + fm.horizontalAdvance(QStringLiteral("http://www.hecheng-soft.example"));
    EXPECT_GE(addressLeft, 56);
    EXPECT_LE(addressRight, 392);
}

TEST_F(MainWindowForm, WindowIs648By443WithItsTitleAndTheAdvancedAreaOutside) {
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    EXPECT_EQ(window_->size(), QSize(648, 443 + window_->menuBar()->height()));
    EXPECT_EQ(window_->clientArea()->size(), QSize(648, 443));
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("禾澄大乐透荐号器 v3.1"));
    EXPECT_EQ(window_->pos(), QPoint(50, 50));
    EXPECT_EQ(state_.historyFileExtension, ".dll");
    // Not resizable by the user.
    EXPECT_EQ(window_->minimumSize(), window_->maximumSize());

    QWidget* list = control("列表框1");
    QWidget* fetch = control("自动获取往期号按钮");
    for (QWidget* w : {list, fetch}) {
        EXPECT_FALSE(w->isVisible()) << w->objectName();
        EXPECT_TRUE(w->visibleRegion().isEmpty()) << w->objectName();
        EXPECT_GE(w->x(), 641);
    }
    // Everything else is visible and inside the window.
    for (const ControlRow& row : formTable()) {
        QWidget* w = control(row.name);
        if (w == list || w == fetch)
            continue;
        EXPECT_TRUE(w->isVisible()) << row.name;
        const QRect inClient(w->mapTo(window_->clientArea(), QPoint(0, 0)), w->size());
        EXPECT_TRUE(window_->clientArea()->rect().contains(inClient)) << row.name;
    }

    window_->setClientWidth(MainWindow::kWideWidth);
    QApplication::processEvents();
    EXPECT_EQ(window_->size(), QSize(869, 443 + window_->menuBar()->height()));
    EXPECT_TRUE(list->isVisible());
    EXPECT_TRUE(fetch->isVisible());
    EXPECT_TRUE(window_->clientArea()->rect().contains(list->geometry()));
    EXPECT_TRUE(window_->clientArea()->rect().contains(fetch->geometry()));

    window_->setClientWidth(MainWindow::kNarrowWidth);
    QApplication::processEvents();
    EXPECT_EQ(window_->size(), QSize(648, 443 + window_->menuBar()->height()));
    EXPECT_FALSE(list->isVisible());
}

TEST_F(MainWindowForm, AMenuBarAddsToTheWindowNotToTheClientArea) {
    window_->menuBar()->addMenu(QStringLiteral("升级更新"));
    window_->setClientWidth(MainWindow::kNarrowWidth);
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    EXPECT_EQ(window_->clientArea()->size(), QSize(648, 443));
    EXPECT_EQ(window_->height(), 443 + window_->menuBar()->height());
    EXPECT_EQ(window_->width(), 648);
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
        {"期号框", "123456", "12345"},           // a sixth character is refused
        {"期号框", "1a2b-3", "12-3"},            // letters are dropped
        {"期号框", "9 8.7,6+", "9876"},          // so are spaces and punctuation
        {"期号框", "期12", "12"},                // and other typed characters
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
            if (c.lightness() < 60 && !(x == 0 || y == 0 || x == image.width() - 1 || y == image.height() - 1))
                ++dark;
        }
    EXPECT_GT(white, 30);
    EXPECT_GT(dark, 30); // the outline under the text
}

TEST_F(MainWindowForm, ChineseCaptionsHaveGlyphsInTheirFonts) {
    for (const ControlRow& row : formTable()) {
        QWidget* w = control(row.name);
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
            EXPECT_TRUE(fm.inFontUcs4(c.unicode())) << row.name << " has no glyph for " << QString(c);
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
    FormLabel* cell = window_->resultCell(QStringLiteral("等级二"), QStringLiteral("13"));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->objectName(), QStringLiteral("等级二13"));
    EXPECT_EQ(cell->geometry(), QRect(179, 207, 49, 69));
    cell->setText(QStringLiteral("06 08 12 15"));
    const QFontMetrics fm(cell->font());
    const QRect two = fm.boundingRect(cell->contentsRect(), Qt::TextWordWrap | Qt::AlignLeft, QStringLiteral("06 08"));
    EXPECT_EQ(two.height(), fm.height()) << "two numbers fit on one line";
    const QRect four = fm.boundingRect(cell->contentsRect(), Qt::TextWordWrap | Qt::AlignLeft, cell->text());
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
    window_->refreshHistorySummary(); // not implemented yet: changes nothing
    EXPECT_TRUE(qobject_cast<FormLabel*>(control("号库显示"))->text().isEmpty());
}

} // namespace
