#include "tools/site_content.h"

#include <fstream>
#include <sstream>

#include "core/encoding.h"
#include "core/texts.h"

namespace dlt::site {

namespace {

// The site's own words, turned into the GBK its pages are served in.
const std::string kDrawFileTitle = utf8ToGbk("大乐透往期开奖号码（新的在前）");
const std::string kIssueSuffix = utf8ToGbk("期"); // after the issue
const std::string kPageTitle = utf8ToGbk("大乐透开奖结果");
const std::string kDateHeading = utf8ToGbk("开奖日期");
const std::string kIssueHeading = utf8ToGbk(text::issueHead);
const std::string kFrontHeading = utf8ToGbk(text::frontZoneName);
const std::string kBackHeading = utf8ToGbk(text::backZoneName);

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
    std::string text = kDrawFileTitle + "\r\n";
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
    html += kDateHeading + "</th><th>" + kIssueHeading + "</th><th>" + kFrontHeading + "</th><th>" +
            kBackHeading + "</th></tr>\n";
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
