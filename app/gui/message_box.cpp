#include "app/gui/message_box.h"

#include "app/gui/gbk.h"

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
    QMessageBox box(toQtIcon(icon), fromGbk(caption), fromGbk(text),
                    buttons == MessageButtons::OkCancel ? (QMessageBox::Ok | QMessageBox::Cancel)
                                                        : QMessageBox::StandardButtons(QMessageBox::Ok),
                    parent_);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
}

} // namespace dlt::gui
