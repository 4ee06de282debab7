// The program's entry: the start-up sequence, then the message loop until
// the main window is closed.
#include <QApplication>

#include "app/gui/main_window.h"
#include "app/gui/message_box.h"
#include "app/gui/platform.h"
#include "app/gui/startup_sequence.h"

int main(int argc, char* argv[]) {
    dlt::gui::prepareBrowserEngineEnvironment();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qvemtrod"));
    QApplication::setOrganizationName(QStringLiteral("hecheng-soft"));
    // Closing the main window, not the last window, ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    dlt::gui::QtMessageBoxPort messages;
    dlt::gui::StartupSequence startup(messages, dlt::gui::StartupSequence::defaultSecretFolder(),
                                      dlt::gui::toPath(QCoreApplication::applicationDirPath()));
    if (!startup.run())
        return 0; // the failure message has been shown; the program ends

    QObject::connect(startup.mainWindow(), &dlt::gui::MainWindow::closed, &app,
                     [] { QCoreApplication::exit(0); });
    return app.exec();
}
