// The GBK edge, the font faces and the XP-style look.
#include <QApplication>
#include <QFontInfo>
#include <QLineEdit>
#include <QStyle>
#include <QTest>

#include "app/ports/gbk.h"
#include "app/form/look.h"
#include "core/process_state.h"
#include "core/texts.h"
#include "tests/support/window_support.h"

using namespace dlt;
using namespace dlt::gui;

namespace {

TEST(Gbk, DecodesTheProgramsTexts) {
    EXPECT_EQ(fromGbk(text::productName), QStringLiteral("禾澄大乐透荐号器"));
    EXPECT_EQ(fromGbk(text::initFailed), QStringLiteral("软件初始化失败：请重试！"));
    EXPECT_EQ(fromGbk(text::errorCaption), QStringLiteral("错误"));
    EXPECT_EQ(fromGbk(""), QString());
    EXPECT_EQ(fromGbk("abc 123"), QStringLiteral("abc 123"));
}

TEST(Gbk, EncodesAndRoundTrips) {
    EXPECT_EQ(toGbk(QStringLiteral("禾澄大乐透荐号器")), std::string(text::productName));
    EXPECT_EQ(toGbk(QStringLiteral("①")), "\xA2\xD9");
    const QString mixed = QStringLiteral("号码推荐中，请稍等... 03 11  05 09");
    EXPECT_EQ(fromGbk(toGbk(mixed)), mixed);
    // Two bytes a Chinese character: lengths count bytes.
    EXPECT_EQ(toGbk(QStringLiteral("错误")).size(), 4u);
}

TEST(Gbk, TitlesOfTheProcessStateReadRight) {
    ProcessState state;
    setProductIdentity(state);
    EXPECT_EQ(fromGbk(introTitle(state)), QStringLiteral("禾澄大乐透荐号器v3.1"));
    EXPECT_EQ(fromGbk(mainTitle(state)), QStringLiteral("禾澄大乐透荐号器 v3.1"));
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
