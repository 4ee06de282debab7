// The look of every window: the XP-style look with its colour schemes and
// the font faces of the forms. All rendering decisions live in look.cpp.
#pragma once

#include <QColor>
#include <QFont>
#include <QSize>
#include <QStringList>

namespace dlt::gui {

// Colour schemes of the XP-style look: 1 blue, 2 olive, 3 silver; any other
// value switches the look off.
inline constexpr int kXpSchemeBlue = 1;
inline constexpr int kXpSchemeOlive = 2;
inline constexpr int kXpSchemeSilver = 3;

// The colour in which the look draws control frames for a scheme (#7B9EBD,
// #A4B97F, #C6C4D7); invalid for a value that switches the look off.
QColor xpFrameColour(int scheme);

// Switches the XP-style look on for every window of the program. On Windows
// it is the platform's native style; elsewhere a Fusion-based style whose
// control frames use the scheme's colour. Safe to call again. Needs a
// QApplication.
void applyXpLook(int scheme);

// The scheme in force (0 when the look is off).
int currentXpScheme();

// The faces the forms name. Where a face is missing the listed fallbacks
// are used in order.
enum class FontFace { DefaultGui, SongTi, KaiTi, HeiTi, KaiTiGb2312, MicrosoftSansSerif };

QStringList fontFamilies(FontFace face);

struct FontStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

// A face at a character height in pixels.
QFont formFont(FontFace face, int pixelSize, FontStyle style = {});
inline QFont formFont(FontFace face, int pixelSize, bool bold) {
    return formFont(face, pixelSize, FontStyle{bold, false, false});
}

// The window's default GUI font (宋体 12 px on the program's home desktop).
QFont defaultGuiFont();

// How the forms set lines of text. 宋体's lines are exactly one character
// height (the font's pixel size) apart; the faces that stand in for it on
// other desktops have lines about 1.44 times as tall, which would push the
// third and fourth line of a result cell out of its 69 pixels. So the forms'
// labels lay their lines one character height apart, whatever the face, with
// the baseline where 宋体 has it: no more than an eighth of the height (or
// the face's own descent, if smaller) above the line's bottom.
struct FormLineMetrics {
    int pitch = 0;    // from one line's top to the next
    int baseline = 0; // from a line's top to its baseline
};
FormLineMetrics formLineMetrics(const QFont& font);

// The sizes of the forms are outer sizes on the program's home desktop (XP,
// the XP-style look): they include the window's frame, four pixels on the
// left, right and bottom, and the title bar, 30 pixels with the frame's top
// edge. A window's client area is its outer size less these; windows
// without a frame (the about window) have no difference.
inline constexpr int kFrameBorder = 4;
inline constexpr int kTitleBarHeight = 30;
QSize clientSizeOf(QSize outer);
inline int clientWidthOf(int outerWidth) {
    return outerWidth - 2 * kFrameBorder;
}

} // namespace dlt::gui
