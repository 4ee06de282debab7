#include "app/form/form_widgets.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QStyle>
#include <QTextLayout>
#include <algorithm>
#include <memory>
#include <vector>

#include "app/form/look.h"

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

namespace {

// A label's text laid out as the label draws it: one layout a paragraph (the
// text split at line breaks), lines one pitch apart, each line placed by the
// label's alignment inside the area.
class LaidText {
public:
    // halfEmSpaces: each space is set half a character height wide, as 宋体
    // has it (an en space, the same width by definition in every face).
    LaidText(QString text, const QFont& font, const QRect& area, Qt::Alignment alignment, bool wrap,
             bool halfEmSpaces) {
        if (halfEmSpaces)
            text.replace(u' ', QChar(0x2002));
        const FormLineMetrics metrics = formLineMetrics(font);
        pitch_ = metrics.pitch;
        QTextOption option;
        option.setWrapMode(wrap ? QTextOption::WordWrap : QTextOption::NoWrap);
        int start = 0;
        int lines = 0;
        for (const QString& paragraph : text.split(u'\n')) {
            auto layout = std::make_unique<QTextLayout>(paragraph, font);
            layout->setTextOption(option);
            layout->setCacheEnabled(true);
            layout->beginLayout();
            for (QTextLine line = layout->createLine(); line.isValid();
                 line = layout->createLine()) {
                line.setLineWidth(area.width());
                const qreal width = line.naturalTextWidth();
                qreal x = 0;
                if (alignment & Qt::AlignHCenter)
                    x = (area.width() - width) / 2;
                else if (alignment & Qt::AlignRight)
                    x = area.width() - width;
                // The line's own baseline lies at its ascent below its position.
                line.setPosition(QPointF(x, lines * pitch_ + metrics.baseline - line.ascent()));
                ++lines;
            }
            layout->endLayout();
            paragraphs_.push_back({start, std::move(layout)});
            start += int(paragraph.size()) + 1;
        }
        const int height = lines * pitch_;
        int top = area.top();
        if (alignment & Qt::AlignVCenter)
            top += (area.height() - height) / 2;
        else if (alignment & Qt::AlignBottom)
            top += area.height() - height;
        origin_ = QPoint(area.left(), top);
    }

    void draw(QPainter& painter, QPoint offset) const {
        for (const Paragraph& p : paragraphs_)
            p.layout->draw(&painter, origin_ + offset);
    }

    QRect span(int from, int length) const {
        for (const Paragraph& p : paragraphs_) {
            const int at = from - p.start;
            if (at < 0 || at + length > p.layout->text().size())
                continue;
            const QTextLine line = p.layout->lineForTextPosition(at);
            if (!line.isValid() || at + length > line.textStart() + line.textLength())
                return {};
            // The x of a cursor counts from the layout's origin.
            const int left = int(line.cursorToX(at));
            const int right = int(line.cursorToX(at + length) + 0.5);
            const int top = (line.lineNumber() + lineNumberBefore(p)) * pitch_;
            return QRect(origin_.x() + left, origin_.y() + top, right - left, pitch_);
        }
        return {};
    }

private:
    struct Paragraph {
        int start; // the paragraph's first character in the whole text
        std::unique_ptr<QTextLayout> layout;
    };

    int lineNumberBefore(const Paragraph& of) const {
        int lines = 0;
        for (const Paragraph& p : paragraphs_) {
            if (&p == &of)
                break;
            lines += p.layout->lineCount();
        }
        return lines;
    }

    std::vector<Paragraph> paragraphs_;
    QPoint origin_;
    int pitch_ = 0;
};

} // namespace

QRect FormLabel::textSpan(int from, int length) const {
    return LaidText(text(), font(), contentsRect(), alignment(), wordWrap(), effect_)
        .span(from, length);
}

void FormLabel::paintEvent(QPaintEvent*) {
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
    if (text().isEmpty())
        return;
    // With the text effect, the outline would close the narrow spaces of the
    // faces that stand in for 宋体: the spaces keep 宋体's width.
    const LaidText laid(text(), font(), contentsRect(), alignment(), wordWrap(), effect_);
    if (effect_) {
        // A shadow one pixel beyond a dark outline one pixel around the
        // text, then the text itself.
        painter.setPen(textEffectColour());
        laid.draw(painter, {2, 2});
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (dx != 0 || dy != 0)
                    laid.draw(painter, {dx, dy});
    }
    painter.setPen(textColour());
    laid.draw(painter, {0, 0});
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

void PictureBox::setFitted(bool on) {
    fitted_ = on;
    update();
}

QRect PictureBox::pictureRect() const {
    const QSize size = pixmap().size();
    if (!fitted_ || size.isEmpty())
        return QRect(QPoint(0, 0), size);
    const QSize fitted = size.scaled(this->size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
}

void PictureBox::paintEvent(QPaintEvent* event) {
    if (!fitted_) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawPixmap(pictureRect(), pixmap());
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

// ---- HiddenBrowser ---------------------------------------------------------

HiddenBrowser::HiddenBrowser(QWidget* parent) : QWidget(parent) {}

HiddenBrowser::~HiddenBrowser() {
    stop();
    join();
}

void HiddenBrowser::visit(const std::string& address, HttpGetter& http) {
    stop();
    join();
    address_ = address;
    cancel_ = std::make_unique<CancelFlag>();
    // The body is dropped: the visit only tells the site the page was seen.
    worker_ = std::thread([&http, address, flag = cancel_.get()] { http.get(address, *flag); });
}

void HiddenBrowser::stop() {
    if (cancel_)
        cancel_->cancel();
}

void HiddenBrowser::join() {
    // A raised flag ends the download within a fraction of a second.
    if (worker_.joinable())
        worker_.join();
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
            const bool shortcut =
                (mods & (Qt::ControlModifier | Qt::MetaModifier)) && !(mods & Qt::AltModifier);
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

void closeOnEscape(QWidget* window) {
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, window, &QWidget::close);
}

void makeIntegerInput(QLineEdit* edit, int maxLength) {
    edit->setMaxLength(maxLength);
    edit->installEventFilter(new IntegerInputFilter(edit));
}

} // namespace dlt::gui
