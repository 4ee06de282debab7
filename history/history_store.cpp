#include "history/history_store.h"

#include <array>
#include <optional>
#include <system_error>

#include "history/cipher.h"
#include "history/file_io.h"

namespace fs = std::filesystem;

namespace dlt {

namespace {

constexpr std::array<std::string_view, 3> kColumns{columnKey::issue, columnKey::front, columnKey::back};
constexpr std::array<std::size_t, 3> kWidths{5, 10, 4};

// One column's change: the new file bytes, written beside the old file first.
struct PendingColumn {
    fs::path target;
    fs::path temp;
    std::optional<std::string> previous; // the old file's bytes; none if it did not exist
    bool replaced = false;
};

// Writes every column to a temporary file, then renames them over the old
// files in order. If anything fails, the files already replaced get their old
// contents back and the temporary files are removed.
bool commitColumns(const std::vector<std::pair<fs::path, std::string>>& changes) {
    std::vector<PendingColumn> pending;
    pending.reserve(changes.size());
    bool ok = true;
    for (const auto& [target, bytes] : changes) {
        PendingColumn column{target, temporarySibling(target), readWholeFile(target)};
        const bool written = writeWholeFile(column.temp, bytes);
        pending.push_back(std::move(column));
        if (!written) {
            ok = false;
            break;
        }
    }
    if (ok) {
        for (auto& column : pending) {
            std::error_code error;
            fs::rename(column.temp, column.target, error);
            if (error) {
                ok = false;
                break;
            }
            column.replaced = true;
        }
    }
    if (!ok) {
        for (auto& column : pending) {
            std::error_code ignored;
            if (column.replaced) {
                if (column.previous)
                    writeWholeFile(column.target, *column.previous);
                else
                    fs::remove(column.target, ignored);
            } else {
                fs::remove(column.temp, ignored);
            }
        }
    }
    return ok;
}

// The text ends before its first zero byte.
std::string asText(std::string bytes) {
    if (const auto zero = bytes.find('\0'); zero != std::string::npos)
        bytes.resize(zero);
    return bytes;
}

// The width characters of record k counted from the end (k = 1 newest); a
// record that would start before the start of the column is empty.
std::string fieldFromEnd(const std::string& column, std::size_t width, std::size_t k) {
    if (width * k > column.size())
        return {};
    return column.substr(column.size() - width * k, width);
}

// The last width characters, or the whole column when it is shorter.
std::string rightPart(const std::string& column, std::size_t width) {
    return column.size() > width ? column.substr(column.size() - width) : column;
}

} // namespace

HistoryStore::HistoryStore(fs::path directory, std::string installationKey, std::string extension)
    : directory_(std::move(directory)), installationKey_(std::move(installationKey)),
      extension_(std::move(extension)) {}

std::string HistoryStore::keyText() const {
    return std::string(kPasswordText) + installationKey_;
}

fs::path HistoryStore::columnPath(std::string_view key) const {
    return directory_ / (std::string(key) + extension_);
}

std::string HistoryStore::loadColumn(std::string_view key) const {
    const auto bytes = readWholeFile(columnPath(key));
    if (!bytes)
        return {};
    return asText(decipherEnvelope(*bytes, keyText()));
}

bool HistoryStore::saveColumn(std::string_view key, std::string_view text) const {
    return commitColumns({{columnPath(key), encipherEnvelope(text, keyText())}});
}

bool HistoryStore::appendDraw(const DrawRecord& draw) const {
    const std::array<const std::string*, 3> fields{&draw.issue, &draw.front, &draw.back};
    std::vector<std::pair<fs::path, std::string>> changes;
    const std::string key = keyText();
    for (std::size_t i = 0; i < kColumns.size(); ++i)
        changes.emplace_back(columnPath(kColumns[i]),
                             encipherEnvelope(loadColumn(kColumns[i]) + *fields[i], key));
    return commitColumns(changes);
}

bool HistoryStore::removeNewestDraw() const {
    std::vector<std::pair<fs::path, std::string>> changes;
    const std::string key = keyText();
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        std::string column = loadColumn(kColumns[i]);
        column.resize(column.size() > kWidths[i] ? column.size() - kWidths[i] : 0);
        changes.emplace_back(columnPath(kColumns[i]), encipherEnvelope(column, key));
    }
    return commitColumns(changes);
}

bool HistoryStore::replaceHistory(std::string_view issues, std::string_view fronts,
                                  std::string_view backs) const {
    const std::string key = keyText();
    return commitColumns({{columnPath(columnKey::issue), encipherEnvelope(issues, key)},
                          {columnPath(columnKey::front), encipherEnvelope(fronts, key)},
                          {columnPath(columnKey::back), encipherEnvelope(backs, key)}});
}

bool HistoryStore::removeHistoryFiles() const {
    bool ok = true;
    for (const auto key : kColumns) {
        std::error_code error;
        fs::remove(columnPath(key), error);
        if (error)
            ok = false;
    }
    return ok;
}

int HistoryStore::drawCount() const {
    return static_cast<int>(loadColumn(columnKey::front).size() / 10);
}

DrawRecord HistoryStore::newestDraw() const {
    return DrawRecord{rightPart(loadColumn(columnKey::issue), 5),
                      rightPart(loadColumn(columnKey::front), 10),
                      rightPart(loadColumn(columnKey::back), 4)};
}

std::vector<DrawRecord> HistoryStore::drawsNewestFirst() const {
    const std::string issues = loadColumn(columnKey::issue);
    const std::string fronts = loadColumn(columnKey::front);
    const std::string backs = loadColumn(columnKey::back);
    const std::size_t count = fronts.size() / 10;
    std::vector<DrawRecord> draws;
    draws.reserve(count);
    for (std::size_t k = 1; k <= count; ++k)
        draws.push_back({fieldFromEnd(issues, 5, k), fieldFromEnd(fronts, 10, k), fieldFromEnd(backs, 4, k)});
    return draws;
}

} // namespace dlt
