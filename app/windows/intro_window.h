// The window shown once per start before the main window: a picture of the
// main window in use, the maker's name and "下一步".
#pragma once

#include <QDialog>

#include "core/process_state.h"

namespace dlt::gui {

class IntroWindow : public QDialog {
    Q_OBJECT
public:
    // The outer size, frame included; the client area is clientSizeOf() it.
    static constexpr int kWidth = 692;
    static constexpr int kHeight = 669;

    explicit IntroWindow(const ProcessState& state, QWidget* parent = nullptr);

signals:
    void shown();

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace dlt::gui
