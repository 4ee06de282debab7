#include "history/history_store.h"

#include <array>
#include <optional>
#include <system_error>

#include "storage/cipher.h"
#include "storage/commit.h"
#include "storage/file_io.h"

namespace fs = std::filesystem;

namespace dlt {

namespace {

constexpr std::array<std::string_view, 3> kColumns{columnKey::issue, columnKey::front,
                                                   columnKey::back};
constexpr std::array<std::size_t, 3> kWidths{5, 10, 4};

// The text ends before its first zero byte.
std::string asText(std::string bytes) {
    if (const auto zero = bytes.find('\0'); zero != std::string::npos)
        bytes.resize(zero);
    return bytes;
}

// A column file as read for a change: its bytes when read (none when
// missing), their deciphered blocks and the column text.
struct ColumnFile {
    bool readable = true;
    std::optional<std::string> raw;
    std::string plain;
    std::string text;
};

ColumnFile readColumnFile(const fs::path& path, std::string_view keyText) {
    ColumnFile column;
    FileRead read = readFile(path, kMaxColumnFileSize);
    switch (read.status) {
    case FileRead::Status::Missing:
        break;
    case FileRead::Status::Failed:
        column.readable = false;
        break;
    case FileRead::Status::TooLarge:
        // Damaged: replaced like an undecipherable file.
        column.raw = std::string();
        break;
    case FileRead::Status::Read:
        column.raw = std::move(read.bytes);
        column.plain = decipherBlocks(*column.raw, keyText);
        column.text = asText(envelopeData(column.plain));
        break;
    }
    return column;
}

bool isWholeField(const std::string& field, std::size_t width) {
    return field.size() == width && field.find('\0') == std::string::npos;
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
      extension_(std::move(extension)) {
    recover();
}

bool HistoryStore::folderMissing() const {
    std::error_code error;
    return !fs::exists(directory_, error) && !error;
}

bool HistoryStore::recover() const {
    // No folder, no files: nothing to finish.
    return folderMissing() || beginChange().has_value();
}

std::optional<FileLock> HistoryStore::beginChange() const {
    FileLock lock = lockFolder(directory_);
    if (!lock.held() || !recoverChanges(commitRecordPath(),
                                        {columnPath(columnKey::issue), columnPath(columnKey::front),
                                         columnPath(columnKey::back)}))
        return std::nullopt;
    return lock;
}

fs::path HistoryStore::commitRecordPath() const {
    return directory_ / ("history" + extension_ + ".commit");
}

std::string HistoryStore::keyText() const {
    return std::string(kPasswordText) + installationKey_;
}

fs::path HistoryStore::columnPath(std::string_view key) const {
    return directory_ / (std::string(key) + extension_);
}

std::string HistoryStore::loadColumn(std::string_view key) const {
    const FileRead read = readFile(columnPath(key), kMaxColumnFileSize);
    if (read.status != FileRead::Status::Read)
        return {};
    return asText(decipherEnvelope(read.bytes, keyText()));
}

bool HistoryStore::rewriteColumns(const ColumnEdit& edit) const {
    const auto lock = beginChange();
    if (!lock)
        return false;
    const std::string key = keyText();
    std::vector<FileChange> changes;
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        const fs::path path = columnPath(kColumns[i]);
        ColumnFile column = readColumnFile(path, key);
        // A column that is there but cannot be read is not an empty one.
        if (!column.readable)
            return false;
        const std::string text = edit(i, std::move(column.text));
        // Blocks that did not change keep their ciphertext: the same bytes,
        // at half the cost for the usual append or trim.
        std::string bytes =
            encipherEnvelopeReusing(text, key, column.raw.value_or(std::string()), column.plain);
        changes.push_back({path, std::move(bytes)});
    }
    return commitChanges(commitRecordPath(), changes);
}

bool HistoryStore::appendDraw(const DrawRecord& draw) const {
    return appendDraws({draw});
}

bool HistoryStore::appendDraws(const std::vector<DrawRecord>& draws) const {
    std::array<std::string, 3> added;
    for (const DrawRecord& draw : draws) {
        const std::array<const std::string*, 3> fields{&draw.issue, &draw.front, &draw.back};
        // A short or broken field would shift every older record of its column.
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (!isWholeField(*fields[i], kWidths[i]))
                return false;
            added[i] += *fields[i];
        }
    }
    return rewriteColumns([&](std::size_t i, std::string column) { return column + added[i]; });
}

bool HistoryStore::removeNewestDraw() const {
    return rewriteColumns([](std::size_t i, std::string column) {
        column.resize(column.size() > kWidths[i] ? column.size() - kWidths[i] : 0);
        return column;
    });
}

bool HistoryStore::replaceHistory(std::string_view issues, std::string_view fronts,
                                  std::string_view backs) const {
    const auto lock = beginChange();
    if (!lock)
        return false;
    const std::string key = keyText();
    const std::array<std::string_view, 3> texts{issues, fronts, backs};
    std::vector<FileChange> changes;
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        const fs::path path = columnPath(kColumns[i]);
        ColumnFile column = readColumnFile(path, key);
        if (!column.readable)
            return false;
        changes.push_back({path, encipherEnvelope(texts[i], key)});
    }
    return commitChanges(commitRecordPath(), changes);
}

bool HistoryStore::removeHistoryFiles() const {
    if (folderMissing())
        return true;
    const auto lock = beginChange();
    if (!lock)
        return false;
    std::vector<FileChange> changes;
    for (const auto key : kColumns) {
        const fs::path path = columnPath(key);
        std::error_code error;
        const auto status = fs::symlink_status(path, error);
        if (status.type() == fs::file_type::not_found)
            continue;
        // Something other than a column file stands there: touch nothing.
        if (error || !fs::is_regular_file(status))
            return false;
        changes.push_back({path, std::nullopt});
    }
    return changes.empty() || commitChanges(commitRecordPath(), changes);
}

int HistoryStore::drawCount() const {
    return static_cast<int>(loadColumn(columnKey::front).size() / 10);
}

DrawRecord HistoryStore::newestDraw() const {
    // Held so that another process's change is seen whole or not at all.
    const FileLock lock = lockFolder(directory_);
    return DrawRecord{rightPart(loadColumn(columnKey::issue), 5),
                      rightPart(loadColumn(columnKey::front), 10),
                      rightPart(loadColumn(columnKey::back), 4)};
}

std::vector<DrawRecord> HistoryStore::drawsNewestFirst() const {
    const FileLock lock = lockFolder(directory_);
    const std::string issues = loadColumn(columnKey::issue);
    const std::string fronts = loadColumn(columnKey::front);
    const std::string backs = loadColumn(columnKey::back);
    const std::size_t count = fronts.size() / 10;
    std::vector<DrawRecord> draws;
    draws.reserve(count);
    for (std::size_t k = 1; k <= count; ++k)
        draws.push_back(
            {fieldFromEnd(issues, 5, k), fieldFromEnd(fronts, 10, k), fieldFromEnd(backs, 4, k)});
    return draws;
}

} // namespace dlt
