// The XP-style look. On Windows the platform's native style draws it; on
// other desktops XpLookStyle, a Fusion-based style, draws the frames of
// edit boxes, list boxes and group boxes in the scheme's frame colour and
// the buttons in the rounded XP manner. The palette is XP's.
#include "app/form/look.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <algorithm>

namespace dlt::gui {

namespace {

int gScheme = 0;

class XpLookStyle : public QProxyStyle {
public:
    explicit XpLookStyle(QColor frame)
        : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))), frame_(frame) {}

    QPalette standardPalette() const override {
        QPalette p;
        const QColor face(0xEC, 0xE9, 0xD8);
        p.setColor(QPalette::Window, face);
        p.setColor(QPalette::Button, face);
        p.setColor(QPalette::Base, Qt::white);
        p.setColor(QPalette::AlternateBase, QColor(0xF7, 0xF6, 0xEF));
        p.setColor(QPalette::WindowText, Qt::black);
        p.setColor(QPalette::ButtonText, Qt::black);
        p.setColor(QPalette::Text, Qt::black);
        p.setColor(QPalette::BrightText, Qt::white);
        p.setColor(QPalette::Highlight, QColor(0x31, 0x6A, 0xC5));
        p.setColor(QPalette::HighlightedText, Qt::white);
        p.setColor(QPalette::Light, Qt::white);
        p.setColor(QPalette::Midlight, QColor(0xF1, 0xEF, 0xE2));
        p.setColor(QPalette::Mid, QColor(0xAC, 0xA8, 0x99));
        p.setColor(QPalette::Dark, QColor(0x71, 0x6F, 0x64));
        p.setColor(QPalette::Shadow, Qt::black);
        p.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE1));
        p.setColor(QPalette::ToolTipText, Qt::black);
        p.setColor(QPalette::Link, QColor(0x00, 0x66, 0xCC));
        const QColor grey(0xAC, 0xA8, 0x99);
        p.setColor(QPalette::Disabled, QPalette::WindowText, grey);
        p.setColor(QPalette::Disabled, QPalette::ButtonText, grey);
        p.setColor(QPalette::Disabled, QPalette::Text, grey);
        p.setColor(QPalette::Disabled, QPalette::Base, face);
        return p;
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        switch (metric) {
        case PM_DefaultFrameWidth:
            return 2; // a one-pixel frame and a one-pixel gap
        case PM_ButtonShiftHorizontal:
        case PM_ButtonShiftVertical:
            return 1;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* ret) const override {
        if (hint == SH_GroupBox_TextLabelColor && option)
            return int(option->palette.color(QPalette::WindowText).rgba());
        return QProxyStyle::styleHint(hint, option, widget, ret);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        switch (element) {
        case PE_PanelLineEdit: {
            painter->save();
            painter->fillRect(option->rect.adjusted(1, 1, -1, -1), option->palette.base());
            const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
            if (!frame || frame->lineWidth > 0)
                drawFlatFrame(option, painter);
            painter->restore();
            return;
        }
        case PE_FrameLineEdit:
        case PE_Frame:
            painter->save();
            drawFlatFrame(option, painter);
            painter->restore();
            return;
        case PE_FrameGroupBox: {
            painter->save();
            painter->setRenderHint(QPainter::Antialiasing, true);
            painter->setPen(QPen(frameColour(option), 1));
            painter->setBrush(Qt::NoBrush);
            painter->drawRoundedRect(QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
            painter->restore();
            return;
        }
        case PE_PanelButtonCommand:
        case PE_PanelButtonBevel:
            drawXpButton(option, painter);
            return;
        default:
            QProxyStyle::drawPrimitive(element, option, painter, widget);
        }
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override {
        const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
        if (control != CC_GroupBox || !box || (box->subControls & SC_GroupBoxCheckBox)) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        // XP group box: a rounded frame starting half-way down the caption,
        // the caption at the left, plain weight, in the window text colour.
        painter->save();
        const QFontMetrics fm(widget ? widget->font() : painter->font());
        const int half = box->text.isEmpty() ? 0 : fm.height() / 2;
        QStyleOptionFrame frame;
        frame.QStyleOption::operator=(*box);
        frame.rect = box->rect.adjusted(0, half, 0, 0);
        frame.lineWidth = 1;
        if (box->subControls & SC_GroupBoxFrame)
            drawPrimitive(PE_FrameGroupBox, &frame, painter, widget);
        if (!box->text.isEmpty() && (box->subControls & SC_GroupBoxLabel)) {
            const QRect label(box->rect.left() + 6, box->rect.top(),
                              fm.horizontalAdvance(box->text) + 4, fm.height());
            painter->fillRect(label, box->palette.window());
            painter->setPen(box->palette.color(QPalette::WindowText));
            painter->drawText(label, Qt::AlignCenter | Qt::TextHideMnemonic, box->text);
        }
        painter->restore();
    }

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override {
        const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
        if (control == CC_GroupBox && box && !(box->subControls & SC_GroupBoxCheckBox)) {
            const QFontMetrics fm(widget ? widget->font() : QApplication::font());
            const int top = box->text.isEmpty() ? 1 : fm.height();
            switch (sub) {
            case SC_GroupBoxFrame:
                return box->rect;
            case SC_GroupBoxContents:
                return box->rect.adjusted(1, top, -1, -1);
            case SC_GroupBoxLabel:
                return QRect(box->rect.left() + 6, box->rect.top(),
                             fm.horizontalAdvance(box->text) + 4, fm.height());
            default:
                break;
            }
        }
        return QProxyStyle::subControlRect(control, option, sub, widget);
    }

private:
    QColor frameColour(const QStyleOption* option) const {
        return (option->state & State_Enabled) ? frame_ : QColor(0xC9, 0xC7, 0xBA);
    }

    void drawFlatFrame(const QStyleOption* option, QPainter* painter) const {
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setPen(QPen(frameColour(option), 1));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
    }

    void drawXpButton(const QStyleOption* option, QPainter* painter) const {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, true);
        const QRectF r = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
        const bool enabled = option->state & State_Enabled;
        const bool down = option->state & (State_Sunken | State_On);
        const bool hover = enabled && (option->state & State_MouseOver);
        const bool focus = enabled && (option->state & State_HasFocus);
        QLinearGradient face(r.topLeft(), r.bottomLeft());
        if (!enabled) {
            face.setColorAt(0, QColor(0xF5, 0xF4, 0xEA));
            face.setColorAt(1, QColor(0xF5, 0xF4, 0xEA));
        } else if (down) {
            face.setColorAt(0, QColor(0xE1, 0xE0, 0xD8));
            face.setColorAt(1, QColor(0xF2, 0xF1, 0xEC));
        } else {
            face.setColorAt(0, Qt::white);
            face.setColorAt(0.85, QColor(0xF0, 0xEF, 0xEA));
            face.setColorAt(1, QColor(0xD6, 0xD0, 0xC5));
        }
        painter->setBrush(face);
        painter->setPen(QPen(enabled ? frame_.darker(170) : QColor(0xC9, 0xC7, 0xBA), 1));
        painter->drawRoundedRect(r, 3, 3);
        if (hover || focus) {
            // The inner glow of the hovered (orange) or focused (blue) button.
            const QColor glow = hover ? QColor(0xF8, 0xB3, 0x30) : QColor(0x69, 0x82, 0xEE);
            painter->setBrush(Qt::NoBrush);
            painter->setPen(QPen(glow, 2));
            painter->drawRoundedRect(r.adjusted(1.5, 1.5, -1.5, -1.5), 2, 2);
        }
        painter->restore();
    }

    QColor frame_;
};

} // namespace

