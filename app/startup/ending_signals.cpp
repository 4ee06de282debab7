#include "app/startup/ending_signals.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <iterator>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace dlt::gui {

#ifdef Q_OS_UNIX

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT};

// The pipe's ends; the writing end is all the handler touches.
int readEnd = -1;
volatile sig_atomic_t writeEnd = -1;
struct sigaction previous[std::size(kSignals)];

void onSignal(int) {
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a request: one more byte adds nothing.
    [[maybe_unused]] const ssize_t written = write(writeEnd, &byte, 1);
    errno = saved;
}

} // namespace

EndingSignals::EndingSignals(QObject* parent) : QObject(parent) {
    int ends[2];
    if (pipe(ends) != 0)
        return; // the signals then end the program as they always do
    for (const int end : ends) {
        fcntl(end, F_SETFD, FD_CLOEXEC);
        fcntl(end, F_SETFL, fcntl(end, F_GETFL) | O_NONBLOCK);
    }
    readEnd = ends[0];
    writeEnd = ends[1];
    notifier_ = new QSocketNotifier(readEnd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (read(readEnd, bytes, sizeof bytes) > 0) {
        }
        emit endRequested();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        sigaction(kSignals[i], &action, &previous[i]);
        // A signal the starter chose to ignore (nohup, a shell's background
        // job for SIGINT) stays ignored.
        if (previous[i].sa_handler == SIG_IGN)
            sigaction(kSignals[i], &previous[i], nullptr);
    }
}

EndingSignals::~EndingSignals() {
    if (!notifier_)
        return;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &previous[i], nullptr);
    delete notifier_;
    close(readEnd);
    close(writeEnd);
    readEnd = -1;
    writeEnd = -1;
}

#else

EndingSignals::EndingSignals(QObject* parent) : QObject(parent) {}
EndingSignals::~EndingSignals() = default;

#endif

} // namespace dlt::gui
