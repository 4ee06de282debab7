// The program from the start-up sequence to its end.
#pragma once

#include <QString>
#include <filesystem>
#include <functional>

#include "core/ports.h"

namespace dlt::gui {

class StartupSequence;

// Runs the start-up sequence, then the message loop until the main window
// is closed, which ends the program at once; nothing is written at the end.
// Returns the exit code: 0, also when start-up failed after its message.
// Needs a QApplication. started, when given, is called with the sequence
// before it runs (tests use it to press "下一步").
int runProgram(MessageBoxPort& messages, const QString& secretFolder,
               const std::filesystem::path& historyDirectory,
               const std::function<void(StartupSequence&)>& started = {});

} // namespace dlt::gui
