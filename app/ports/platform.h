// The few things that differ between desktops.
#pragma once

#include <QString>
#include <filesystem>

namespace dlt::gui {

// Whether the process runs with the administrator's rights (root).
bool runningAsRoot();

// The browser engine's sandbox cannot start as root: switch it off there
// (QTWEBENGINE_DISABLE_SANDBOX=1), unless the variable is already set.
// Call before the QApplication is created.
void prepareBrowserEngineEnvironment();

// A display path as a file-system path (UTF-16 safe on every desktop).
std::filesystem::path toPath(const QString& path);
QString fromPath(const std::filesystem::path& path);

} // namespace dlt::gui
