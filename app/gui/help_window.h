// The window of the user's guide: an HTML browser that fills the window,
// with a transparent label over its page area.
#pragma once

#include <QWidget>

namespace dlt::gui {

class BrowserBox;
class TransparentLabel;

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 732;
    static constexpr int kHeight = 467;

    explicit HelpWindow(QWidget* parent = nullptr);

    BrowserBox* browser() const { return browser_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // The browser is the window less 4 pixels of width and 36 of height; the
    // label covers the browser's page but not its vertical scroll bar.
    void followSize();

    BrowserBox* browser_ = nullptr;
    TransparentLabel* cover_ = nullptr;
};

} // namespace dlt::gui
