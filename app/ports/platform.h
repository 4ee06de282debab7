// The few things that differ between desktops.
#pragma once

#include <QString>
#include <filesystem>

namespace dlt::gui {

// Hands the memory freed since the last call back to the system where the C
// library keeps it for reuse (glibc keeps freed large blocks in the heap):
// after a burst of large temporary buffers, so that the program's footprint
// is what it holds, not what it once used.
void returnFreedMemory();

// A display path as a file-system path (UTF-16 safe on every desktop).
std::filesystem::path toPath(const QString& path);
QString fromPath(const std::filesystem::path& path);

} // namespace dlt::gui
