// SIGTERM (a desktop session logging out) and SIGINT (Ctrl+C) end the
// program as closing the main window does, instead of killing it halfway.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace dlt::gui {

// While it lives, either signal becomes its endRequested on the thread that
// made it: the handler only writes a byte into a pipe (all a handler may
// safely do), which the event loop reads. A signal ignored when it is made
// stays ignored. One at a time; the handlers that were there before come
// back when it goes. Without POSIX signals (Windows) it does nothing.
class EndingSignals : public QObject {
    Q_OBJECT
public:
    explicit EndingSignals(QObject* parent = nullptr);
    ~EndingSignals() override;
    EndingSignals(const EndingSignals&) = delete;
    EndingSignals& operator=(const EndingSignals&) = delete;

signals:
    void endRequested();

private:
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace dlt::gui
