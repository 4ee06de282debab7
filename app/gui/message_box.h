// The modal message box of the desktop, for the logic's MessageBoxPort.
#pragma once

#include <QMessageBox>

#include "core/ports.h"

namespace dlt::gui {

class QtMessageBoxPort : public MessageBoxPort {
public:
    explicit QtMessageBoxPort(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    MessageAnswer showMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                              MessageButtons buttons) override;

private:
    QWidget* parent_;
};

QMessageBox::Icon toQtIcon(MessageIcon icon);

} // namespace dlt::gui
