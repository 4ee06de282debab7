#include "app/form/form_build.h"

#include <QLineEdit>
#include <QPushButton>

namespace dlt::gui {

namespace {

void fill(FormLabel* label, const LabelSpec& design) {
    label->setObjectName(design.name);
    label->setGeometry(design.place);
    label->setText(design.caption);
    label->setFont(design.font);
    label->setTextColour(design.text);
    if (design.background.solid.isValid())
        label->setBackgroundColour(design.background.solid);
    else if (!design.background.gradient.isEmpty())
        label->setGradient(design.background.gradient);
    else
        label->setTransparentBackground();
    label->setAlignment(design.alignment);
    label->setSingleBorder(design.border);
    label->setWordWrap(design.wrap);
}

} // namespace

FormLabel* addLabel(QWidget* parent, const LabelSpec& design) {
    auto* label = new FormLabel(parent);
    fill(label, design);
    return label;
}

TransparentLabel* addTransparentLabel(QWidget* parent, const LabelSpec& design) {
    auto* label = new TransparentLabel(parent);
    fill(label, design);
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
