#include "online/sites.h"

namespace dlt {

SiteAddresses builtInSites() {
    return {DLT_MAKER_SITE, DLT_RESULTS_SITE, DLT_OFFICIAL_SITE};
}

std::string drawFileUrl(const SiteAddresses& sites, const ProcessState& state) {
    return sites.maker + state.serverDirectory + "kj.dll";
}

std::string versionFileUrl(const SiteAddresses& sites, const ProcessState& state) {
    return sites.maker + state.serverDirectory + "bbxx.txt";
}

std::string productPageUrl(const SiteAddresses& sites, const ProcessState& state) {
    return sites.maker + state.serverDirectory + state.productCode +
           numberText(state.productVersion) + ".html";
}

std::string makerHomeUrl(const SiteAddresses& sites) {
    return sites.maker + "/";
}

std::string resultsPageUrl(const SiteAddresses& sites) {
    return sites.results + "/lottery/draw/list/1?type=latest&num=100";
}

std::string officialPageUrl(const std::string& officialSite, int pageNo, int pageSize) {
    // gameNo 85 is this game; provinceId 0 all provinces.
    return officialSite +
           "/gateway/lottery/getHistoryPageListV1.qry?gameNo=85&provinceId=0&pageSize=" +
           std::to_string(pageSize) + "&isVerify=1&pageNo=" + std::to_string(pageNo);
}

} // namespace dlt
