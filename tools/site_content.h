// The generated content of the maker's site: the past-draw file and the
// results page, made from the published draws. Used by the site generator,
// the tests and the benchmarks.
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "core/draw_record.h"

namespace dlt::site {

// The draws are given newest first, as the published draws file lists them.

// The maker's past-draw file (GBK): a title line, then one entry a line,
// "25128期: 03 06 26 30 33|11 12", in the order given.
std::string drawFileText(std::span<const DrawRecord> draws);

// One entry of the past-draw file, without the line end.
std::string drawFileEntry(const DrawRecord& draw);

// The results page (GBK HTML): one table row a draw, in the order given, the
// issue in a link opening in a new window, the numbers as <em> items of the
// "redBalls" and "blueBalls" cells. dates: each draw's date, or none (blank
// date cells).
std::string resultsPageHtml(std::span<const DrawRecord> draws,
                            std::span<const std::string> dates = {});

} // namespace dlt::site
