// A bare Qt Widgets window, started the way the footprint script starts the
// program: an empty window of the intro window's size. It says
// "intro <ns>" once the window has first been painted, then waits until
// "quit" (or the end) on standard input.
#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>
#include <iostream>
#include <string>

#include "bench/footprint/first_paint.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.resize(688, 640);
    new footprint::FirstPaint(&window, [] { footprint::sayTime("intro"); });
    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        std::string command;
        if (!std::getline(std::cin, command) || command == "quit")
            QCoreApplication::quit();
        else
            footprint::say(command); // the states the program is driven to: nothing to do
    });
    window.show();
    return QApplication::exec();
}
