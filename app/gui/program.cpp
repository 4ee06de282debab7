#include "app/gui/program.h"

#include <QApplication>

#include "app/gui/main_window.h"
#include "app/gui/startup_sequence.h"

namespace dlt::gui {

int runProgram(MessageBoxPort& messages, const QString& secretFolder,
               const std::filesystem::path& historyDirectory,
               const std::function<void(StartupSequence&)>& started) {
    // Closing the main window, not the last window, ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    StartupSequence startup(messages, secretFolder, historyDirectory);
    if (started)
        started(startup);
    if (!startup.run())
        return 0; // the failure message has been shown; the program ends
    // Events are handled during the start-up online steps: the main window
    // may already have been closed there.
    if (!startup.mainWindow()->isVisible())
        return 0;
    QObject::connect(startup.mainWindow(), &MainWindow::closed, qApp, [] { QCoreApplication::exit(0); });
    return QApplication::exec();
}

} // namespace dlt::gui
