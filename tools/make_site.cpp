// Writes the generated part of the maker's site from the published draws:
// the past-draw file (older draws, newest first) and the results page (the
// latest 100 draws). The draw file leaves out the newest draws so that the
// results page has newer ones to add.
//
//   make_site --draws draws.txt --site FOLDER
#include <filesystem>
#include <iostream>
#include <span>
#include <string>

#include "history/library_text.h"
#include "storage/file_io.h"
#include "tools/site_content.h"

namespace {

constexpr std::size_t kNewerOnPage = 30; // newest draws only on the results page
constexpr std::size_t kDrawFileDraws = 300;
constexpr std::size_t kPageDraws = 100;

bool writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    return !error && dlt::replaceFileDurably(path, bytes);
}

} // namespace

int main(int argc, char** argv) {
    std::filesystem::path draws, site;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        (option == "--draws" ? draws : site) = argv[i + 1];
    }
    const dlt::LibraryImport published =
        dlt::parseLibraryText(dlt::readFile(draws, std::uintmax_t{16} << 20).bytes);
    if (!published.ok())
        std::cerr << "make_site: line " << published.badLine << " of " << draws << " is not a draw\n";
    if (draws.empty() || site.empty() || published.newestFirst.size() < kNewerOnPage + kDrawFileDraws) {
        std::cerr << "usage: make_site --draws draws.txt --site FOLDER (with at least "
                  << kNewerOnPage + kDrawFileDraws << " draws)\n";
        return 2;
    }
    const std::span<const dlt::DrawRecord> all(published.newestFirst);
    const bool written =
        writeFile(site / "soft" / "qvemtrod" / "kj.dll",
                  dlt::site::drawFileText(all.subspan(kNewerOnPage, kDrawFileDraws))) &&
        writeFile(site / "lottery" / "draw" / "list" / "1",
                  dlt::site::resultsPageHtml(all.first(kPageDraws),
                                             std::span(published.dates).first(kPageDraws)));
    return written ? 0 : 1;
}
