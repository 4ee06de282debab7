// The help archive read back by a MIME reader: its headers, the page and
// the thirty pictures, every picture the page shows found among the parts.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <string>
#include <vector>

#include "storage/file_io.h"
#include "help/help_archive.h"
#include "help/guide_document.h"
#include "help/help_file.h"
#include "tests/support/temp_dir.h"

using namespace dlt;

namespace {

// ---- A small MIME reader ------------------------------------------------------

struct MimePart {
    std::map<std::string, std::string> headers; // names in lower case
    std::string body;                           // as transferred
};

struct MimeDocument {
    std::map<std::string, std::string> headers;
    std::string preamble;
    std::vector<MimePart> parts;
    bool closed = false;    // the closing boundary was found
    std::string afterClose; // what follows it
};

std::string lower(std::string s) {
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Header lines up to the first empty line; returns where the body starts.
std::size_t readHeaders(const std::string& text, std::size_t at,
                        std::map<std::string, std::string>& headers) {
    while (true) {
        const std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos || end == at)
            return end == std::string::npos ? text.size() : end + 2;
        const std::string line = text.substr(at, end - at);
        const std::size_t colon = line.find(':');
        if (colon != std::string::npos)
            headers[lower(line.substr(0, colon))] =
                line.substr(line.find_first_not_of(' ', colon + 1));
        at = end + 2;
    }
}

std::string parameter(const std::string& header, const std::string& name) {
    const std::regex pattern(name + "=\"([^\"]*)\"");
    std::smatch match;
    return std::regex_search(header, match, pattern) ? match[1].str() : std::string();
}

MimeDocument readMime(const std::string& text) {
    MimeDocument doc;
    std::size_t at = readHeaders(text, 0, doc.headers);
    const std::string separator = "--" + parameter(doc.headers["content-type"], "boundary");
    std::size_t next = text.find("\r\n" + separator, at);
    doc.preamble = text.substr(at, next - at);
    while (next != std::string::npos) {
        at = next + 2 + separator.size();
        if (text.compare(at, 2, "--") == 0) {
            doc.closed = true;
            doc.afterClose = text.substr(at + 2);
            break;
        }
        MimePart part;
        at = readHeaders(text, at + 2, part.headers);
        next = text.find("\r\n" + separator, at);
        part.body = text.substr(at, next - at);
        doc.parts.push_back(std::move(part));
    }
    return doc;
}

std::string decodeQuotedPrintable(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '=') {
            out += text[i];
        } else if (text.compare(i + 1, 2, "\r\n") == 0) {
            i += 2; // soft line break
        } else {
            out += char(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        }
    }
    return out;
}

std::string decodeBase64(const std::string& text) {
    static const std::string alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned value = 0;
    int bits = 0;
    for (char c : text) {
        const std::size_t digit = alphabet.find(c);
        if (digit == std::string::npos)
            continue; // line breaks and padding
        value = (value << 6) | unsigned(digit);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += char((value >> bits) & 0xFF);
        }
    }
    return out;
}

// Every line of an encoded body is at most 76 characters.
std::size_t longestLine(const std::string& text) {
    std::size_t longest = 0;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos)
            end = text.size();
        longest = std::max(longest, end - at);
        at = end + 2;
    }
    return longest;
}

// A relative address against the page's Content-Location.
std::string resolve(const std::string& base, const std::string& relative) {
    return base.substr(0, base.rfind('/') + 1) + relative;
}

// ---- The built-in archive --------------------------------------------------------

