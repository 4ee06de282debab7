// The kinds of control the forms use besides Qt's own buttons, edit boxes,
// group boxes and list boxes: labels with borders, gradients and text
// effects, transparent labels, picture boxes, the flat image button, the
// hidden browser of the start-up window, and the integer typing filter of
// edit boxes.
#pragma once

#include <QLabel>
#include <QList>
#include <QPixmap>
#include <QToolButton>
#include <QWidget>
#include <memory>
#include <string>
#include <thread>

#include "core/ports.h"

class QLineEdit;

namespace dlt::gui {

// A label of the forms: text colour on a solid, gradient (left to right) or
// transparent background, optional one-pixel border, optional text effect
// (a dark outline under the text that sets light text off from the
// background). Its lines are set as formLineMetrics() says. Reports mouse
// presses and releases.
class FormLabel : public QLabel {
    Q_OBJECT
public:
    explicit FormLabel(QWidget* parent = nullptr);

    void setTextColour(const QColor& colour);
    QColor textColour() const;

    void setBackgroundColour(const QColor& colour);
    void setGradient(const QList<QColor>& stops);
    void setTransparentBackground();
    // Empty unless the background is a gradient.
    QList<QColor> gradientStops() const;
    bool isTransparentBackground() const;

    void setSingleBorder(bool on);
    bool hasSingleBorder() const;
    static QColor borderColour();

    void setTextEffect(bool on);
    bool hasTextEffect() const;
    static QColor textEffectColour();

    // Where the label draws the characters [from, from + length) of its
    // text, which must lie on one line; in the label's coordinates, one line
    // pitch high. Empty when the range is not on one line.
    QRect textSpan(int from, int length) const;

signals:
    void pressed(Qt::MouseButton button);
    void released(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QColor background_;
    QList<QColor> gradient_;
    bool border_ = false;
    bool effect_ = false;
};

// A label without a background and without a border; links and the about
// window's texts. Reports mouse presses and releases.
class TransparentLabel : public FormLabel {
    Q_OBJECT
public:
    explicit TransparentLabel(QWidget* parent = nullptr);
};

// Shows a picture at its top-left corner, unscaled and clipped to its size;
// or, fitted, scaled to the box with its proportions kept and centred.
class PictureBox : public QLabel {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);
    void setPicture(const QPixmap& picture);
    QPixmap picture() const;
    void setFitted(bool on);
    // Where the picture is drawn, in the box's coordinates.
    QRect pictureRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool fitted_ = false;
};

// A small flat button that shows a glyph (the about window's "×").
class ImageButton : public QToolButton {
    Q_OBJECT
public:
    explicit ImageButton(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The HTML browser of a form that is never shown (the start-up window's).
// Pointing it at an address visits the page: one plain GET through the given
// getter on a thread of its own, so that neither the caller nor the message
// loop waits for it. Nothing is read back, and whether the visit succeeds
// changes nothing. stop() gives the visit up at once; destroying the box
// stops it too.
class HiddenBrowser : public QWidget {
    Q_OBJECT
public:
    explicit HiddenBrowser(QWidget* parent = nullptr);
    ~HiddenBrowser() override;

    // Stops a visit still running, then visits address. http must outlive
    // the visit.
    void visit(const std::string& address, HttpGetter& http);
    // Gives the visit up: the getter sees its cancel flag raised.
    void stop();
    // The address last visited; empty before the first visit.
    const std::string& address() const { return address_; }

private:
    void join();

    std::string address_;
    std::unique_ptr<CancelFlag> cancel_;
    std::thread worker_;
};

// Esc closes the window (the tool and help windows).
void closeOnEscape(QWidget* window);

// Makes an edit box an integer input: of the printable characters typed
// into it only the digits 0..9 and "-" are kept; control keys work as
// usual. maxLength limits the number of characters.
void makeIntegerInput(QLineEdit* edit, int maxLength);

// Whether a typed text passes the integer typing filter.
bool passesIntegerFilter(const QString& typed);

} // namespace dlt::gui
