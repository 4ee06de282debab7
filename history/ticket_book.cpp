#include "history/ticket_book.h"

#include <algorithm>

#include "core/encoding.h"
#include "storage/file_io.h"

namespace dlt {

std::filesystem::path ticketBookPath(const std::filesystem::path& folder) {
    return folder / kTicketBookName;
}

TicketBook readTicketBook(const std::filesystem::path& folder) {
    TicketBook book;
    const FileRead file = readFile(ticketBookPath(folder), kMaxTicketBookSize);
    if (file.status == FileRead::Status::Missing) {
        return book;
    }
    if (file.status != FileRead::Status::Read) {
        book.readable = false;
        return book;
    }
    const std::string_view text = file.bytes;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        std::string_view line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.find_first_not_of(" \t") != std::string_view::npos) {
            // A line that is no GBK (a book edited in another encoding)
            // would not be written back as it is: the book stays unchanged.
            std::optional<std::string> decoded = decodeStrictly(line, "GBK");
            book.readable = book.readable && decoded.has_value();
            book.lines.push_back(decoded ? std::move(*decoded) : gbkToUtf8(line));
        }
        at = end + 1;
    }
    return book;
}

std::string ticketBookText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += utf8ToGbk(line);
        text += '\n';
    }
    return text;
}

bool writeTicketBook(const std::filesystem::path& folder, const std::vector<std::string>& lines) {
    return replaceFileDurably(ticketBookPath(folder), ticketBookText(lines));
}

} // namespace dlt
