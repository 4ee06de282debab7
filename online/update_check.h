// The update check: the version file downloaded at start-up announces the
// latest version; a newer one is offered for download.
#pragma once

#include <string>
#include <string_view>

#include "core/ports.h"
#include "core/process_state.h"
#include "online/sites.h"

namespace dlt {

// The version announced in a version text as downloaded (GBK): the 3 bytes
// after the first productName (UTF-8, as the program keeps it) + "v" (letter
// case ignored), read as a decimal prefix. A text without the marker
// announces nothing (0).
float announcedVersion(std::string_view versionText, std::string_view productName);

// The download address at the end of a version text: from its last "http://"
// to the end, less a closing line break. Empty unless it is a plain http or
// https address without white space or control characters.
std::string downloadAddress(std::string_view versionText);

// Keeps the version text of the start-up download for the whole run and
// checks it, silently at start-up and on demand from the menus.
class UpdateCheck {
public:
    UpdateCheck(const ProcessState& state, SiteAddresses sites, MessageBoxPort& messages,
                UrlOpener& opener);

    // Downloads the version file once and keeps its text as downloaded, in
    // GBK (empty when the download failed or was given up through cancel);
    // it becomes UTF-8 only when it is shown.
    void download(HttpGetter& http, const CancelFlag& cancel);
    // Keeps a version text obtained elsewhere.
    void keep(std::string versionText);
    const std::string& versionText() const { return versionText_; }

    // The start-up check: says nothing unless a newer version is announced.
    void checkSilently();
    // The menus' check on the kept text, without any download: also says so
    // when the program is up to date.
    void checkForUpdatesManually();

private:
    void check(bool manual);

    const ProcessState& state_;
    SiteAddresses sites_;
    MessageBoxPort& messages_;
    UrlOpener& opener_;
    std::string versionText_;
};

} // namespace dlt
