// The window loaded first and never shown. It carries the hidden HTML
// browser that the start-up online steps point at the product page.
#pragma once

#include <QWidget>

namespace dlt::gui {

class BrowserBox;

class StartupWindow : public QWidget {
    Q_OBJECT
public:
    explicit StartupWindow(QWidget* parent = nullptr);

    // The hidden browser; its engine starts only when view() is first used.
    BrowserBox* browser() const { return browser_; }

private:
    BrowserBox* browser_ = nullptr;
};

} // namespace dlt::gui
