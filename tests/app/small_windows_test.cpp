// The intro, about, help and start-up windows.
#include <QApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QSet>
#include <QTextBrowser>
#include <algorithm>

#include "app/windows/about_window.h"
#include "app/form/form_widgets.h"
#include "app/windows/help_window.h"
#include "app/windows/intro_window.h"
#include "app/form/look.h"
#include "app/windows/startup_window.h"
#include "core/process_state.h"
#include "tests/support/window_support.h"

using namespace dlt;
using namespace dlt::gui;
using testsupport::near;
using testsupport::only;

namespace {

ProcessState identity() {
    ProcessState state;
    setProductIdentity(state);
    return state;
}

QColor rgb(int value) {
    return QColor(QRgb(0xFF000000u | unsigned(value)));
}

// ---- Intro -------------------------------------------------------------------

TEST(IntroWindowForm, SizeTitlePictureLabelAndButton) {
    const ProcessState state = identity();
    IntroWindow intro(state);
    // 692 by 669 outside: the client area is that less the frame.
    EXPECT_EQ(intro.size(), QSize(684, 635));
    EXPECT_EQ(intro.minimumSize(), intro.maximumSize());
    EXPECT_EQ(intro.windowTitle(), QStringLiteral("禾澄大乐透荐号器v3.1"));

    auto* picture = only<PictureBox>(&intro, QStringLiteral("图片框1"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->geometry(), QRect(-1, 0, 688, 584));
    EXPECT_EQ(picture->picture().size(), QSize(691, 587));
    EXPECT_FALSE(picture->hasScaledContents()); // shown as it is, clipped

    auto* label = only<FormLabel>(&intro, QStringLiteral("标签1"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->geometry(), QRect(0, 584, 344, 56));
    EXPECT_EQ(label->text(), QStringLiteral("禾澄科技"));
    EXPECT_EQ(label->font().families().first(), QStringLiteral("SimHei"));
    EXPECT_EQ(label->font().pixelSize(), 21);
    EXPECT_TRUE(label->font().bold());
    EXPECT_TRUE(label->font().italic());
    EXPECT_EQ(label->textColour(), rgb(0x808080));
    EXPECT_TRUE(label->isTransparentBackground());
    EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

    auto* next = only<QPushButton>(&intro, QStringLiteral("按钮1"));
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->geometry(), QRect(488, 595, 96, 32));
    EXPECT_EQ(next->text(), QStringLiteral("下一步"));
    EXPECT_EQ(next->font().families().first(), QStringLiteral("KaiTi"));
    EXPECT_EQ(next->font().pixelSize(), 24);
    EXPECT_TRUE(next->font().bold());
}

TEST(IntroWindowForm, NextEndsTheModalWindow) {
    const ProcessState state = identity();
    IntroWindow intro(state);
    bool shown = false;
    QObject::connect(&intro, &IntroWindow::shown, [&] {
        shown = true;
        QTimer::singleShot(0, &intro, [&] {
            QTest::mouseClick(intro.findChild<QPushButton*>(QStringLiteral("按钮1")),
                              Qt::LeftButton);
        });
    });
    EXPECT_EQ(intro.exec(), QDialog::Accepted);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(intro.isVisible());
}

// No band of the client area lies beside or below every control.
void expectNoBlankBands(QWidget* window) {
    QRect covered;
    for (QWidget* control : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!control->objectName().isEmpty())
            covered |= control->geometry();
    EXPECT_GE(covered.right(), window->rect().right());
    EXPECT_GE(covered.bottom(), window->rect().bottom());
    EXPECT_LE(covered.left(), 0);
    EXPECT_LE(covered.top(), 0);
}

TEST(IntroWindowForm, NoBlankBandBesideThePictureOrUnderTheButton) {
    const ProcessState state = identity();
    IntroWindow intro(state);
    intro.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&intro));
    expectNoBlankBands(&intro);
    // The picture reaches the right edge: its last column is picture, not
    // the window's face.
    const QImage image = intro.grab().toImage();
    const QColor face = intro.palette().color(QPalette::Window);
    int picture = 0;
    for (int y = 0; y < 584; ++y)
        picture += near(image.pixelColor(image.width() - 1, y), face, 2) ? 0 : 1;
    EXPECT_GT(picture, 500);
}

