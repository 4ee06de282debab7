#include "help/help_archive.h"

#include <algorithm>

#include <openssl/evp.h>

namespace dlt::help {

namespace {

constexpr std::size_t kLineLimit = 76;
constexpr std::string_view kCrlf = "\r\n";

void appendEncodedLine(std::string& out, std::string_view line) {
    static const char hex[] = "0123456789ABCDEF";
    std::size_t column = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto byte = static_cast<unsigned char>(line[i]);
        const bool last = i + 1 == line.size();
        // Spaces and tabs stay literal except at a line's end, where mail
        // transports may strip them.
        const bool literal =
            (byte >= 33 && byte <= 126 && byte != '=') || ((byte == ' ' || byte == '\t') && !last);
        const std::size_t width = literal ? 1 : 3;
        // Leave room for the "=" of a soft line break.
        if (column + width > kLineLimit - 1) {
            out += "=";
            out += kCrlf;
            column = 0;
        }
        if (literal) {
            out += char(byte);
        } else {
            out += '=';
            out += hex[byte >> 4];
            out += hex[byte & 0x0F];
        }
        column += width;
    }
}

} // namespace

std::string encodeQuotedPrintable(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        appendEncodedLine(out, line);
        if (end == std::string_view::npos)
            break;
        out += kCrlf;
        bytes.remove_prefix(end + 1);
    }
    return out;
}

std::string encodeBase64Lines(std::string_view bytes) {
    // 57 input bytes make one 76-character line.
    constexpr std::size_t kChunk = kLineLimit / 4 * 3;
    std::string out;
    out.reserve((bytes.size() / kChunk + 1) * (kLineLimit + 2));
    unsigned char line[kLineLimit + 1];
    for (std::size_t at = 0; at < bytes.size(); at += kChunk) {
        const std::size_t n = std::min(kChunk, bytes.size() - at);
        const int written = EVP_EncodeBlock(
            line, reinterpret_cast<const unsigned char*>(bytes.data() + at), int(n));
        out.append(reinterpret_cast<const char*>(line), std::size_t(written));
        out += kCrlf;
    }
    return out;
}

std::string packArchive(std::string_view pageLocation, std::string_view pageHtml,
                        const std::vector<ArchivePicture>& pictures) {
    const std::string separator = "--" + std::string(kArchiveBoundary);
    std::string out;
    out += "MIME-version: 1.0\r\n";
    out += "Content-Type: multipart/related; boundary=\"" + std::string(kArchiveBoundary) +
           "\"; type=\"text/html\"\r\n";
    out += "\r\nThis is a multi-part message in MIME format.\r\n\r\n";

    out += separator + "\r\n";
    out += "Content-Type: text/html; charset=\"utf-8\"\r\n";
    out += "Content-Transfer-Encoding: quoted-printable\r\n";
    out += "Content-Location: " + std::string(pageLocation) + "\r\n\r\n";
    out += encodeQuotedPrintable(pageHtml);
    out += "\r\n"; // the line break before a boundary belongs to the boundary

    for (const ArchivePicture& picture : pictures) {
        out += separator + "\r\n";
        out += "Content-Type: application/octet-stream\r\n";
        out += "Content-Transfer-Encoding: base64\r\n";
        out += "Content-Location: " + picture.location + "\r\n\r\n";
        out += encodeBase64Lines(picture.bytes);
        out += "\r\n";
    }
    out += separator + "--\r\n";
    return out;
}

} // namespace dlt::help
