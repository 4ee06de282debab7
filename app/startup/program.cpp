#include "app/startup/program.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/form/look.h"
#include "app/ports/text.h"
#include "app/windows/main_window.h"
#include "app/startup/ending_signals.h"
#include "app/startup/resources.h"
#include "app/startup/startup_sequence.h"
#include "core/identity.h"

namespace dlt::gui {

void prepareApplication(QApplication& app) {
    QApplication::setApplicationName(fromUtf8(identity::productCode));
    QApplication::setOrganizationName(fromUtf8(identity::makerFolder));
    QGuiApplication::setDesktopFileName(fromUtf8(identity::desktopFileName));
    initResources();
    QIcon icon;
    for (int size : {48, 128, 256})
        icon.addFile(
            QStringLiteral(":/icons/%1-%2.png").arg(fromUtf8(identity::productCode)).arg(size),
            QSize(size, size));
    QApplication::setWindowIcon(icon);
    // Pop-up menus are windows of their own and do not inherit the main
    // window's face; the desktop's default would draw their Chinese text in
    // whatever stand-in comes first.
    QApplication::setFont(defaultGuiFont(), "QMenu");

    // Qt's translations of its own texts (Debian: qt6-translations-l10n).
    // Without them Qt's texts stay English; nothing else changes.
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qt_zh_CN"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

int runProgram(MessageBoxPort& messages, const QString& secretFolder,
               const std::filesystem::path& historyDirectory,
               const std::function<void(StartupSequence&)>& started) {
    // Closing the main window, not the last window, ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    StartupSequence startup(messages, secretFolder, historyDirectory);
    // A signal to end (a desktop session logging out) is a close of the
    // main window, whatever step the program is at.
    const EndingSignals endingSignals;
    QObject::connect(&endingSignals, &EndingSignals::endRequested, &startup, &StartupSequence::end);
    if (started)
        started(startup);
    if (!startup.run())
        return 0; // the failure message has been shown, or it was ended
    // Events are handled during the start-up online steps: the main window
    // may already have been closed there.
    if (!startup.mainWindow()->isVisible() || startup.ending())
        return 0;
    QObject::connect(startup.mainWindow(), &MainWindow::closed, qApp,
                     [] { QCoreApplication::exit(0); });
    return QApplication::exec();
}

} // namespace dlt::gui
