// All-or-nothing changes of several files in one folder that survive a crash
// at any moment: the new contents go to flushed temporary files, a commit
// record naming them is made durable, then they are renamed over the old
// files and the record is removed. A later recoverChanges finishes a commit
// whose record and new contents are all there, and otherwise drops it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace dlt {

struct FileChange {
    std::filesystem::path target;
    std::optional<std::string> bytes;    // none: the file is deleted
    std::optional<std::string> previous; // what it held; none: it did not exist
};

// Makes every change or none. When a call fails after the first rename, the
// old contents come back through the same temporary-file-and-rename path.
bool commitChanges(const std::filesystem::path& record, const std::vector<FileChange>& changes);

// Finishes or drops an interrupted commit of the files and removes stray
// temporary files of theirs. False when a commit could not be finished.
bool recoverChanges(const std::filesystem::path& record,
                    const std::vector<std::filesystem::path>& files);

} // namespace dlt
