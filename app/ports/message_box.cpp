#include "app/ports/message_box.h"

#include <QPushButton>

#include "app/ports/text.h"
#include "app/form/look.h"
#include "core/texts.h"

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

namespace {

// 合并 (the default), 替换 and 取消; closing the box cancels.
MessageAnswer askMergeOrReplace(QMessageBox& box) {
    QPushButton* merge = box.addButton(fromUtf8(text::mergeButton), QMessageBox::AcceptRole);
    QPushButton* replace =
        box.addButton(fromUtf8(text::replaceButton), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(fromUtf8(text::cancelButton), QMessageBox::RejectRole);
    box.setDefaultButton(merge);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == merge)
        return MessageAnswer::Merge;
    if (box.clickedButton() == replace)
        return MessageAnswer::Replace;
    return MessageAnswer::Cancel;
}

} // namespace

MessageAnswer QtMessageBoxPort::showMessage(const std::string& text, const std::string& caption,
                                            MessageIcon icon, MessageButtons buttons) {
    // A question's default (Enter) and Esc give the answer that keeps
    // everything as it is; only the update check's Yes, which changes
    // nothing of the user's, is the default.
    QMessageBox::StandardButtons shown = QMessageBox::Ok;
    QMessageBox::StandardButton keeping = QMessageBox::Ok;
    QMessageBox::StandardButton preferred = QMessageBox::Ok;
    if (buttons == MessageButtons::OkCancel) {
        shown = QMessageBox::Ok | QMessageBox::Cancel;
        keeping = preferred = QMessageBox::Cancel;
    } else if (buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoDefaultYes) {
        shown = QMessageBox::Yes | QMessageBox::No;
        keeping = QMessageBox::No;
        preferred = buttons == MessageButtons::YesNo ? QMessageBox::No : QMessageBox::Yes;
    } else if (buttons == MessageButtons::MergeReplaceCancel) {
        shown = QMessageBox::NoButton; // its own three buttons
    }
    QMessageBox box(toQtIcon(icon), fromUtf8(caption), fromUtf8(text), shown, parent_);
    box.setObjectName(QStringLiteral("提示框"));
    box.setWindowModality(parent_ ? Qt::WindowModal : Qt::ApplicationModal);
    // Not the desktop's font, for which the CJK text falls back to whatever
    // face comes first (the brush-style stand-in of 楷体 on many desktops).
    box.setFont(defaultGuiFont());
    if (buttons == MessageButtons::MergeReplaceCancel)
        return askMergeOrReplace(box);
    box.setDefaultButton(preferred);
    box.setEscapeButton(keeping);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        // Closing the box answers its negative button.
        return buttons == MessageButtons::OkCancel ? MessageAnswer::Cancel : MessageAnswer::No;
    }
}

} // namespace dlt::gui
