// Long commands that keep the window alive: the small window that shows one
// at work with its 取消, and work run off the window's thread.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "core/ports.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QShortcut;

namespace dlt::gui {

class MainWindow;

// The names of a progress window's parts and its texts.
struct WorkProgressNames {
    QString window;
    QString title;
    QString note;
    QString bar;
    QString cancelButton;
};

// The small window that shows a command at work, beside the main window (not
// modal: the main window can still be closed). 取消, Esc in either window,
// closing it or closing the main window raise the command's cancel flag; 取消
// then greys out. The bar moves without end until setProgress is called.
class WorkProgress : public QDialog {
    Q_OBJECT
public:
    WorkProgress(MainWindow& window, CancelFlag& cancel, const WorkProgressNames& names);
    ~WorkProgress() override;
    QPushButton* cancelButton() const { return cancelButton_; }
    // The line above the bar: what is going on now.
    void setNote(const QString& note);
    // Thousandths of the work done.
    void setProgress(int permille);

signals:
    void cancelRequested();

private:
    QLabel* note_;
    QProgressBar* bar_;
    QPushButton* cancelButton_;
    QShortcut* escape_; // in the main window
};

// Runs work on a worker thread while the window's thread waits handling
// events, so that the windows repaint and move and a 取消 or a closed window
// can raise the work's cancel flag. Returns when the work has ended.
void runOffWindowThread(const std::function<void()>& work);

} // namespace dlt::gui
