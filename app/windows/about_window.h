// The frameless "about" window: the product, the maker's logo, the terms of
// use and the maker's contacts on a dark gradient.
#pragma once

#include <QDialog>

#include "core/process_state.h"

namespace dlt::gui {

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    // No frame: the outer size is the client area.
    static constexpr int kWidth = 408;
    static constexpr int kHeight = 282;

    explicit AboutWindow(const ProcessState& state, QWidget* parent = nullptr);

signals:
    // "单击这里下载最新版本" was pressed with the left button.
    void downloadRequested();
};

} // namespace dlt::gui