TEST(IntroWindowForm, PictureIsDrawnInTheWindow) {
    const ProcessState state = identity();
    IntroWindow intro(state);
    intro.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&intro));
    const QImage image = intro.grab().toImage();
    // The picture is not the window's plain background: count its colours.
    QSet<QRgb> colours;
    for (int y = 0; y < 584; y += 7)
        for (int x = 0; x < 687; x += 7)
            colours.insert(image.pixel(x, y));
    EXPECT_GT(colours.size(), 50);
}

// ---- About -------------------------------------------------------------------

struct AboutRow {
    const char* name;
    QRect place;
    int colour;
};

TEST(AboutWindowForm, FramelessWithTheControlsInPlace) {
    const ProcessState state = identity();
    AboutWindow about(state);
    EXPECT_EQ(about.size(), QSize(408, 282));
    EXPECT_TRUE(about.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("关于..."));

    const AboutRow rows[] = {
        {"透明标签30", {8, 32, 176, 104}, -1},
        {"透明标签14", {208, 57, 176, 56}, 0x00FF00},
        {"透明标签20", {192, 120, 208, 145}, 0xD8D800},
        {"透明标签16", {16, 144, 152, 16}, 0x00E080},
        {"透明标签17", {16, 162, 152, 16}, 0x00E080},
        {"透明标签25", {16, 180, 152, 16}, 0x00E080},
        {"透明标签18", {16, 196, 152, 16}, 0x00E080},
        {"透明标签19", {16, 212, 134, 16}, 0x00E080},
        {"透明标签22", {16, 232, 120, 16}, 0xFFFFFF},
        {"透明标签15", {0, 256, 408, 24}, 0x00FFFF},
    };
    for (const AboutRow& row : rows) {
        SCOPED_TRACE(row.name);
        auto* label = only<TransparentLabel>(&about, QString::fromUtf8(row.name));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->geometry(), row.place);
        EXPECT_TRUE(label->isTransparentBackground());
        EXPECT_FALSE(label->hasSingleBorder());
        if (row.colour >= 0) {
            EXPECT_EQ(label->textColour(), rgb(row.colour));
        }
        // Every text fits its label.
        const QFontMetrics fm(label->font());
        const QRect needed = fm.boundingRect(
            QRect(QPoint(0, 0), label->size()),
            int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0), label->text());
        EXPECT_LE(needed.width(), label->width());
        EXPECT_LE(needed.height(), label->height() + 2);
        EXPECT_EQ(label->font().pixelSize(), row.colour == 0x00FF00 ? 21 : 12);
    }

    auto* heading = only<FormLabel>(&about, QStringLiteral("标签2"));
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->geometry(), QRect(0, -7, 408, 298));
    EXPECT_EQ(heading->text(), QStringLiteral("\n 关于软件"));
    EXPECT_EQ(heading->font().families().first(), QStringLiteral("SimSun"));
    EXPECT_EQ(heading->font().pixelSize(), 16);
    EXPECT_TRUE(heading->font().bold());
    EXPECT_EQ(heading->textColour(), rgb(0x8080FF));
    EXPECT_EQ(heading->gradientStops(),
              (QList<QColor>{rgb(0x535353), rgb(0x6A6A6A), rgb(0x3C3C3C)}));
    EXPECT_EQ(heading->alignment() & (Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask),
              Qt::AlignHCenter | Qt::AlignTop);
    EXPECT_TRUE(heading->wordWrap());
    EXPECT_TRUE(heading->hasTextEffect());

    auto* product = only<TransparentLabel>(&about, QStringLiteral("透明标签14"));
    EXPECT_EQ(product->text(), QStringLiteral("禾澄大乐透荐号器\nv3.1"));
    EXPECT_EQ(product->font().families().first(), QStringLiteral("KaiTi_GB2312"));
    EXPECT_TRUE(product->font().bold());

    auto* download = only<TransparentLabel>(&about, QStringLiteral("透明标签22"));
    EXPECT_EQ(download->text(), QStringLiteral("单击这里下载最新版本"));
    EXPECT_TRUE(download->font().underline());
    EXPECT_EQ(download->font().families().first(), QStringLiteral("SimSun"));
    EXPECT_EQ(download->cursor().shape(), Qt::PointingHandCursor);

    EXPECT_TRUE(only<TransparentLabel>(&about, QStringLiteral("透明标签16"))
                    ->text()
                    .contains(QStringLiteral("禾澄软件工作室")));
    EXPECT_TRUE(only<TransparentLabel>(&about, QStringLiteral("透明标签15"))
                    ->text()
                    .contains(QStringLiteral("禾澄科技")));
    EXPECT_TRUE(only<TransparentLabel>(&about, QStringLiteral("透明标签15"))
                    ->text()
                    .contains(QStringLiteral("2009-2012")));

    auto* logo = only<PictureBox>(&about, QStringLiteral("图片框1"));
    EXPECT_EQ(logo->geometry(), QRect(8, 32, 176, 104));
    EXPECT_EQ(logo->picture().size(), QSize(387, 200));
    // Drawn as large as the box allows with the picture's proportions.
    const QRect drawn = logo->pictureRect();
    EXPECT_EQ(drawn.width(), 176);
    EXPECT_NEAR(double(drawn.width()) / drawn.height(), 387.0 / 200.0, 0.03);
    EXPECT_TRUE(logo->rect().contains(drawn));
    auto* mark = only<PictureBox>(&about, QStringLiteral("图片框3"));
    EXPECT_EQ(mark->geometry(), QRect(16, 40, 176, 104));
    EXPECT_TRUE(mark->picture().isNull());

    auto* close = only<ImageButton>(&about, QStringLiteral("关闭按钮"));
    EXPECT_EQ(close->geometry(), QRect(360, 8, 24, 24));
    EXPECT_EQ(close->text(), QStringLiteral("×"));
    EXPECT_TRUE(close->autoRaise());
}

