// The program's entry: the bundled maker's site when the program is built for
// it, the start-up sequence, then the message loop until the main window is
// closed.
#include <QApplication>

#include "app/windows/main_window.h"
#include "app/ports/message_box.h"
#include "app/ports/platform.h"
#include "app/startup/program.h"
#include "app/startup/sole_copy.h"
#include "app/startup/startup_sequence.h"
#include "online/bundled_site.h"
#include "storage/installation.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    dlt::gui::prepareApplication(app);

    // One copy per user: a later start brings the running one to the front
    // and ends before it serves a site or looks at the secret or the library.
    const QString secretFolder = dlt::gui::StartupSequence::defaultSecretFolder();
    const dlt::gui::SoleCopy soleCopy(secretFolder);
    if (!soleCopy.isSole()) {
        soleCopy.bringRunningCopyForward();
        return 0;
    }

    const std::filesystem::path programFolder =
        dlt::gui::toPath(QCoreApplication::applicationDirPath());

    // A program built for the bundled site on 127.0.0.1 serves it itself for
    // as long as it runs, unless a site already answers there; one built for
    // real hosts serves nothing.
    const dlt::BundledSite site(dlt::builtInSites(), dlt::bundledSiteFolder(programFolder));

    // An installed program (/usr/bin, or bin/ beside share/qvemtrod) keeps
    // the history files next to the secret, whoever runs it; a portable copy
    // or the build keeps them beside itself when it can write there.
    const std::filesystem::path historyFolder =
        dlt::chooseHistoryFolder(programFolder, dlt::gui::toPath(secretFolder));

    // The start-up failure has no window yet; every later message box
    // belongs to the main window, which all the program's messages speak for.
    dlt::gui::QtMessageBoxPort messages;
    return dlt::gui::runProgram(
        messages, secretFolder, historyFolder, [&messages](dlt::gui::StartupSequence& startup) {
            QObject::connect(
                &startup, &dlt::gui::StartupSequence::mainWindowShown,
                [&messages](dlt::gui::MainWindow* window) { messages.setParent(window); });
        });
}
