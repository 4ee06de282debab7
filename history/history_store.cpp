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

// The text ends before its first zero byte.
std::string asText(std::string bytes) {
    if (const auto zero = bytes.find('\0'); zero != std::string::npos)
        bytes.resize(zero);
    return bytes;
}

// A column file as read: its bytes (none when missing or unreadable), their
// deciphered blocks and the column text.
struct ColumnFile {
    std::optional<std::string> raw;
    std::string plain;
    std::string text;
};

ColumnFile readColumnFile(const fs::path& path, std::string_view keyText) {
    ColumnFile column;
    column.raw = readWholeFile(path);
    if (column.raw) {
        column.plain = decipherBlocks(*column.raw, keyText);
        column.text = asText(envelopeData(column.plain));
    }
    return column;
}

// One file to replace: its new bytes and what it held before.
struct ColumnChange {
    fs::path target;
    std::string bytes;
    std::optional<std::string> previous; // none: the file did not exist or could not be read
};

// Writes every file to a temporary file beside it, then renames them over the
// old files in order. If anything fails, the files already replaced get their
// old contents back and the temporary files are removed: all or nothing.
bool commitColumns(const std::vector<ColumnChange>& changes) {
    std::vector<fs::path> temps;
    std::size_t replaced = 0;
    bool ok = true;
    for (const auto& change : changes) {
        temps.push_back(temporarySibling(change.target));
        if (!writeWholeFile(temps.back(), change.bytes)) {
            ok = false;
            break;
        }
    }
    for (; ok && replaced < changes.size(); ++replaced) {
        std::error_code error;
        fs::rename(temps[replaced], changes[replaced].target, error);
        ok = !error;
        if (!ok)
            break;
    }
    if (!ok) {
        std::error_code ignored;
        for (std::size_t i = 0; i < temps.size(); ++i) {
            if (i >= replaced)
                fs::remove(temps[i], ignored);
            else if (changes[i].previous)
                writeWholeFile(changes[i].target, *changes[i].previous);
            else
                fs::remove(changes[i].target, ignored);
        }
    }
    return ok;
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
    const fs::path path = columnPath(key);
    return commitColumns({{path, encipherEnvelope(text, keyText()), readWholeFile(path)}});
}

bool HistoryStore::rewriteColumns(const ColumnEdit& edit) const {
    const std::string key = keyText();
    std::vector<ColumnChange> changes;
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        const fs::path path = columnPath(kColumns[i]);
        ColumnFile column = readColumnFile(path, key);
        const std::string text = edit(i, std::move(column.text));
        // Blocks that did not change keep their ciphertext: the same bytes,
        // at half the cost for the usual append or trim.
        std::string bytes = encipherEnvelopeReusing(text, key, column.raw.value_or(std::string()), column.plain);
        changes.push_back({path, std::move(bytes), std::move(column.raw)});
    }
    return commitColumns(changes);
}

bool HistoryStore::appendDraw(const DrawRecord& draw) const {
    const std::array<const std::string*, 3> fields{&draw.issue, &draw.front, &draw.back};
    return rewriteColumns([&](std::size_t i, std::string column) { return column + *fields[i]; });
}

bool HistoryStore::removeNewestDraw() const {
    return rewriteColumns([](std::size_t i, std::string column) {
        column.resize(column.size() > kWidths[i] ? column.size() - kWidths[i] : 0);
        return column;
    });
}

bool HistoryStore::replaceHistory(std::string_view issues, std::string_view fronts,
                                  std::string_view backs) const {
    const std::string key = keyText();
    const std::array<std::string_view, 3> texts{issues, fronts, backs};
    std::vector<ColumnChange> changes;
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        const fs::path path = columnPath(kColumns[i]);
        changes.push_back({path, encipherEnvelope(texts[i], key), readWholeFile(path)});
    }
    return commitColumns(changes);
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
