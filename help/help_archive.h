// The user's guide as one MIME HTML web archive: the page (UTF-8 HTML,
// quoted-printable) followed by its pictures (base64), each part found by
// its Content-Location. The resources program packs it; the program writes
// it out unchanged.
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

// Quoted-printable with lines of at most 76 characters; line breaks of the
// text (LF or CRLF) become CRLF.
std::string encodeQuotedPrintable(std::string_view bytes);

// Base64 in lines of 76 characters, CRLF after each.
std::string encodeBase64Lines(std::string_view bytes);

} // namespace dlt::help
