// The text edge, the font faces and the XP-style look.
#include <QApplication>
#include <QFontInfo>
#include <QLineEdit>
#include <QStyle>
#include <QTest>

#include "app/ports/text.h"
#include "app/form/look.h"
#include "core/process_state.h"
#include "tests/support/window_support.h"

using namespace dlt;
using namespace dlt::gui;

namespace {

TEST(TextEdge, TheProgramsUtf8ReachesTheWidgetsWhole) {
    EXPECT_EQ(fromUtf8("号码推荐中，请稍等... 03 11  05 09"),
              QStringLiteral("号码推荐中，请稍等... 03 11  05 09"));
    EXPECT_EQ(fromUtf8(std::string_view("第15061期", 8)), QStringLiteral("第15061"));
    EXPECT_EQ(toUtf8(QStringLiteral("禾澄大乐透荐号器①")), "禾澄大乐透荐号器①");
    ProcessState state;
    setProductIdentity(state);
    EXPECT_EQ(fromUtf8(introTitle(state)), QStringLiteral("禾澄大乐透荐号器v3.1"));
    EXPECT_EQ(fromUtf8(mainTitle(state)), QStringLiteral("禾澄大乐透荐号器 v3.1"));
}

TEST(Look, SchemesAndTheirFrameColours) {
    EXPECT_EQ(xpFrameColour(kXpSchemeBlue), QColor(0x7B, 0x9E, 0xBD));
    EXPECT_EQ(xpFrameColour(kXpSchemeOlive), QColor(0xA4, 0xB9, 0x7F));
    EXPECT_EQ(xpFrameColour(kXpSchemeSilver), QColor(0xC6, 0xC4, 0xD7));
    EXPECT_FALSE(xpFrameColour(0).isValid());
    EXPECT_FALSE(xpFrameColour(4).isValid());
}

TEST(Look, SwitchingSchemesRedrawsFramesInTheirColour) {
#ifdef Q_OS_WIN
    GTEST_SKIP() << "the native style draws the frames on Windows";
#endif
    const auto frameOf = [] {
        QLineEdit edit;
        edit.resize(80, 23);
        edit.show();
        return edit.grab().toImage().pixelColor(40, 0);
    };
    applyXpLook(kXpSchemeOlive);
    EXPECT_EQ(currentXpScheme(), kXpSchemeOlive);
    EXPECT_EQ(frameOf(), QColor(0xA4, 0xB9, 0x7F));
    applyXpLook(7); // switches the look off
    EXPECT_EQ(currentXpScheme(), 0);
    EXPECT_NE(frameOf(), QColor(0xA4, 0xB9, 0x7F));
    applyXpLook(kXpSchemeBlue);
    EXPECT_EQ(currentXpScheme(), kXpSchemeBlue);
    EXPECT_EQ(frameOf(), QColor(0x7B, 0x9E, 0xBD));
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor(0xEC, 0xE9, 0xD8));
}

TEST(Look, FacesHaveFallbacksThatAreInstalled) {
    for (FontFace face : {FontFace::DefaultGui, FontFace::SongTi, FontFace::KaiTi, FontFace::HeiTi,
                          FontFace::KaiTiGb2312, FontFace::MicrosoftSansSerif}) {
        const QFont font = formFont(face, 19, FontStyle{true, false, false});
        EXPECT_EQ(font.pixelSize(), 19);
        EXPECT_EQ(font.weight(), QFont::Bold);
        // The family as the font database names it, less a foundry in brackets.
        const QString family = QFontInfo(font).family().section(QStringLiteral(" ["), 0, 0);
        EXPECT_TRUE(fontFamilies(face).contains(family)) << family;
        EXPECT_TRUE(QFontMetrics(font).inFontUcs4(U'禾')) << family;
    }
    EXPECT_EQ(defaultGuiFont().pixelSize(), 12);
    EXPECT_EQ(defaultGuiFont().weight(), QFont::Normal);
}

} // namespace
