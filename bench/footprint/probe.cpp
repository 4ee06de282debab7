// The program as the footprint script measures it: the program's own start
// (the bundled site, the single copy, the start-up sequence and the message
// loop), driven to the states the script weighs. On standard output it says
//   "intro <ns>"  when the intro window has first been painted (the wall
//                 clock in nanoseconds since the epoch), then presses 下一步;
//   "ready"       once the main window shows a recommendation with the list
//                 of past draws open (fetched from the bundled site);
//   "help"        once the help window shows the guide, after "help" has
//                 been read from standard input.
// "quit" on standard input closes the main window, which ends the program.
#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <iostream>
#include <string>

#include "app/ports/platform.h"
#include "app/startup/program.h"
#include "app/startup/sole_copy.h"
#include "app/startup/startup_sequence.h"
#include "app/windows/intro_window.h"
#include "app/windows/main_window.h"
#include "bench/footprint/first_paint.h"
#include "core/ports.h"
#include "online/bundled_site.h"
#include "online/sites.h"

namespace {

// Answers every question with its first button (OK, Yes), so no box waits.
class AnsweringMessages : public dlt::MessageBoxPort {
public:
    dlt::MessageAnswer showMessage(const std::string&, const std::string&, dlt::MessageIcon,
                                   dlt::MessageButtons buttons) override {
        return buttons == dlt::MessageButtons::YesNo ? dlt::MessageAnswer::Yes
                                                     : dlt::MessageAnswer::Ok;
    }
};

void press(QWidget* window, const char* name) {
    if (auto* button = window->findChild<QPushButton*>(QString::fromUtf8(name)))
        button->click();
    else
        std::cerr << "footprint_probe: no button " << name << std::endl;
}

// "help" once the help window shows the guide: after its first paint for a
// view that reads the guide as the window opens, at guideLoaded(bool) for a
// browser that loads it later.
void sayWhenHelpShown() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() != QStringLiteral("HelpWindow") || !window->isVisible())
            continue;
        if (window->metaObject()->indexOfSignal("guideLoaded(bool)") >= 0)
            QObject::connect(window, SIGNAL(guideLoaded(bool)), new footprint::HelpLoaded(window),
                             SLOT(guideLoaded(bool)));
        else
            new footprint::FirstPaint(window, [] { footprint::say("help"); });
        window->update();
        return;
    }
    std::cerr << "footprint_probe: no help window" << std::endl;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    dlt::gui::prepareApplication(app);
    if (argc < 3) {
        std::cerr << "usage: footprint_probe SECRET_FOLDER HISTORY_FOLDER\n";
        return 2;
    }
    const QString secretFolder = QString::fromLocal8Bit(argv[1]);
    const std::filesystem::path historyFolder = dlt::gui::toPath(QString::fromLocal8Bit(argv[2]));
    const dlt::gui::SoleCopy soleCopy(secretFolder);
    if (!soleCopy.isSole())
        return 1;
    const std::filesystem::path programFolder =
        dlt::gui::toPath(QCoreApplication::applicationDirPath());
    const dlt::BundledSite site(dlt::builtInSites(), dlt::bundledSiteFolder(programFolder));

    AnsweringMessages messages;
    dlt::gui::MainWindow* main = nullptr;
    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        std::string command;
        if (!std::getline(std::cin, command) || command == "quit") {
            input.setEnabled(false);
            if (main)
                main->close();
            return;
        }
        if (command == "help" && main) {
            for (QAction* item : main->findChildren<QAction*>(QStringLiteral("使用说明"))) {
                item->trigger();
                break;
            }
            QTimer::singleShot(0, [] { sayWhenHelpShown(); });
        }
    });
    return dlt::gui::runProgram(
        messages, secretFolder, historyFolder, [&](dlt::gui::StartupSequence& startup) {
            QObject::connect(&startup, &dlt::gui::StartupSequence::introShown,
                             [](dlt::gui::IntroWindow* intro) {
                                 new footprint::FirstPaint(intro, [intro] {
                                     footprint::sayTime("intro");
                                     press(intro, "按钮1");
                                 });
                             });
            QObject::connect(&startup, &dlt::gui::StartupSequence::mainWindowShown,
                             [&main](dlt::gui::MainWindow* window) {
                                 main = window;
                                 // After the start-up online steps.
                                 QTimer::singleShot(500, window, [window] {
                                     press(window, "展开高级功能按钮");
                                     press(window, "自动获取往期号按钮");
                                     press(window, "推荐号码按钮");
                                     footprint::say("ready");
                                 });
                             });
        });
}
