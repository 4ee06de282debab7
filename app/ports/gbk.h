// The window layer's edge: the program's texts are GBK byte strings, the
// widgets show QStrings.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace dlt::gui {

// GBK bytes to a display string.
QString fromGbk(std::string_view bytes);
// A display string to GBK bytes (characters outside GBK become '?').
std::string toGbk(const QString& text);
// UTF-8 bytes (the maker's texts in the sources) to a display string.
inline QString fromUtf8(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

} // namespace dlt::gui
