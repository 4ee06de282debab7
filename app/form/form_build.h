// Small helpers that put the controls of a form in place: each control gets
// its form name as objectName, its place, caption, font and colours.
#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QRect>
#include <QString>

#include "app/form/form_widgets.h"

class QPushButton;
class QLineEdit;

namespace dlt::gui {

// The background of a label: a colour, a left-to-right gradient, or none.
struct Background {
    QColor solid;
    QList<QColor> gradient;

    static Background colour(QColor c) { return {c, {}}; }
    static Background stops(QList<QColor> s) { return {QColor(), std::move(s)}; }
    static Background transparent() { return {}; }
};

struct LabelSpec {
    QString name;
    QRect place;
    QString caption;
    QFont font;
    QColor text;
    Background background;
    Qt::Alignment alignment = Qt::AlignCenter;
    bool border = false;
    bool wrap = false;
};

inline constexpr Qt::Alignment kCentreMiddle = Qt::AlignHCenter | Qt::AlignVCenter;
inline constexpr Qt::Alignment kLeftMiddle = Qt::AlignLeft | Qt::AlignVCenter;
inline constexpr Qt::Alignment kLeftTop = Qt::AlignLeft | Qt::AlignTop;
inline constexpr Qt::Alignment kCentreTop = Qt::AlignHCenter | Qt::AlignTop;

FormLabel* addLabel(QWidget* parent, const LabelSpec& design);
TransparentLabel* addTransparentLabel(QWidget* parent, const LabelSpec& design);
QPushButton* addButton(QWidget* parent, const QString& name, QRect place, const QString& caption,
                       const QFont& font);
QLineEdit* addEditBox(QWidget* parent, const QString& name, QRect place, const QFont& font,
                      Qt::Alignment alignment);
PictureBox* addPictureBox(QWidget* parent, const QString& name, QRect place);

} // namespace dlt::gui
