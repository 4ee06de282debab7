#include "tools/site_content.h"

#include <fstream>
#include <sstream>

namespace dlt::site {

namespace {

// 大乐透往期开奖号码（新的在前）
constexpr const char* kDrawFileTitle =
    "\xB4\xF3\xC0\xD6\xCD\xB8\xCD\xF9\xC6\xDA\xBF\xAA\xBD\xB1\xBA\xC5\xC2\xEB"
    "\xA3\xA8\xD0\xC2\xB5\xC4\xD4\xDA\xC7\xB0\xA3\xA9";
// 期 (after the issue)
constexpr const char* kIssueSuffix = "\xC6\xDA";
// 大乐透开奖结果, 开奖日期, 期号, 前区, 后区
constexpr const char* kPageTitle = "\xB4\xF3\xC0\xD6\xCD\xB8\xBF\xAA\xBD\xB1\xBD\xE1\xB9\xFB";
constexpr const char* kDateHeading = "\xBF\xAA\xBD\xB1\xC8\xD5\xC6\xDA";
constexpr const char* kIssueHeading = "\xC6\xDA\xBA\xC5";
constexpr const char* kFrontHeading = "\xC7\xB0\xC7\xF8";
constexpr const char* kBackHeading = "\xBA\xF3\xC7\xF8";

std::string groups(const std::string& digits, const char* separator, const char* before = "",
                   const char* after = "") {
    std::string out;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
        if (i > 0)
            out += separator;
        out += before + digits.substr(i, 2) + after;
    }
    return out;
}

} // namespace

std::string drawFileEntry(const DrawRecord& draw) {
    // Issue, four bytes, the front numbers with separators, the bar, the back
    // numbers: the offsets the program reads from each "|".
    return draw.issue + kIssueSuffix + ": " + groups(draw.front, " ") + "|" +
           groups(draw.back, " ");
}

std::string drawFileText(std::span<const DrawRecord> draws) {
    std::string text = std::string(kDrawFileTitle) + "\r\n";
    for (const DrawRecord& draw : draws)
        text += drawFileEntry(draw) + "\r\n";
    return text;
}

std::string resultsPageHtml(std::span<const DrawRecord> draws, std::span<const std::string> dates) {
    std::string html = "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"gbk\">\n<title>";
    html += kPageTitle;
    html += "</title>\n</head>\n<body>\n<h1>";
    html += kPageTitle;
    html += "</h1>\n<table class=\"list\">\n<tr><th>";
    html += std::string(kDateHeading) + "</th><th>" + kIssueHeading + "</th><th>" + kFrontHeading +
            "</th><th>" + kBackHeading + "</th></tr>\n";
    for (std::size_t i = 0; i < draws.size(); ++i) {
        const DrawRecord& draw = draws[i];
        html += "<tr><td>" + (i < dates.size() ? dates[i] : std::string()) +
                "</td><td><a href=\"/lottery/draw/detail?issue=" + draw.issue +
                "\" target=\"_blank\">" + draw.issue + "</a></td><td class=\"redBalls\">" +
                groups(draw.front, "", "<em>", "</em>") + "</td><td class=\"blueBalls\">" +
                groups(draw.back, "", "<em>", "</em>") + "</td></tr>\n";
    }
    html += "</table>\n</body>\n</html>\n";
    return html;
}

} // namespace dlt::site
