// The user's guide as one MIME HTML web archive: the page (UTF-8 HTML,
// quoted-printable) followed by its pictures (base64), each part found by
// its Content-Location. The resources program packs it; the program writes
// it out unchanged and its help window reads it back from that file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dlt::help {

inline constexpr std::string_view kArchiveBoundary = "----=_NextPart_000_0076_01C29953.BE473C30";

struct ArchivePicture {
    std::string location; // absolute Content-Location, beside the page in its ".files" folder
    std::string bytes;    // PNG data
};

// The whole archive, CRLF line ends: the MIME headers and preamble, the page
// as part 1, a part per picture, then the closing boundary.
std::string packArchive(std::string_view pageLocation, std::string_view pageHtml,
                        const std::vector<ArchivePicture>& pictures);

// The archive read back: the page and its pictures, decoded.
struct ArchiveContent {
    std::string pageLocation;
    std::string pageHtml;
    std::vector<ArchivePicture> pictures;
};

// Reads an archive of packArchive's shape: the boundary of the top-level
// content type, then each part's headers and body, decoded by its transfer
// encoding (quoted-printable or base64). The first part is the page; every
// further part with a Content-Location is a picture. Nothing (an empty page)
// when the bytes are no such archive or end before its closing boundary.
ArchiveContent readArchive(std::string_view archive);

// Quoted-printable with lines of at most 76 characters; line breaks of the
// text (LF or CRLF) become CRLF.
std::string encodeQuotedPrintable(std::string_view bytes);

// Base64 in lines of 76 characters, CRLF after each.
std::string encodeBase64Lines(std::string_view bytes);

// The reverse of the two: soft line breaks dropped, "=XX" made a byte; and
// base64 with its line breaks skipped (an invalid text gives empty).
std::string decodeQuotedPrintable(std::string_view text);
std::string decodeBase64Lines(std::string_view text);

} // namespace dlt::help
