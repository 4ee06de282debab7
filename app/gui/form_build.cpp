#include "app/gui/form_build.h"

#include <QLineEdit>
#include <QPushButton>

namespace dlt::gui {

namespace {

void fill(FormLabel* label, const LabelSpec& spec) {
    label->setObjectName(spec.name);
    label->setGeometry(spec.place);
    label->setText(spec.caption);
    label->setFont(spec.font);
    label->setTextColour(spec.text);
    if (spec.background.solid.isValid())
        label->setBackgroundColour(spec.background.solid);
    else if (!spec.background.gradient.isEmpty())
        label->setGradient(spec.background.gradient);
    else
        label->setTransparentBackground();
    label->setAlignment(spec.alignment);
    label->setSingleBorder(spec.border);
    label->setWordWrap(spec.wrap);
}

} // namespace

FormLabel* addLabel(QWidget* parent, const LabelSpec& spec) {
    auto* label = new FormLabel(parent);
    fill(label, spec);
    return label;
}

TransparentLabel* addTransparentLabel(QWidget* parent, const LabelSpec& spec) {
    auto* label = new TransparentLabel(parent);
    fill(label, spec);
    return label;
}

QPushButton* addButton(QWidget* parent, const QString& name, QRect place, const QString& caption,
                       const QFont& font) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(place);
    button->setFont(font);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* addEditBox(QWidget* parent, const QString& name, QRect place, const QFont& font,
                      Qt::Alignment alignment) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(place);
    edit->setFont(font);
    edit->setAlignment(alignment);
    QPalette p = edit->palette();
    p.setColor(QPalette::Text, Qt::black);
    p.setColor(QPalette::Base, Qt::white);
    edit->setPalette(p);
    return edit;
}

PictureBox* addPictureBox(QWidget* parent, const QString& name, QRect place) {
    auto* box = new PictureBox(parent);
    box->setObjectName(name);
    box->setGeometry(place);
    return box;
}

} // namespace dlt::gui