TEST(HelpArchive, ReadsBackAsThePageAndThirtyPictures) {
    const FileRead archive = readFile(DLT_HELP_ARCHIVE, 64u << 20);
    ASSERT_EQ(archive.status, FileRead::Status::Read);
    ASSERT_EQ(archive.bytes.rfind("MIME-version: 1.0\r\n", 0), 0u);

    const MimeDocument doc = readMime(archive.bytes);
    const std::string& type = doc.headers.at("content-type");
    EXPECT_EQ(type.rfind("multipart/related;", 0), 0u);
    EXPECT_EQ(parameter(type, "type"), "text/html");
    EXPECT_EQ(parameter(type, "boundary"), "----=_NextPart_000_0076_01C29953.BE473C30");
    EXPECT_NE(doc.preamble.find("This is a multi-part message in MIME format."), std::string::npos);
    EXPECT_TRUE(doc.closed);
    EXPECT_EQ(doc.afterClose, "\r\n");
    ASSERT_EQ(doc.parts.size(), 31u);

    const MimePart& page = doc.parts[0];
    EXPECT_EQ(page.headers.at("content-type"), "text/html; charset=\"utf-8\"");
    EXPECT_EQ(page.headers.at("content-transfer-encoding"), "quoted-printable");
    const std::string pageLocation = page.headers.at("content-location");
    EXPECT_EQ(pageLocation.rfind("http://", 0), 0u) << "pictures load only under http addresses";
    EXPECT_LE(longestLine(page.body), 76u);
    const std::string html = decodeQuotedPrintable(page.body);
    for (const char* words :
         {"禾澄大乐透荐号器 使用帮助", "一、打开软件", "二、输入往期号码", "三、推算下一期号码",
          "四、怎样选号", "推荐号码", "自动获取并输入往期号码", "精选级", "等级三"})
        EXPECT_NE(html.find(words), std::string::npos) << words;

    const std::string stem = pageLocation.substr(0, pageLocation.rfind('.'));
    std::map<std::string, int> pictures; // location -> times shown
    for (std::size_t i = 1; i < doc.parts.size(); ++i) {
        const MimePart& part = doc.parts[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(part.headers.at("content-type"), "application/octet-stream");
        EXPECT_EQ(part.headers.at("content-transfer-encoding"), "base64");
        const std::string location = part.headers.at("content-location");
        EXPECT_EQ(location.rfind(stem + ".files/", 0), 0u) << location;
        EXPECT_EQ(decodeBase64(part.body).substr(0, 8), "\x89PNG\r\n\x1a\n");
        EXPECT_LE(longestLine(part.body), 76u);
        pictures[location] = 0;
    }
    EXPECT_EQ(pictures.size(), 30u) << "every picture has its own location";

    const std::regex img("<img[^>]* src=\"([^\"]+)\"");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), img);
         it != std::sregex_iterator(); ++it) {
        const std::string target = resolve(pageLocation, (*it)[1].str());
        ASSERT_TRUE(pictures.count(target)) << "no part for " << target;
        ++pictures[target];
    }
    for (const auto& [location, shown] : pictures)
        EXPECT_EQ(shown, 1) << location;
}

TEST(HelpArchive, TheProgramsReaderGivesThePageAndEveryPictureDecoded) {
    const FileRead archive = readFile(DLT_HELP_ARCHIVE, 64u << 20);
    ASSERT_EQ(archive.status, FileRead::Status::Read);
    const MimeDocument doc = readMime(archive.bytes);
    ASSERT_EQ(doc.parts.size(), 31u);

    const help::ArchiveContent content = help::readArchive(archive.bytes);
    EXPECT_EQ(content.pageLocation, doc.parts[0].headers.at("content-location"));
    EXPECT_EQ(content.pageHtml, decodeQuotedPrintable(doc.parts[0].body));
    ASSERT_EQ(content.pictures.size(), 30u);
    for (std::size_t i = 0; i < content.pictures.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(content.pictures[i].location, doc.parts[i + 1].headers.at("content-location"));
        EXPECT_EQ(content.pictures[i].bytes, decodeBase64(doc.parts[i + 1].body));
    }

    for (const std::string& notAnArchive :
         {std::string(), std::string("<html>page</html>"), std::string("MIME-version: 1.0\r\n"),
          archive.bytes.substr(0, 400)})
        EXPECT_TRUE(help::readArchive(notAnArchive).pageHtml.empty()) << notAnArchive.size();
}

// ---- Packing -----------------------------------------------------------------

