#include "storage/commit.h"

#include <random>
#include <sstream>
#include <system_error>

#include "storage/cipher.h"
#include "storage/file_io.h"

namespace fs = std::filesystem;

namespace dlt {

namespace {

constexpr std::uintmax_t kMaxRecordSize = 4096;
constexpr std::uintmax_t kMaxCheckedSize = 16u << 20;
constexpr const char* kDeleted = "-";
constexpr const char* kRecordEnd = "end";

// One line of the record: the file, its temporary file (for a deletion: the
// name it is renamed aside to) and the digest of its new contents.
struct Entry {
    fs::path target;
    fs::path temp;
    std::optional<std::string> digest; // none: deletion
};

std::string recordText(const std::vector<Entry>& entries) {
    std::string text;
    for (const auto& e : entries)
        text += e.target.filename().string() + '\t' + e.temp.filename().string() + '\t' +
                e.digest.value_or(kDeleted) + '\n';
    return text + kRecordEnd + '\n';
}

// The entries of a complete record whose names all belong to the files.
std::optional<std::vector<Entry>> parseRecord(const std::string& text, const fs::path& folder,
                                              const std::vector<fs::path>& files) {
    std::istringstream lines(text);
    std::vector<Entry> entries;
    std::string line;
    while (std::getline(lines, line)) {
        if (line == kRecordEnd)
            return entries;
        std::istringstream fields(line);
        std::string target, temp, digest;
        if (!std::getline(fields, target, '\t') || !std::getline(fields, temp, '\t') ||
            !std::getline(fields, digest))
            return std::nullopt;
        bool known = false;
        for (const auto& file : files)
            known = known || (file.filename() == target && isTemporarySiblingName(temp, file));
        if (!known || (digest != kDeleted && digest.size() != 32))
            return std::nullopt;
        entries.push_back({folder / target, folder / temp,
                           digest == kDeleted ? std::nullopt : std::optional<std::string>(digest)});
    }
    return std::nullopt;
}

bool holds(const fs::path& path, const std::string& digest) {
    const FileRead read = readFile(path, kMaxCheckedSize);
    return read.status == FileRead::Status::Read && digestHex(read.bytes) == digest;
}

// Every new content is still there or already in place.
bool canRollForward(const std::vector<Entry>& entries) {
    for (const auto& e : entries)
        if (e.digest && !holds(e.temp, *e.digest) && !holds(e.target, *e.digest))
            return false;
    return true;
}

bool rollForward(const std::vector<Entry>& entries, const fs::path& folder) {
    std::error_code error;
    for (const auto& e : entries) {
        if (e.digest) {
            if (fs::exists(e.temp, error) && !renameFile(e.temp, e.target))
                return false;
        } else if (!removeFile(e.target) || !removeFile(e.temp)) {
            return false;
        }
    }
    return flushDirectory(folder);
}

void removeTemps(const std::vector<Entry>& entries) {
    for (const auto& e : entries)
        if (e.digest)
            removeFile(e.temp);
}

// The name a deleted file is moved aside to: a temporary file's name that is
// free (the caller holds the folder's lock, so it stays free).
fs::path freeAsideName(const fs::path& target) {
    static std::mt19937_64 generator{std::random_device{}()};
    std::error_code error;
    for (;;) {
        fs::path aside = target;
        aside += ".new" + std::to_string(generator() % 1000000000ULL);
        if (!fs::exists(fs::symlink_status(aside, error)))
            return aside;
    }
}

// Renames every new content over its file and moves every deleted file
// aside; true when all are done.
bool applyEntries(const std::vector<Entry>& entries) {
    std::error_code error;
    for (const Entry& e : entries) {
        const bool ok = e.digest ? renameFile(e.temp, e.target)
                                 : !fs::exists(e.target, error) || renameFile(e.target, e.temp);
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

bool commitChanges(const fs::path& record, const std::vector<FileChange>& changes) {
    const fs::path folder = record.parent_path();
    std::vector<Entry> entries;
    for (const auto& change : changes) {
        Entry e{change.target, {}, std::nullopt};
        if (change.bytes) {
            e.digest = digestHex(*change.bytes);
            const auto temp = writeTemporarySibling(change.target, *change.bytes);
            if (!temp) {
                removeTemps(entries);
                return false;
            }
            e.temp = *temp;
        } else {
            e.temp = freeAsideName(change.target);
        }
        entries.push_back(std::move(e));
    }
    if (!replaceFileDurably(record, recordText(entries))) {
        removeTemps(entries);
        return false;
    }
    // The record is in place: from here on the change is made, whatever
    // fails. What is not done now is done by the next recovery, from the
    // record.
    if (applyEntries(entries) && flushDirectory(folder))
        removeFile(record);
    // Finishes what is left at once: the record when it is still there, and
    // what a deletion moved aside. What cannot be done now is done at the
    // next opening.
    std::vector<fs::path> targets;
    for (const auto& change : changes)
        targets.push_back(change.target);
    recoverChanges(record, targets);
    return true;
}

bool recoverChanges(const fs::path& record, const std::vector<fs::path>& files) {
    const fs::path folder = record.parent_path();
    const FileRead kept = readFile(record, kMaxRecordSize);
    if (kept.status == FileRead::Status::Failed)
        return false;
    if (kept.status != FileRead::Status::Missing) {
        const auto entries = parseRecord(kept.bytes, folder, files);
        if (entries && canRollForward(*entries) && !rollForward(*entries, folder))
            return false;
        if (!removeFile(record))
            return false;
    }
    // A stray that cannot be removed now is tried again at the next recovery;
    // it keeps no change from being made.
    std::vector<fs::path> named = files;
    named.push_back(record);
    removeTemporarySiblings(named);
    return true;
}

} // namespace dlt
