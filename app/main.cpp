// The program's entry: the start-up sequence, then the message loop until
// the main window is closed.
#include <QApplication>

#include "app/gui/message_box.h"
#include "app/gui/platform.h"
#include "app/gui/program.h"
#include "app/gui/startup_sequence.h"

int main(int argc, char* argv[]) {
    dlt::gui::prepareBrowserEngineEnvironment();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qvemtrod"));
    QApplication::setOrganizationName(QStringLiteral("hecheng-soft"));

    dlt::gui::QtMessageBoxPort messages;
    return dlt::gui::runProgram(messages, dlt::gui::StartupSequence::defaultSecretFolder(),
                                dlt::gui::toPath(QCoreApplication::applicationDirPath()));
}
