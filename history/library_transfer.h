// The library tools' commands on the history files: export to a text file,
// import from a history file with its summary and the choice of merging or
// replacing, and the check of the library. They talk to the user through
// the message-box port only; the window chooses the files.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/ports.h"
#include "history/draw_file.h"
#include "history/history_store.h"
#include "history/library_merge.h"

namespace dlt {

enum class ExportOutcome { Exported, NotWritten };

// Writes the library, newest first, through the one durable replace.
ExportOutcome exportLibrary(const HistoryStore& store, const std::filesystem::path& file,
                            MessageBoxPort& messages);

// What the import asks before it writes: the file's draws, their range and
// how it was read, the new, same and conflicting draws, the skipped lines
// and what 合并 and 替换 would do.
std::string importSummary(const DrawFileRead& read, const LibraryComparison& comparison);

enum class ImportOutcome {
    Unreadable, // the file could not be read
    NoDraws,    // the file holds no draw
    Cancelled,  // the user chose 取消
    NothingNew, // 合并 with nothing new: the library is unchanged
    OutOfStep,  // 合并 into a library whose columns disagree: refused
    NotWritten, // the write failed: the library is unchanged
    Merged,
    Replaced,
};

struct ImportResult {
    ImportOutcome outcome;
    int added = 0;        // draws the merge added
    int libraryDraws = 0; // draws in the library afterwards
};

// Reads the file, shows its summary and asks 合并, 替换 or 取消; the change
// is written in one commit of the store, or not at all.
ImportResult importLibrary(const HistoryStore& store, const std::filesystem::path& file,
                           MessageBoxPort& messages);

// The report of the check.
std::string libraryCheckReport(const LibraryCheck& check);

// Checks the library and shows what it found; nothing is changed.
LibraryCheck checkLibraryFiles(const HistoryStore& store, MessageBoxPort& messages);

} // namespace dlt
