// The window loaded first and never shown. It carries the hidden HTML
// browser that the start-up online steps point at the product page.
#pragma once

#include <QWidget>

namespace dlt::gui {

class HiddenBrowser;

class StartupWindow : public QWidget {
    Q_OBJECT
public:
    explicit StartupWindow(QWidget* parent = nullptr);

    // The hidden browser: pointing it at the product page visits it.
    HiddenBrowser* browser() const { return browser_; }

private:
    HiddenBrowser* browser_ = nullptr;
};

} // namespace dlt::gui
