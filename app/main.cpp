// The program's entry: the start-up sequence, then the message loop until
// the main window is closed.
#include <QApplication>

#include "app/gui/message_box.h"
#include "app/gui/platform.h"
#include "app/gui/program.h"
#include "app/gui/startup_sequence.h"
#include "storage/installation.h"

int main(int argc, char* argv[]) {
    dlt::gui::prepareBrowserEngineEnvironment();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qvemtrod"));
    QApplication::setOrganizationName(QStringLiteral("hecheng-soft"));

    // The history files stay beside the program when its folder can be
    // written; an installed program (/usr/bin) keeps them next to the secret.
    const QString secretFolder = dlt::gui::StartupSequence::defaultSecretFolder();
    const std::filesystem::path historyFolder = dlt::chooseHistoryFolder(
        dlt::gui::toPath(QCoreApplication::applicationDirPath()), dlt::gui::toPath(secretFolder));

    dlt::gui::QtMessageBoxPort messages;
    return dlt::gui::runProgram(messages, secretFolder, historyFolder);
}
