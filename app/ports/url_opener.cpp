#include "app/ports/url_opener.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace dlt::gui {

void DesktopUrlOpener::openUrl(const std::string& address) {
    // The outcome is not observed: no handler, or one that fails, is silent.
    QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
}

UrlOpener& desktopUrlOpener() {
    static DesktopUrlOpener opener;
    return opener;
}

} // namespace dlt::gui
