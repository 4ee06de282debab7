#include "app/ports/platform.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace dlt::gui {

void returnFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

std::filesystem::path toPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

QString fromPath(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

} // namespace dlt::gui
