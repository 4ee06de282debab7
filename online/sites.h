// The addresses the program uses on the maker's site, on the outside results
// site and on the lottery's official results service. The three are fixed
// when the program is built.
#pragma once

#include <string>

#include "core/process_state.h"

namespace dlt {

// Scheme and host (and port), no trailing slash: "http://127.0.0.1:28090".
struct SiteAddresses {
    std::string maker;
    std::string results;
    std::string official;
};

// The sites this build was made for.
SiteAddresses builtInSites();

// The past-draw file, the version file and the product page, in the
// product's directory on the maker's site, and the site's root.
std::string drawFileUrl(const SiteAddresses& sites, const ProcessState& state);
std::string versionFileUrl(const SiteAddresses& sites, const ProcessState& state);
std::string productPageUrl(const SiteAddresses& sites, const ProcessState& state);
std::string makerHomeUrl(const SiteAddresses& sites);

// The latest 100 draws on the results site.
std::string resultsPageUrl(const SiteAddresses& sites);

// Page pageNo (from 1) of the draws of this game on the official service
// (officialSite: its scheme and host), newest first, pageSize to a page.
std::string officialPageUrl(const std::string& officialSite, int pageNo, int pageSize);

} // namespace dlt
