#include "storage/commit.h"

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

bool commit(const fs::path& record, const std::vector<FileChange>& changes, bool undoOnFailure);

// Puts back the files of the first done entries.
void undo(const fs::path& record, const std::vector<Entry>& entries,
          const std::vector<FileChange>& changes, std::size_t done) {
    std::vector<FileChange> back;
    bool asides = false;
    for (std::size_t i = 0; i < done; ++i) {
        if (entries[i].digest)
            back.push_back({entries[i].target, changes[i].previous, std::nullopt});
        else
            asides = true;
    }
    if (asides) {
        // A deletion is undone by renaming the files back; should this be
        // cut short, the record left behind finishes the deletion instead.
        for (std::size_t i = 0; i < done; ++i)
            renameFile(entries[i].temp, entries[i].target);
        flushDirectory(record.parent_path());
        removeFile(record);
        return;
    }
    // The undo is itself a commit: its record replaces the failed one, so a
    // crash during it ends in the old files too. Its leftover new contents
    // are then strays.
    if (!back.empty())
        commit(record, back, false);
    removeTemps(entries);
    removeFile(record);
}

bool commit(const fs::path& record, const std::vector<FileChange>& changes, bool undoOnFailure) {
    const fs::path folder = record.parent_path();
    std::vector<Entry> entries;
    bool ok = true;
    for (const auto& change : changes) {
        Entry e{change.target, temporarySibling(change.target), std::nullopt};
        if (change.bytes) {
            e.digest = digestHex(*change.bytes);
            ok = writeFileFlushed(e.temp, *change.bytes);
        }
        entries.push_back(std::move(e));
        if (!ok)
            break;
    }
    ok = ok && replaceFileDurably(record, recordText(entries));
    if (!ok) {
        removeTemps(entries);
        removeFile(record);
        return false;
    }
    std::size_t done = 0;
    std::error_code error;
    for (; ok && done < entries.size(); ++done) {
        const Entry& e = entries[done];
        if (e.digest)
            ok = renameFile(e.temp, e.target);
        else
            ok = !fs::exists(e.target, error) || renameFile(e.target, e.temp);
        if (!ok)
            break;
    }
    ok = ok && flushDirectory(folder) && removeFile(record);
    if (!ok) {
        if (undoOnFailure)
            undo(record, entries, changes, done);
        return false;
    }
    // After the record is gone the deletion stands; what is renamed aside is
    // only clean-up, and what stays is removed as a stray at the next start.
    for (const auto& e : entries)
        if (!e.digest)
            removeFile(e.temp);
    return true;
}

} // namespace

bool commitChanges(const fs::path& record, const std::vector<FileChange>& changes) {
    return commit(record, changes, true);
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
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        bool stray = isTemporarySiblingName(name, record);
        for (const auto& file : files)
            stray = stray || isTemporarySiblingName(name, file);
        if (stray)
            removeFile(it->path());
    }
    return true;
}

} // namespace dlt
