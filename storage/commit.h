// All-or-nothing changes of several files in one folder that survive a crash
// at any moment: the new contents go to flushed temporary files, a commit
// record naming them is made durable, then they are renamed over the old
// files and the record is removed. A later recoverChanges finishes a commit
// whose record and new contents are all there, and otherwise drops it.
// Callers hold the folder's lock (lockFolder) around both, so no process
// ever finishes or drops a commit that another one is making.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace dlt {

struct FileChange {
    std::filesystem::path target;
    std::optional<std::string> bytes; // none: the file is deleted
};

// Makes every change or none. The commit record in place is the point of no
// return: a failure before it leaves every file as it was and gives false;
// once it is there the change is made, and a failure after it (its folder's
// flush included) leaves the record for the next recovery to finish the
// change (which is tried at once too), so the answer is true. What a
// deletion moves aside is removed before the answer, or by the next recovery
// when it cannot be.
bool commitChanges(const std::filesystem::path& record, const std::vector<FileChange>& changes);

// Finishes or drops an interrupted commit of the files and removes stray
// temporary files of theirs. False when a commit could not be finished (a
// stray that cannot be removed keeps nothing from going on).
bool recoverChanges(const std::filesystem::path& record,
                    const std::vector<std::filesystem::path>& files);

} // namespace dlt
