#include "app/gui/message_box.h"

#include "app/gui/gbk.h"
#include "app/gui/look.h"

namespace dlt::gui {

QMessageBox::Icon toQtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

MessageAnswer QtMessageBoxPort::showMessage(const std::string& text, const std::string& caption,
                                            MessageIcon icon, MessageButtons buttons) {
    QMessageBox::StandardButtons shown = QMessageBox::Ok;
    QMessageBox::StandardButton first = QMessageBox::Ok;
    if (buttons == MessageButtons::OkCancel) {
        shown = QMessageBox::Ok | QMessageBox::Cancel;
    } else if (buttons == MessageButtons::YesNo) {
        shown = QMessageBox::Yes | QMessageBox::No;
        first = QMessageBox::Yes;
    }
    QMessageBox box(toQtIcon(icon), fromGbk(caption), fromGbk(text), shown, parent_);
    box.setObjectName(QStringLiteral("提示框"));
    box.setWindowModality(parent_ ? Qt::WindowModal : Qt::ApplicationModal);
    // Not the desktop's font, for which the CJK text falls back to whatever
    // face comes first (the brush-style stand-in of 楷体 on many desktops).
    box.setFont(defaultGuiFont());
    box.setDefaultButton(first);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        // Closing the box answers its negative button.
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
    }
}

} // namespace dlt::gui
