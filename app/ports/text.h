// The window layer's edge for texts: the program's texts are UTF-8, the
// widgets show QStrings.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace dlt::gui {

inline QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

inline std::string toUtf8(const QString& text) {
    return text.toStdString();
}

} // namespace dlt::gui