TEST(HelpArchive, QuotedPrintableKeepsEveryByte) {
    struct Case {
        std::string text;
        std::string encoded;
    };
    const Case cases[] = {
        {"plain text", "plain text"},
        {"a=b", "a=3Db"},
        {"ends with a space \nnext", "ends with a space=20\r\nnext"},
        {"tab\tinside", "tab\tinside"},
        {"\xE7\xA6\xBE", "=E7=A6=BE"},
        {"crlf\r\nkept", "crlf\r\nkept"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(help::encodeQuotedPrintable(c.text), c.encoded) << c.text;

    std::string longText;
    for (int i = 0; i < 500; ++i)
        longText += i % 7 == 0 ? "禾澄=" : "word ";
    const std::string encoded = help::encodeQuotedPrintable(longText);
    EXPECT_LE(longestLine(encoded), 76u);
    EXPECT_EQ(decodeQuotedPrintable(encoded), longText);
}

TEST(HelpArchive, PackedPartsReadBack) {
    const std::string png("\x89PNG\r\n\x1a\n" + std::string(300, '\x07'), 308);
    const std::string packed = help::packArchive("http://host/help/page.htm", "<p>页</p>\n",
                                                 {{"http://host/help/page.files/a.png", png}});
    const MimeDocument doc = readMime(packed);
    ASSERT_EQ(doc.parts.size(), 2u);
    EXPECT_TRUE(doc.closed);
    EXPECT_EQ(doc.parts[0].headers.at("content-location"), "http://host/help/page.htm");
    EXPECT_EQ(decodeQuotedPrintable(doc.parts[0].body), "<p>页</p>\r\n");
    EXPECT_EQ(doc.parts[1].headers.at("content-location"), "http://host/help/page.files/a.png");
    EXPECT_EQ(decodeBase64(doc.parts[1].body), png);

    // And the program's own reader.
    const help::ArchiveContent content = help::readArchive(packed);
    EXPECT_EQ(content.pageLocation, "http://host/help/page.htm");
    EXPECT_EQ(content.pageHtml, "<p>页</p>\r\n");
    ASSERT_EQ(content.pictures.size(), 1u);
    EXPECT_EQ(content.pictures[0].location, "http://host/help/page.files/a.png");
    EXPECT_EQ(content.pictures[0].bytes, png);
}

TEST(HelpArchive, DecodingUndoesEncodingAndKeepsWhatIsNoEscape) {
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += char(i);
    bytes += "禾澄 = end ";
    EXPECT_EQ(help::decodeBase64Lines(help::encodeBase64Lines(bytes)), bytes);
    for (std::size_t size : {0u, 1u, 2u, 3u, 57u, 58u})
        EXPECT_EQ(help::decodeBase64Lines(help::encodeBase64Lines(bytes.substr(0, size))),
                  bytes.substr(0, size));
    EXPECT_EQ(help::decodeBase64Lines("QUJD\r\nRA=="), "ABCD");
    EXPECT_EQ(help::decodeBase64Lines("QUJ"), ""); // not whole

    const std::string text = "a=b \t禾澄=\r\nnext line";
    EXPECT_EQ(help::decodeQuotedPrintable(help::encodeQuotedPrintable(text)), text);
    EXPECT_EQ(help::decodeQuotedPrintable("soft=\r\nbreak=3D=e7=A6=BE"), "softbreak=\xE7\xA6\xBE");
    EXPECT_EQ(help::decodeQuotedPrintable("=ZZ and ="), "=ZZ and =");
}

// ---- The temporary file's name --------------------------------------------------

TEST(HelpFile, HexNameSkipsNamesInUse) {
    TempDir dir;
    EXPECT_EQ(help::helpFilePath(dir.path(), 0x1a2b3c), dir.path() / "1a2b3c.tmp.mht");
    ASSERT_TRUE(writeFileFlushed(dir.path() / "ff.tmp", "in use"));
    ASSERT_TRUE(writeFileFlushed(dir.path() / "100.tmp", "in use"));
    EXPECT_EQ(help::helpFilePath(dir.path(), 255), dir.path() / "101.tmp.mht");
}

TEST(HelpFile, EachWriteGetsItsOwnFile) {
    TempDir dir;
    const auto first = help::writeHelpFile(dir.path(), "archive");
    const auto second = help::writeHelpFile(dir.path(), "archive");
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    EXPECT_NE(first, second);
    EXPECT_EQ(readFile(first, 64u << 20).bytes, "archive");
}

TEST(HelpFile, IsCreatedAfreshAndReadableByItsOwnerOnly) {
    TempDir dir;
    const auto file = help::writeHelpFile(dir.path(), "archive");
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(std::filesystem::status(file).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST(HelpFile, NeverWritesThroughAFileOrLinkStandingAtItsName) {
    TempDir dir;
    const std::filesystem::path victim = dir.path() / "victim";
    ASSERT_TRUE(writeFileFlushed(victim, "keep"));
    // The name for 0xab is taken by a link to the victim, the next one by a
    // plain file, the one after by a dangling link.
    std::filesystem::create_symlink(victim, dir.path() / "ab.tmp.mht");
    ASSERT_TRUE(writeFileFlushed(dir.path() / "ac.tmp.mht", "someone's"));
    std::filesystem::create_symlink(dir.path() / "nowhere", dir.path() / "ad.tmp.mht");

    EXPECT_EQ(help::writeHelpFileFrom(dir.path(), 0xab, "archive"), dir.path() / "ae.tmp.mht");
    EXPECT_EQ(readFile(victim, 64).bytes, "keep");
    EXPECT_EQ(readFile(dir.path() / "ac.tmp.mht", 64).bytes, "someone's");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "nowhere"));
    EXPECT_EQ(readFile(dir.path() / "ae.tmp.mht", 64).bytes, "archive");
}

TEST(HelpFile, AMissingOrUnnamedFolderIsAWriteFailure) {
    TempDir dir;
    const auto current = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    // The system's temporary folder comes back empty when the folder it
    // names is missing: nothing goes into the current folder instead.
    for (const std::filesystem::path& folder :
         {dir.path() / "missing", std::filesystem::path(), std::filesystem::path("relative")})
        EXPECT_TRUE(help::writeHelpFile(folder, "archive").empty()) << folder;
    std::filesystem::current_path(current);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

} // namespace

namespace {

// ---- The guide document ----------------------------------------------------------

TEST(GuideDocument, CaptionsOfTheMarksInPageOrder) {
    const std::string page = "<p><img data-shot=\"欢迎窗口\"></p><p>text</p>"
                             "<p><img data-shot=\"“关于”窗口\"></p><img src=\"x.png\">";
    EXPECT_EQ(help::guidePictureCaptions(page),
              (std::vector<std::string>{"欢迎窗口", "“关于”窗口"}));
    EXPECT_TRUE(help::guidePictureCaptions("<p>no pictures</p>").empty());
}

TEST(GuideDocument, MarksBecomeNumberedPicturesAndTheStyleSheetGoesIn) {
    const std::string page = "<head>\n<link rel=stylesheet href=\"guide.css\">\n</head>\n"
                             "<p class=MsoPicture><img data-shot=\"输入区\"></p>\n"
                             "<p class=MsoPicture><img data-shot=\"输入期号\"></p>\n";
    const std::vector<help::GuidePicture> pictures = {{"guide.files/image001.png", 200, 100},
                                                      {"guide.files/image002.png", 50, 40}};
    EXPECT_EQ(help::composeGuidePage(page, "h1 {color:#C00000;}\n", pictures),
              "<head>\n<style>\nh1 {color:#C00000;}\n</style>\n</head>\n"
              "<p class=MsoPicture><img width=200 height=100 src=\"guide.files/image001.png\" "
              "alt=\"输入区\"><br>\n<span class=MsoCaption>图1 输入区</span></p>\n"
              "<p class=MsoPicture><img width=50 height=40 src=\"guide.files/image002.png\" "
              "alt=\"输入期号\"><br>\n<span class=MsoCaption>图2 输入期号</span></p>\n");
}

} // namespace
