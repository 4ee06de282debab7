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

#include "history/draw_file.h"
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
    const dlt::DrawFileRead read =
        dlt::parseDrawHistoryFile(dlt::readFile(draws, std::uintmax_t{16} << 20).bytes);
    if (!read.skipped.empty())
        std::cerr << "make_site: line " << read.skipped.front().line << " of " << draws
                  << " is not a draw\n";
    // The site lists the draws newest first.
    const std::vector<dlt::DrawRecord> newestFirst(read.oldestFirst.rbegin(),
                                                   read.oldestFirst.rend());
    const std::vector<std::string> dates(read.dates.rbegin(), read.dates.rend());
    if (draws.empty() || site.empty() || newestFirst.size() < kNewerOnPage + kDrawFileDraws) {
        std::cerr << "usage: make_site --draws draws.txt --site FOLDER (with at least "
                  << kNewerOnPage + kDrawFileDraws << " draws)\n";
        return 2;
    }
    const std::span<const dlt::DrawRecord> all(newestFirst);
    const bool written =
        writeFile(site / "soft" / "qvemtrod" / "kj.dll",
                  dlt::site::drawFileText(all.subspan(kNewerOnPage, kDrawFileDraws))) &&
        writeFile(
            site / "lottery" / "draw" / "list" / "1",
            dlt::site::resultsPageHtml(all.first(kPageDraws), std::span(dates).first(kPageDraws)));
    return written ? 0 : 1;
}
