#include "app/ports/platform.h"

#include <QtGlobal>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace dlt::gui {

bool runningAsRoot() {
#if defined(Q_OS_UNIX)
    return ::geteuid() == 0;
#else
    return false;
#endif
}

void prepareBrowserEngineEnvironment() {
    if (runningAsRoot() && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

std::filesystem::path toPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

QString fromPath(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

} // namespace dlt::gui
