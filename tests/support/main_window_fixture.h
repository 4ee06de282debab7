// A main window over a temporary history folder, with a recording message box.
#pragma once

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <string>

#include "app/ports/text.h"
#include "app/windows/main_window.h"
#include "app/ports/platform.h"
#include "core/process_state.h"
#include "tests/support/window_support.h"
#include "tests/support/real_draws.h"

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        dlt::setProductIdentity(state_);
        state_.installationKey = "0123456789ABCDEF0123456789ABCDEF";
        ASSERT_TRUE(dir_.isValid());
        window_ = std::make_unique<dlt::gui::MainWindow>(state_, dlt::gui::toPath(dir_.path()),
                                                         messages_);
    }

    // The draws of the real history oldest first, cut to its oldest count draws.
    void storeRealDraws(std::size_t count) {
        static const dlt::HistoryColumns all = dlt::fixture::realColumns();
        ASSERT_GE(all.issues.size(), dlt::kIssueDigits * count) << dlt::fixture::realDrawsProblem();
        ASSERT_TRUE(store().replaceHistory(all.issues.substr(0, dlt::kIssueDigits * count),
                                           all.fronts.substr(0, dlt::kFrontDigits * count),
                                           all.backs.substr(0, dlt::kBackDigits * count)));
    }

    dlt::HistoryStore store() const { return window_->historyStore(); }

    template <class T = QWidget> T* control(const char* name) const {
        return testsupport::only<T>(window_.get(), QString::fromUtf8(name));
    }
    QString textOf(const char* name) const { return control<QLabel>(name)->text(); }

    void showActive() {
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    }

    // What the message box showed, as display strings.
    QString shownText(std::size_t i) const {
        return dlt::gui::fromUtf8(messages_.shown.at(i).text);
    }
    QString shownCaption(std::size_t i) const {
        return dlt::gui::fromUtf8(messages_.shown.at(i).caption);
    }

    dlt::ProcessState state_;
    QTemporaryDir dir_;
    testsupport::RecordingMessages messages_;
    std::unique_ptr<dlt::gui::MainWindow> window_;
};
