// Writes the generated part of the maker's site from the published draws:
// the past-draw file (older draws, newest first) and the results page (the
// latest 100 draws). The draw file leaves out the newest draws so that the
// results page has newer ones to add.
//
//   make_site --draws draws.txt --site FOLDER
#include <fstream>
#include <iostream>
#include <span>
#include <string>

#include "tools/site_content.h"

namespace {

constexpr std::size_t kNewerOnPage = 30; // newest draws only on the results page
constexpr std::size_t kDrawFileDraws = 300;
constexpr std::size_t kPageDraws = 100;

bool writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    return bool(out.flush());
}

} // namespace

int main(int argc, char** argv) {
    std::filesystem::path draws, site;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        (option == "--draws" ? draws : site) = argv[i + 1];
    }
    const auto published = dlt::site::readPublishedDraws(draws);
    if (draws.empty() || site.empty() || published.size() < kNewerOnPage + kDrawFileDraws) {
        std::cerr << "usage: make_site --draws draws.txt --site FOLDER (with at least "
                  << kNewerOnPage + kDrawFileDraws << " draws)\n";
        return 2;
    }
    const std::span<const dlt::site::PublishedDraw> all(published);
    const bool written =
        writeFile(site / "soft" / "qvemtrod" / "kj.dll",
                  dlt::site::drawFileText(all.subspan(kNewerOnPage, kDrawFileDraws))) &&
        writeFile(site / "lottery" / "draw" / "list" / "1",
                  dlt::site::resultsPageHtml(all.first(kPageDraws)));
    return written ? 0 : 1;
}