TEST(AboutWindowForm, LogoShiftsWhileTheLeftButtonIsHeld) {
    const ProcessState state = identity();
    AboutWindow about(state);
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    auto* logo = about.findChild<PictureBox*>(QStringLiteral("图片框1"));
    auto* area = about.findChild<TransparentLabel*>(QStringLiteral("透明标签30"));
    ASSERT_TRUE(logo && area);
    EXPECT_EQ(logo->pos(), QPoint(8, 32));

    QTest::mousePress(area, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(logo->pos(), QPoint(16, 40));
    QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(logo->pos(), QPoint(8, 32));

    QTest::mousePress(area, Qt::RightButton, {}, QPoint(50, 50));
    EXPECT_EQ(logo->pos(), QPoint(8, 32)); // only the left button moves it
    QTest::mouseRelease(area, Qt::RightButton, {}, QPoint(50, 50));
    // The press area stays where it is, over the logo's home.
    EXPECT_EQ(area->pos(), QPoint(8, 32));
}

TEST(AboutWindowForm, HeadingStaysClearOfTheLogo) {
    const ProcessState state = identity();
    AboutWindow about(state);
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    auto* heading = only<FormLabel>(&about, QStringLiteral("标签2"));
    auto* logo = only<PictureBox>(&about, QStringLiteral("图片框1"));
    const QString text = heading->text();
    const QRect words = heading->textSpan(int(text.indexOf(QStringLiteral("关于"))), 4);
    ASSERT_FALSE(words.isEmpty());
    const QRect inWindow = words.translated(heading->pos());
    const QRect picture = logo->pictureRect().translated(logo->pos());
    EXPECT_LT(inWindow.bottom(), picture.top()) << inWindow << " above " << picture;
    // The heading's words are drawn there: bluish ink in their line.
    const QImage image = about.grab().toImage();
    int ink = 0;
    for (int y = std::max(inWindow.top(), 0); y <= inWindow.bottom(); ++y)
        for (int x = inWindow.left(); x <= inWindow.right(); ++x)
            ink += near(image.pixelColor(x, y), rgb(0x8080FF), 40) ? 1 : 0;
    EXPECT_GT(ink, 20);
}

TEST(AboutWindowForm, CloseButtonEndsTheWindow) {
    const ProcessState state = identity();
    auto* about = new AboutWindow(state);
    about->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<AboutWindow> alive(about);
    QObject::connect(about, &QDialog::finished, [] {});
    QTimer::singleShot(0, about, [about] {
        QTest::mouseClick(about->findChild<ImageButton*>(QStringLiteral("关闭按钮")),
                          Qt::LeftButton);
    });
    about->exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull());
}

