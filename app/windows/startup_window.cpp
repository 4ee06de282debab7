#include "app/windows/startup_window.h"

#include "app/form/form_widgets.h"

namespace dlt::gui {

StartupWindow::StartupWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("StartupWindow"));
    resize(390, 266);
    browser_ = new HiddenBrowser(this);
    browser_->setObjectName(QStringLiteral("超文本浏览框1"));
    browser_->setGeometry(352, 88, 8, 0);
    browser_->hide();
}

} // namespace dlt::gui
