// Helpers shared by the window tests.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>
#include <deque>
#include <gtest/gtest.h>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "core/ports.h"

inline std::ostream& operator<<(std::ostream& os, const QString& s) {
    return os << s.toStdString();
}
inline std::ostream& operator<<(std::ostream& os, const QColor& c) {
    return os << c.name().toStdString();
}
inline std::ostream& operator<<(std::ostream& os, const QRect& r) {
    return os << r.x() << "," << r.y() << "," << r.width() << "," << r.height();
}
inline std::ostream& operator<<(std::ostream& os, const QSize& s) {
    return os << s.width() << "x" << s.height();
}

namespace testsupport {

// Exactly one descendant of root with this objectName and type.
template <class T> T* only(const QObject* root, const QString& name) {
    const QList<T*> found = root->findChildren<T*>(name);
    EXPECT_EQ(found.size(), 1) << "controls named " << name;
    return found.isEmpty() ? nullptr : found.first();
}

inline bool near(const QColor& a, const QColor& b, int tolerance = 10) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// The colour a widget shows at a point of its own.
inline QColor pixelOf(QWidget* widget, QPoint at) {
    const QImage image = widget->grab().toImage();
    return image.pixelColor(at);
}

// A message-box port that records what is shown and answers from a script
// (OK, or the default 合并 of an import, once the script is used up).
class RecordingMessages : public dlt::MessageBoxPort {
public:
    struct Shown {
        std::string text; // GBK
        std::string caption;
        dlt::MessageIcon icon;
        dlt::MessageButtons buttons;
    };

    dlt::MessageAnswer showMessage(const std::string& text, const std::string& caption,
                                   dlt::MessageIcon icon, dlt::MessageButtons buttons) override {
        shown.push_back({text, caption, icon, buttons});
        if (onShow)
            onShow();
        if (answers.empty())
            return buttons == dlt::MessageButtons::MergeReplaceCancel ? dlt::MessageAnswer::Merge
                                                                      : dlt::MessageAnswer::Ok;
        const dlt::MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<Shown> shown;
    std::deque<dlt::MessageAnswer> answers;
    // Runs while a message is "open" (tests look at the window meanwhile).
    std::function<void()> onShow;
};

} // namespace testsupport
