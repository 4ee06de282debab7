#include "history/draw_details_store.h"

#include <algorithm>
#include <charconv>
#include <system_error>

#include "storage/file_io.h"

namespace fs = std::filesystem;

namespace dlt {

namespace {

constexpr char kNone = '-';
constexpr std::string_view kNote = "# issue\tdate\tpool before\tpool after\tsales (fen)\t"
                                   "tier/add-on/winning bets/prize of one bet (fen) ...\n";

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isIssue(std::string_view text) {
    return text.size() == 5 && std::all_of(text.begin(), text.end(), isDigit);
}

// "YYYY-MM-DD" by its shape; the service's dates are not checked further.
bool isDate(std::string_view text) {
    if (text.size() != 10)
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((i == 4 || i == 7) ? text[i] != '-' : !isDigit(text[i]))
            return false;
    return true;
}

std::optional<std::int64_t> wholeNumber(std::string_view text) {
    std::int64_t value = 0;
    if (text.empty() || !std::all_of(text.begin(), text.end(), isDigit))
        return std::nullopt;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// A field that may be "-": the outer optional says whether it read.
std::optional<std::optional<Fen>> optionalAmount(std::string_view text) {
    if (text.size() == 1 && text[0] == kNone)
        return std::optional<Fen>();
    if (const auto value = wholeNumber(text))
        return std::optional<Fen>(*value);
    return std::nullopt;
}

std::string amountText(const std::optional<Fen>& amount) {
    return amount && *amount >= 0 ? std::to_string(*amount) : std::string(1, kNone);
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

std::optional<TierPayout> readTier(std::string_view text) {
    const auto parts = split(text, '/');
    if (parts.size() != 4)
        return std::nullopt;
    const auto number = wholeNumber(parts[0]);
    const auto winners = wholeNumber(parts[2]);
    const auto prize = optionalAmount(parts[3]);
    if (!number || *number < 1 || *number > 9 || (parts[1] != "0" && parts[1] != "1") || !winners ||
        !prize)
        return std::nullopt;
    return TierPayout{static_cast<int>(*number), parts[1] == "1", *winners, *prize};
}

std::map<std::string, DrawDetails> readLines(std::string_view text) {
    std::map<std::string, DrawDetails> details;
    for (std::string_view line : split(text, '\n')) {
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (auto read = readDrawDetailsLine(line))
            details[read->issue] = std::move(*read);
    }
    return details;
}

} // namespace

std::string drawDetailsLine(const DrawDetails& details) {
    std::string line = details.issue;
    line += '\t';
    line += isDate(details.date) ? details.date : std::string(1, kNone);
    for (const auto& amount : {details.poolBefore, details.poolAfter, details.sales})
        line += '\t' + amountText(amount);
    // A tier the file cannot name is left out rather than spoil the line.
    for (const TierPayout& tier : details.tiers)
        if (tier.tier >= 1 && tier.tier <= 9)
            line += '\t' + std::to_string(tier.tier) + '/' + (tier.addOn ? '1' : '0') + '/' +
                    std::to_string(std::max<std::int64_t>(tier.winners, 0)) + '/' +
                    amountText(tier.prizePerBet);
    return line;
}

std::optional<DrawDetails> readDrawDetailsLine(std::string_view line) {
    const auto fields = split(line, '\t');
    if (fields.size() < 5 || !isIssue(fields[0]))
        return std::nullopt;
    DrawDetails details;
    details.issue = std::string(fields[0]);
    if (isDate(fields[1]))
        details.date = std::string(fields[1]);
    else if (fields[1] != std::string_view(&kNone, 1))
        return std::nullopt;
    std::optional<Fen>* amounts[] = {&details.poolBefore, &details.poolAfter, &details.sales};
    for (std::size_t i = 0; i < 3; ++i) {
        const auto amount = optionalAmount(fields[2 + i]);
        if (!amount)
            return std::nullopt;
        *amounts[i] = *amount;
    }
    for (std::size_t i = 5; i < fields.size(); ++i) {
        auto tier = readTier(fields[i]);
        if (!tier)
            return std::nullopt;
        details.tiers.push_back(*tier);
    }
    return details;
}

DrawDetailsStore::DrawDetailsStore(fs::path directory) : directory_(std::move(directory)) {}

fs::path DrawDetailsStore::filePath() const {
    return directory_ / kDrawDetailsFileName;
}

std::map<std::string, DrawDetails> DrawDetailsStore::load() const {
    // The file is only ever replaced whole, so it reads whole without the lock.
    const FileRead read = readFile(filePath(), kMaxDrawDetailsFileSize);
    if (read.status != FileRead::Status::Read)
        return {};
    return readLines(read.bytes);
}

bool DrawDetailsStore::merge(const std::vector<DrawDetails>& details) const {
    // The library's lock: one change at a time in the folder, across processes.
    const FileLock lock = lockFolder(directory_);
    if (!lock.held())
        return false;
    const fs::path path = filePath();
    const FileRead read = readFile(path, kMaxDrawDetailsFileSize);
    // A file that is there but cannot be read is not an empty one.
    if (read.status != FileRead::Status::Read && read.status != FileRead::Status::Missing)
        return false;
    std::map<std::string, DrawDetails> kept = readLines(read.bytes);
    for (const DrawDetails& draw : details)
        if (isIssue(draw.issue))
            kept[draw.issue] = draw;

    // Temporary files that a crash left behind go with the next change.
    std::error_code error;
    for (fs::directory_iterator it(directory_, error), end; !error && it != end;
         it.increment(error))
        if (isTemporarySiblingName(it->path().filename().string(), path))
            removeFile(it->path());

    std::string text(kNote);
    for (const auto& [issue, draw] : kept)
        text += drawDetailsLine(draw) + '\n';
    return replaceFileDurably(path, text);
}

} // namespace dlt
