// Opening an address with the desktop's default handler, for the logic's
// UrlOpener.
#pragma once

#include "core/ports.h"

namespace dlt::gui {

class DesktopUrlOpener : public UrlOpener {
public:
    void openUrl(const std::string& url) override;
};

} // namespace dlt::gui
