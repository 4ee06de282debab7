// The user's guide as its writer keeps it: one HTML page with its style
// sheet beside it, the pictures marked where they go by their captions. The
// resources program takes the pictures and packs the page the help archive
// carries: the style sheet set into the page, each mark replaced by its
// picture and its numbered caption.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dlt::help {

// The mark of a picture: <img data-shot="caption">, the caption in UTF-8.
// The style sheet is linked as <link rel=stylesheet href="guide.css">.
inline constexpr std::string_view kStyleSheetLink = "<link rel=stylesheet href=\"guide.css\">";

// The captions of the page's picture marks, in the order of the page.
std::vector<std::string> guidePictureCaptions(std::string_view page);

// A picture as the packed page shows it.
struct GuidePicture {
    std::string source; // relative to the page, e.g. "guide.files/image001.png"
    int width = 0;
    int height = 0;
};

// The packed page: the style sheet link replaced by the style sheet, and
// the n-th mark by the n-th picture followed by "图n caption". pictures
// holds one picture for each mark.
std::string composeGuidePage(std::string_view page, std::string_view styleSheet,
                             const std::vector<GuidePicture>& pictures);

} // namespace dlt::help