TEST(AboutWindowForm, DarkGradientAndLightTexts) {
    const ProcessState state = identity();
    AboutWindow about(state);
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    const QImage image = about.grab().toImage();
    EXPECT_TRUE(near(image.pixelColor(1, 278), rgb(0x535353), 12));
    EXPECT_TRUE(near(image.pixelColor(406, 240), rgb(0x3C3C3C), 12));
    EXPECT_TRUE(near(image.pixelColor(204, 100), rgb(0x6A6A6A), 12));
}

// ---- Help --------------------------------------------------------------------

TEST(HelpWindowForm, BrowserFillsTheClientAreaAsTheWindowChangesSize) {
    HelpWindow help;
    // 732 by 467 outside: the client area is that less the frame.
    EXPECT_EQ(help.size(), QSize(724, 433));
    EXPECT_TRUE(help.isWindow());
    EXPECT_TRUE(help.windowTitle().isEmpty());
    auto* browser = only<QTextBrowser>(&help, QStringLiteral("超文本浏览框1"));
    auto* cover = only<TransparentLabel>(&help, QStringLiteral("透明标签1"));
    ASSERT_TRUE(browser && cover);
    EXPECT_FALSE(cover->testAttribute(Qt::WA_TransparentForMouseEvents)); // it takes the mouse
    EXPECT_TRUE(cover->text().isEmpty());

    help.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
    const QSize sizes[] = {{724, 433}, {900, 700}, {400, 300}, {1200, 500}, {724, 433}};
    for (const QSize& size : sizes) {
        help.resize(size);
        QApplication::processEvents();
        SCOPED_TRACE(testing::PrintToString(size.width()) + "x" +
                     testing::PrintToString(size.height()));
        EXPECT_EQ(help.size(), size);
        EXPECT_EQ(browser->geometry(), help.rect()); // no blank band
        // The cover reaches the scroll bar and leaves it free.
        const QScrollBar* bar = browser->verticalScrollBar();
        EXPECT_TRUE(bar->isVisible());
        EXPECT_EQ(cover->geometry(),
                  QRect(0, 0, bar->mapTo(&help, QPoint(0, 0)).x(), size.height()));
    }
    // The cover lies over the browser.
    const QList<QObject*> order = help.children();
    EXPECT_GT(order.indexOf(cover), order.indexOf(browser));
}

TEST(HelpWindowForm, EscCloses) {
    HelpWindow help;
    help.show();
    help.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&help));
    QTest::keyClick(&help, Qt::Key_Escape);
    EXPECT_FALSE(help.isVisible());
}

// ---- Start-up window ---------------------------------------------------------

TEST(StartupWindowForm, NeverShownAndCarriesAHiddenBrowser) {
    StartupWindow window;
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.size(), QSize(390, 266));
    auto* browser = only<HiddenBrowser>(&window, QStringLiteral("超文本浏览框1"));
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->geometry(), QRect(352, 88, 8, 0));
    EXPECT_TRUE(browser->isHidden());
    EXPECT_TRUE(browser->address().empty()); // it visits nothing by itself
}

} // namespace
