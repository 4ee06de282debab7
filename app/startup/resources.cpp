#include "app/startup/resources.h"

#include <QtCore/qglobal.h>
#include <mutex>

static void initBuiltInResources() {
    // The resource file is compiled into the static window library, whose
    // registration is not pulled in by the linker on its own.
    Q_INIT_RESOURCE(resources);
}

namespace dlt::gui {

void initResources() {
    static std::once_flag once;
    std::call_once(once, initBuiltInResources);
}

} // namespace dlt::gui
