#include "help/help_archive.h"

#include <algorithm>
#include <cctype>

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

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

// A part's header lines, up to the empty line that ends them.
struct Headers {
    std::string contentType;
    std::string transferEncoding;
    std::string location;
};

// Reads header lines from at; returns where the body starts (npos: no end).
std::size_t readHeaders(std::string_view text, std::size_t at, Headers& headers) {
    for (;;) {
        const std::size_t end = text.find(kCrlf, at);
        if (end == std::string_view::npos)
            return end;
        if (end == at)
            return end + kCrlf.size();
        const std::string_view line = text.substr(at, end - at);
        const auto valueOf = [line](std::string_view name) {
            std::string_view value = line.substr(name.size());
            while (!value.empty() && value.front() == ' ')
                value.remove_prefix(1);
            return std::string(value);
        };
        if (startsWithNoCase(line, "Content-Type:"))
            headers.contentType = valueOf("Content-Type:");
        else if (startsWithNoCase(line, "Content-Transfer-Encoding:"))
            headers.transferEncoding = valueOf("Content-Transfer-Encoding:");
        else if (startsWithNoCase(line, "Content-Location:"))
            headers.location = valueOf("Content-Location:");
        at = end + kCrlf.size();
    }
}

std::string decodeBody(const Headers& headers, std::string_view body) {
    if (startsWithNoCase(headers.transferEncoding, "quoted-printable"))
        return decodeQuotedPrintable(body);
    if (startsWithNoCase(headers.transferEncoding, "base64"))
        return decodeBase64Lines(body);
    return std::string(body);
}

// The boundary parameter of a multipart content type.
std::string boundaryOf(std::string_view contentType) {
    constexpr std::string_view kName = "boundary=\"";
    const std::size_t start = contentType.find(kName);
    if (start == std::string_view::npos)
        return {};
    const std::size_t from = start + kName.size();
    const std::size_t end = contentType.find('"', from);
    return end == std::string_view::npos ? std::string()
                                         : std::string(contentType.substr(from, end - from));
}

} // namespace

std::string decodeQuotedPrintable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '=') {
            out += text[i];
            continue;
        }
        if (text.substr(i + 1, 2) == kCrlf) {
            i += 2; // a soft line break
            continue;
        }
        const int high = i + 2 < text.size() ? hexDigit(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? hexDigit(text[i + 2]) : -1;
        if (high < 0 || low < 0) {
            out += '='; // not an escape: kept as written
            continue;
        }
        out += char(high * 16 + low);
        i += 2;
    }
    return out;
}

std::string decodeBase64Lines(std::string_view text) {
    std::string digits;
    digits.reserve(text.size());
    for (const char c : text)
        if (c != '\r' && c != '\n')
            digits += c;
    if (digits.size() % 4 != 0)
        return {};
    std::string out(digits.size() / 4 * 3, '\0');
    const int written =
        EVP_DecodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                        reinterpret_cast<const unsigned char*>(digits.data()), int(digits.size()));
    if (written < 0)
        return {};
    // The decoder counts the padding as zero bytes.
    std::size_t size = std::size_t(written);
    for (auto it = digits.rbegin(); it != digits.rend() && *it == '=' && size > 0; ++it)
        --size;
    out.resize(size);
    return out;
}

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

ArchiveContent readArchive(std::string_view archive) {
    ArchiveContent content;
    Headers top;
    std::size_t at = readHeaders(archive, 0, top);
    const std::string boundary = boundaryOf(top.contentType);
    if (at == std::string_view::npos || boundary.empty())
        return content;
    // Every boundary line but one at the very start follows a line break,
    // which belongs to it.
    const std::string separator = "\r\n--" + boundary;
    std::size_t next = archive.find(separator, at);
    bool first = true;
    bool closed = false;
    while (next != std::string_view::npos) {
        at = next + separator.size();
        if (archive.substr(at, 2) == "--") {
            closed = true;
            break;
        }
        Headers headers;
        at = readHeaders(archive, at + kCrlf.size(), headers);
        if (at == std::string_view::npos)
            break;
        next = archive.find(separator, at);
        const std::string_view body =
            archive.substr(at, next == std::string_view::npos ? archive.size() - at : next - at);
        if (first) {
            content.pageLocation = headers.location;
            content.pageHtml = decodeBody(headers, body);
            first = false;
        } else if (!headers.location.empty()) {
            content.pictures.push_back({headers.location, decodeBody(headers, body)});
        }
    }
    // An archive cut short is no archive.
    return closed ? content : ArchiveContent{};
}

} // namespace dlt::help
