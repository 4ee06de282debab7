#include "app/commands/work_progress.h"

#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <thread>

#include "app/ports/text.h"
#include "app/windows/main_window.h"
#include "core/texts.h"

namespace dlt::gui {

WorkProgress::WorkProgress(MainWindow& window, CancelFlag& cancel, const WorkProgressNames& names)
    : QDialog(&window), note_(new QLabel(names.note, this)), bar_(new QProgressBar(this)),
      cancelButton_(new QPushButton(fromUtf8(text::cancelButton), this)),
      escape_(new QShortcut(QKeySequence(Qt::Key_Escape), &window)) {
    setObjectName(names.window);
    setWindowTitle(names.title);
    setModal(false);
    note_->setObjectName(names.window + QStringLiteral("说明"));
    bar_->setObjectName(names.bar);
    bar_->setRange(0, 0);
    bar_->setTextVisible(false);
    cancelButton_->setObjectName(names.cancelButton);
    auto* row = new QHBoxLayout;
    row->addWidget(bar_, 1);
    row->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note_);
    layout->addLayout(row);
    // 取消, Esc and the close button all reject the dialog.
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(this, &QDialog::rejected, this, &WorkProgress::cancelRequested);

    const auto giveUp = [this, &cancel] {
        cancel.cancel();
        cancelButton_->setEnabled(false);
    };
    connect(this, &WorkProgress::cancelRequested, this, giveUp);
    // Esc in the main window too; closing it ends the program, and the work
    // with it.
    connect(escape_, &QShortcut::activated, this, giveUp);
    connect(&window, &MainWindow::closed, this, giveUp);
}

WorkProgress::~WorkProgress() {
    delete escape_;
}

void WorkProgress::setNote(const QString& note) {
    note_->setText(note);
}

void WorkProgress::setProgress(int permille) {
    bar_->setRange(0, 1000);
    bar_->setValue(permille);
}

void runOffWindowThread(const std::function<void()>& work) {
    QEventLoop waiting;
    std::thread worker([&] {
        work();
        QMetaObject::invokeMethod(&waiting, &QEventLoop::quit, Qt::QueuedConnection);
    });
    // Returns early only when the program is ending, and the closed main
    // window has raised the work's flag by then: it ends within a fraction
    // of a second either way.
    waiting.exec();
    worker.join();
}

} // namespace dlt::gui
