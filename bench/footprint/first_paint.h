// What the footprint probes share: a call once a window has first been
// painted, and a line on standard output for the driving script.
#pragma once

#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <functional>
#include <iostream>
#include <string>

namespace footprint {

inline void say(const std::string& line) {
    std::cout << line << std::endl;
}

// "NAME <ns>": the wall clock in nanoseconds since the epoch, which the
// script compares with the moment it started the process.
inline void sayTime(const std::string& name) {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    say(name + " " +
        std::to_string(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

// Calls back once, after the first paint of a window has been handled.
class FirstPaint : public QObject {
public:
    FirstPaint(QWidget* window, std::function<void()> then)
        : QObject(window), then_(std::move(then)) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && then_) {
            auto then = std::move(then_);
            then_ = nullptr;
            QTimer::singleShot(0, this, then); // after the paint is done
        }
        return false;
    }

private:
    std::function<void()> then_;
};

// Says "help" when a help window that loads its page after it opens has
// loaded it.
class HelpLoaded : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
public slots:
    void guideLoaded(bool) { say("help"); }
};

} // namespace footprint
