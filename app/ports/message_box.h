// The modal message box of the desktop, for the logic's MessageBoxPort.
#pragma once

#include <QMessageBox>
#include <QPointer>

#include "core/ports.h"

namespace dlt::gui {

// Each box belongs to the window it speaks for: centred over it and modal
// to it; without one (before the main window exists) it stands alone,
// centred on the screen. Its texts are in the windows' own font.
class QtMessageBoxPort : public MessageBoxPort {
public:
    explicit QtMessageBoxPort(QWidget* parent = nullptr) : parent_(parent) {}
    // The window the boxes speak for from now on; forgotten when it goes.
    void setParent(QWidget* parent) { parent_ = parent; }

    MessageAnswer showMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                              MessageButtons buttons) override;

private:
    QPointer<QWidget> parent_;
};

QMessageBox::Icon toQtIcon(MessageIcon icon);

} // namespace dlt::gui
