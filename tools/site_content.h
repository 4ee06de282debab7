// The generated content of the maker's site: the past-draw file and the
// results page, made from the published draws. Used by the site generator,
// the tests and the benchmarks.
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace dlt::site {

// One published draw: issue (5 digits), date, front (10 digits) and back (4).
struct PublishedDraw {
    std::string issue;
    std::string date;
    std::string front;
    std::string back;
};

// The draws of a draws file ("issue date f1 f2 f3 f4 f5 b1 b2" a line, newest
// first); empty when it cannot be read.
std::vector<PublishedDraw> readPublishedDraws(const std::filesystem::path& path);

// The maker's past-draw file (GBK): a title line, then one entry a line,
// "25128期: 03 06 26 30 33|11 12", in the order given.
std::string drawFileText(std::span<const PublishedDraw> draws);

// One entry of the past-draw file, without the line end.
std::string drawFileEntry(const PublishedDraw& draw);

// The results page (GBK HTML): one table row a draw, in the order given, the
// issue in a link opening in a new window, the numbers as <em> items of the
// "redBalls" and "blueBalls" cells.
std::string resultsPageHtml(std::span<const PublishedDraw> draws);

} // namespace dlt::site
