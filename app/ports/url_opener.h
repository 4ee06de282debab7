// Addresses handed to the desktop's default handler (the default browser,
// the messenger program).
#pragma once

#include "core/ports.h"

namespace dlt::gui {

class DesktopUrlOpener : public UrlOpener {
public:
    void openUrl(const std::string& address) override;
};

// The program's one opener.
UrlOpener& desktopUrlOpener();

} // namespace dlt::gui
