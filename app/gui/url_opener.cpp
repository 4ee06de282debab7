#include "app/gui/url_opener.h"

#include <QByteArray>
#include <QDesktopServices>
#include <QUrl>

namespace dlt::gui {

void DesktopUrlOpener::openUrl(const std::string& url) {
    QDesktopServices::openUrl(QUrl::fromEncoded(QByteArray::fromStdString(url)));
}

} // namespace dlt::gui
