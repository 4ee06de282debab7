// The program from the start-up sequence to its end.
#pragma once

#include <QString>
#include <filesystem>
#include <functional>

#include "core/ports.h"

class QApplication;

namespace dlt::gui {

class StartupSequence;

// The application's identity on the desktop and its language, right after
// the QApplication is made: its name and its maker's (which name the per-user
// data folder), the desktop file's name and the window icon (so docks and
// window lists show the program's own icon), and Qt's own texts in Chinese
// (the buttons of the message boxes, the edit boxes' menus, the file
// dialogs), whatever the desktop's language.
void prepareApplication(QApplication& app);

// Runs the start-up sequence, then the message loop until the main window
// is closed, which ends the program at once; nothing is written at the end.
// SIGTERM and SIGINT end it the same way, at any step (EndingSignals).
// Returns the exit code: 0, also when start-up failed after its message.
// Needs a QApplication. started, when given, is called with the sequence
// before it runs (the program gives its message boxes their window there;
// tests press "下一步").
int runProgram(MessageBoxPort& messages, const QString& secretFolder,
               const std::filesystem::path& historyDirectory,
               const std::function<void(StartupSequence&)>& started = {});

} // namespace dlt::gui
