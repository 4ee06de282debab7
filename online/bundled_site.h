// The bundled maker's site: the program's own copy of the maker's site and
// of the results site, served on 127.0.0.1 while the program runs, so that a
// build made for the loopback sites fetches draws, checks for updates and
// opens the site's pages with no other step. A build for real hosts serves
// nothing.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "online/sites.h"

namespace dlt {

// The port of a site address on 127.0.0.1 ("http://127.0.0.1:28090" gives
// 28090, "http://127.0.0.1" 80); 0 for any other host.
int loopbackPort(const std::string& site);

// The folder of the site's content as installed beside the program, found
// from the folder the program runs from (the build folder mirrors it).
std::filesystem::path bundledSiteFolder(const std::filesystem::path& programFolder);

class BundledSite {
public:
    // Serves folder on every loopback port of sites that nothing listens on
    // yet, each from a thread of its own, until destroyed. A port another
    // process already listens on is left to it: that is a site running
    // already. Nothing is served when folder holds no content.
    BundledSite(const SiteAddresses& sites, const std::filesystem::path& folder);
    ~BundledSite();
    BundledSite(const BundledSite&) = delete;
    BundledSite& operator=(const BundledSite&) = delete;

    // The ports this process serves, in the order of the sites.
    std::vector<int> servedPorts() const;

private:
    struct Listener;
    std::vector<std::unique_ptr<Listener>> listeners_;
};

} // namespace dlt
