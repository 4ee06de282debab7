// The number library: three enciphered column files in one directory.
// Nothing is held in memory between operations. No operation throws.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/draw_record.h"
#include "storage/platform_files.h"

namespace dlt {

// A column file larger than this is damaged and is not deciphered (a century
// of draws is about 160 KB).
inline constexpr std::uintmax_t kMaxColumnFileSize = 16u << 20;

// The password text that, with the installation key, keys every file.
inline constexpr std::string_view kPasswordText = "Quorvel";

class HistoryStore {
public:
    // directory: where the files live; installationKey: 32 hex digits;
    // extension: the file name extension, ".dll" for the program. Opening
    // the store recovers from a change that a crash interrupted.
    HistoryStore(std::filesystem::path directory, std::string installationKey,
                 std::string extension = std::string(kHistoryFileExtension));

    // Finishes a change whose commit record and new files are all there,
    // otherwise drops it, and removes stray temporary files of the store.
    // Runs when the store is opened and before every change, holding the
    // folder's lock between processes, as every change does: a change that
    // another process is making is never touched. False when an interrupted
    // change could not be finished or the lock could not be had.
    bool recover() const;

    std::filesystem::path columnPath(std::string_view key) const;

    // The deciphered column; empty when the file is missing, unreadable,
    // larger than kMaxColumnFileSize or does not decipher.
    std::string loadColumn(std::string_view key) const;

    // The changing operations write all three columns or none, also across
    // a crash or power cut and with other processes changing the same files
    // (see storage/commit.h). They return whether the change was made: a
    // failure once the commit record is durable still made it (the next
    // opening finishes it), so the answer is true. A change refuses to start, writing nothing, when
    // a column file is there but cannot be read; only a missing file is an empty column. appendDraw
    // takes only whole records: 5, 10 and 4 bytes, no zero byte.
    bool appendDraw(const DrawRecord& draw) const;
    // Several draws after the newest, oldest first, in one change.
    bool appendDraws(const std::vector<DrawRecord>& draws) const;
    bool removeNewestDraw() const;
    bool replaceHistory(std::string_view issues, std::string_view fronts,
                        std::string_view backs) const;
    // Deletes the three files, all or none: they are renamed aside first,
    // then deleted (missing files are fine). Returns false, deleting nothing,
    // when a file that exists could not be removed.
    bool removeHistoryFiles() const;

    int drawCount() const;
    DrawRecord newestDraw() const;
    std::vector<DrawRecord> drawsNewestFirst() const;

private:
    // Column i (issue, front, back) edited from its current text.
    using ColumnEdit = std::function<std::string(std::size_t, std::string)>;
    bool rewriteColumns(const ColumnEdit& edit) const;
    // Takes the folder's lock and recovers; none when either fails. A change
    // holds it from reading the columns to the end of its commit.
    std::optional<FileLock> beginChange() const;
    bool folderMissing() const;
    std::string keyText() const;
    std::filesystem::path commitRecordPath() const;

    std::filesystem::path directory_;
    std::string installationKey_;
    std::string extension_;
};

} // namespace dlt
