#include "help/guide_document.h"

namespace dlt::help {

namespace {

constexpr std::string_view kMarkStart = "<img data-shot=\"";
constexpr std::string_view kMarkEnd = "\">";

struct Mark {
    std::size_t start = std::string_view::npos; // of "<img"
    std::size_t end = 0;                        // one past the closing ">"
    std::string_view caption;
};

Mark findMark(std::string_view page, std::size_t from) {
    Mark mark;
    const std::size_t start = page.find(kMarkStart, from);
    if (start == std::string_view::npos)
        return mark;
    const std::size_t captionStart = start + kMarkStart.size();
    const std::size_t captionEnd = page.find(kMarkEnd, captionStart);
    if (captionEnd == std::string_view::npos)
        return mark;
    mark.start = start;
    mark.end = captionEnd + kMarkEnd.size();
    mark.caption = page.substr(captionStart, captionEnd - captionStart);
    return mark;
}

} // namespace

std::vector<std::string> guidePictureCaptions(std::string_view page) {
    std::vector<std::string> captions;
    for (Mark mark = findMark(page, 0); mark.start != std::string_view::npos;
         mark = findMark(page, mark.end))
        captions.emplace_back(mark.caption);
    return captions;
}

std::string composeGuidePage(std::string_view page, std::string_view styleSheet,
                             const std::vector<GuidePicture>& pictures) {
    std::string out;
    out.reserve(page.size() + styleSheet.size() + pictures.size() * 160);
    std::size_t at = 0;
    std::size_t n = 0;
    for (Mark mark = findMark(page, 0); mark.start != std::string_view::npos && n < pictures.size();
         mark = findMark(page, mark.end)) {
        const GuidePicture& picture = pictures[n++];
        const std::string caption(mark.caption);
        out += page.substr(at, mark.start - at);
        out += "<img width=" + std::to_string(picture.width) +
               " height=" + std::to_string(picture.height) + " src=\"" + picture.source +
               "\" alt=\"" + caption + "\"><br>\n<span class=MsoCaption>图" + std::to_string(n) +
               " " + caption + "</span>";
        at = mark.end;
    }
    out += page.substr(at);
    // The style sheet goes into the page: the archive carries no other part.
    // It is set in as it is, not hidden in a comment as old word processors
    // did for browsers without styles: the help window's view reads no
    // style sheet inside a comment.
    const std::size_t link = out.find(kStyleSheetLink);
    if (link != std::string::npos)
        out.replace(link, kStyleSheetLink.size(),
                    "<style>\n" + std::string(styleSheet) + "</style>");
    return out;
}

} // namespace dlt::help
