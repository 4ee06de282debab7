#include "app/gui/form_widgets.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QWebEngineView>

namespace dlt::gui {

// ---- FormLabel -------------------------------------------------------------

FormLabel::FormLabel(QWidget* parent) : QLabel(parent) {
    setMargin(0);
    setIndent(0);
    setFrameShape(QFrame::NoFrame);
    setTextFormat(Qt::PlainText);
    setAutoFillBackground(false);
}

void FormLabel::setTextColour(const QColor& colour) {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::Text, colour);
    setPalette(p);
}

QColor FormLabel::textColour() const {
    return palette().color(QPalette::WindowText);
}

void FormLabel::setBackgroundColour(const QColor& colour) {
    background_ = colour;
    gradient_.clear();
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
    update();
}

void FormLabel::setGradient(const QList<QColor>& stops) {
    background_ = QColor();
    gradient_ = stops;
    update();
}

void FormLabel::setTransparentBackground() {
    background_ = QColor();
    gradient_.clear();
    update();
}

QColor FormLabel::backgroundColour() const {
    return background_;
}

QList<QColor> FormLabel::gradientStops() const {
    return gradient_;
}

bool FormLabel::isTransparentBackground() const {
    return !background_.isValid() && gradient_.isEmpty();
}

void FormLabel::setSingleBorder(bool on) {
    border_ = on;
    const int m = on ? 1 : 0;
    setContentsMargins(m, m, m, m);
    update();
}

bool FormLabel::hasSingleBorder() const {
    return border_;
}

QColor FormLabel::borderColour() {
    return QColor(0, 0, 0);
}

void FormLabel::setTextEffect(bool on) {
    effect_ = on;
    update();
}

bool FormLabel::hasTextEffect() const {
    return effect_;
}

QColor FormLabel::textEffectColour() {
    return QColor(0x30, 0x18, 0x40);
}

void FormLabel::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        if (background_.isValid()) {
            painter.fillRect(rect(), background_);
        } else if (!gradient_.isEmpty()) {
            QLinearGradient g(0, 0, width(), 0);
            const int n = int(gradient_.size());
            for (int i = 0; i < n; ++i)
                g.setColorAt(n == 1 ? 0.0 : double(i) / double(n - 1), gradient_[i]);
            painter.fillRect(rect(), g);
        }
        if (border_) {
            painter.setPen(QPen(borderColour(), 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(rect().adjusted(0, 0, -1, -1));
        }
        if (effect_) {
            const QRect area = contentsRect();
            const int flags = int(alignment()) | (wordWrap() ? Qt::TextWordWrap : 0);
            painter.setFont(font());
            // A dark outline one pixel around the text and a shadow one
            // more pixel to the lower right, then the text itself.
            painter.setPen(textEffectColour());
            painter.drawText(area.translated(2, 2), flags, text());
            for (int dx = -1; dx <= 1; ++dx)
                for (int dy = -1; dy <= 1; ++dy)
                    if (dx != 0 || dy != 0)
                        painter.drawText(area.translated(dx, dy), flags, text());
            painter.setPen(textColour());
            painter.drawText(area, flags, text());
            return;
        }
    }
    QLabel::paintEvent(event);
}

void FormLabel::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->button());
    QLabel::mousePressEvent(event);
}

void FormLabel::mouseReleaseEvent(QMouseEvent* event) {
    emit released(event->button());
    QLabel::mouseReleaseEvent(event);
}

TransparentLabel::TransparentLabel(QWidget* parent) : FormLabel(parent) {
    setTransparentBackground();
}

// ---- PictureBox ------------------------------------------------------------

PictureBox::PictureBox(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFrameShape(QFrame::NoFrame);
    setMargin(0);
}

void PictureBox::setPicture(const QPixmap& picture) {
    setPixmap(picture);
}

QPixmap PictureBox::picture() const {
    return pixmap();
}

// ---- ImageButton -----------------------------------------------------------

ImageButton::ImageButton(QWidget* parent) : QToolButton(parent) {
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void ImageButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool down = isDown();
    const bool hover = underMouse();
    if (down || hover) {
        painter.setPen(QPen(QColor(255, 255, 255, 160), 1));
        painter.setBrush(QColor(255, 255, 255, down ? 70 : 35));
        painter.drawRoundedRect(r, 3, 3);
    }
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(rect().translated(down ? 1 : 0, down ? 1 : 0), Qt::AlignCenter, text());
}

// ---- BrowserBox ------------------------------------------------------------

BrowserBox::BrowserBox(QWidget* parent) : QWidget(parent) {}

bool BrowserBox::hasView() const {
    return view_ != nullptr;
}

QWebEngineView* BrowserBox::view() {
    if (!view_) {
        view_ = new QWebEngineView(this);
        view_->setGeometry(rect());
        view_->show();
    }
    return view_;
}

void BrowserBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (view_)
        view_->setGeometry(rect());
}

// ---- Integer input ---------------------------------------------------------

bool passesIntegerFilter(const QString& typed) {
    for (const QChar c : typed) {
        if (!c.isPrint())
            continue; // control characters (backspace, Ctrl+C ...) pass
        if (!((c >= u'0' && c <= u'9') || c == u'-'))
            return false;
    }
    return true;
}

namespace {

class IntegerInputFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            // Shortcuts (Ctrl+A, Ctrl+V ...) type nothing; Ctrl+Alt is AltGr,
            // which does type characters.
            const Qt::KeyboardModifiers mods = key->modifiers();
            const bool shortcut = (mods & (Qt::ControlModifier | Qt::MetaModifier)) && !(mods & Qt::AltModifier);
            if (!shortcut && !passesIntegerFilter(key->text()))
                return true; // the typed character is dropped
        } else if (event->type() == QEvent::InputMethod) {
            // Characters committed by an input method are typed characters too.
            auto* im = static_cast<QInputMethodEvent*>(event);
            if (!im->commitString().isEmpty() && !passesIntegerFilter(im->commitString())) {
                QString kept;
                for (const QChar c : im->commitString())
                    if (passesIntegerFilter(QString(c)))
                        kept += c;
                im->setCommitString(kept, im->replacementStart(), im->replacementLength());
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void makeIntegerInput(QLineEdit* edit, int maxLength) {
    edit->setMaxLength(maxLength);
    edit->installEventFilter(new IntegerInputFilter(edit));
}

} // namespace dlt::gui