QColor xpFrameColour(int scheme) {
    switch (scheme) {
    case kXpSchemeBlue:
        return QColor(0x7B, 0x9E, 0xBD);
    case kXpSchemeOlive:
        return QColor(0xA4, 0xB9, 0x7F);
    case kXpSchemeSilver:
        return QColor(0xC6, 0xC4, 0xD7);
    default:
        return QColor();
    }
}

void applyXpLook(int scheme) {
    const QColor frame = xpFrameColour(scheme);
    if (scheme == gScheme && QApplication::style())
        return;
    gScheme = frame.isValid() ? scheme : 0;
#ifdef Q_OS_WIN
    // The native style follows the desktop's own theme and colour scheme.
    if (QStyle* native = QStyleFactory::create(QStringLiteral("windowsvista")))
        QApplication::setStyle(native);
#else
    QStyle* style = frame.isValid() ? static_cast<QStyle*>(new XpLookStyle(frame))
                                    : QStyleFactory::create(QStringLiteral("Fusion"));
    QApplication::setStyle(style);
    QApplication::setPalette(style->standardPalette());
#endif
}

int currentXpScheme() {
    return gScheme;
}

QStringList fontFamilies(FontFace face) {
    switch (face) {
    case FontFace::DefaultGui:
    case FontFace::SongTi:
        return {QStringLiteral("SimSun"),         QStringLiteral("宋体"),
                QStringLiteral("NSimSun"),        QStringLiteral("Noto Serif CJK SC"),
                QStringLiteral("AR PL UMing CN"), QStringLiteral("Noto Sans CJK SC")};
    case FontFace::KaiTi:
        return {QStringLiteral("KaiTi"), QStringLiteral("楷体"), QStringLiteral("AR PL UKai CN"),
                QStringLiteral("Noto Serif CJK SC")};
    case FontFace::HeiTi:
        return {QStringLiteral("SimHei"), QStringLiteral("黑体"),
                QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Droid Sans Fallback")};
    case FontFace::KaiTiGb2312:
        return {QStringLiteral("KaiTi_GB2312"),  QStringLiteral("楷体_GB2312"),
                QStringLiteral("KaiTi"),         QStringLiteral("楷体"),
                QStringLiteral("AR PL UKai CN"), QStringLiteral("Noto Serif CJK SC")};
    case FontFace::MicrosoftSansSerif:
        return {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                QStringLiteral("Liberation Sans"),      QStringLiteral("Nimbus Sans"),
                QStringLiteral("DejaVu Sans"),          QStringLiteral("Noto Sans CJK SC")};
    }
    return {};
}

QFont formFont(FontFace face, int pixelSize, FontStyle style) {
    QFont font;
    font.setFamilies(fontFamilies(face));
    font.setPixelSize(pixelSize);
    font.setWeight(style.bold ? QFont::Bold : QFont::Normal);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    if (face == FontFace::MicrosoftSansSerif) {
        // The number box is sized for fourteen of Microsoft Sans Serif's
        // digits, each 0.556 of the character height wide. The faces that
        // stand in for it have wider digits (DejaVu Sans: 0.7), which would
        // push the first numbers out of the box: they are narrowed to that.
        constexpr qreal kDigitWidth = 0.556;
        const qreal digit = QFontMetricsF(font).horizontalAdvance(u'0');
        const qreal wanted = kDigitWidth * pixelSize;
        if (digit > wanted)
            font.setStretch(int(100 * wanted / digit));
    }
    return font;
}

QFont defaultGuiFont() {
    return formFont(FontFace::DefaultGui, 12);
}

FormLineMetrics formLineMetrics(const QFont& font) {
    const QFontMetrics fm(font);
    const int pitch = font.pixelSize() > 0 ? font.pixelSize() : fm.height();
    return {pitch, pitch - std::min(fm.descent(), pitch / 8)};
}

QSize clientSizeOf(QSize outer) {
    return {clientWidthOf(outer.width()), outer.height() - kTitleBarHeight - kFrameBorder};
}

} // namespace dlt::gui
