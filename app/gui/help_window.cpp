#include "app/gui/help_window.h"

#include <QResizeEvent>

#include "app/gui/form_build.h"
#include "app/gui/form_widgets.h"
#include "app/gui/look.h"

namespace dlt::gui {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setFont(defaultGuiFont());
    browser_ = new BrowserBox(this);
    browser_->setObjectName(QStringLiteral("超文本浏览框1"));
    browser_->setGeometry(0, 0, 728, 440);
    cover_ = addTransparentLabel(this, {"透明标签1", {0, 0, 488, 256}, QString(), defaultGuiFont(), Qt::black,
                                        Background::transparent()});
    cover_->setAttribute(Qt::WA_TransparentForMouseEvents, true);
    cover_->raise();
    resize(kWidth, kHeight);
    followSize();
}

void HelpWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    followSize();
}

void HelpWindow::followSize() {
    browser_->resize(width() - 4, height() - 36);
    cover_->resize(browser_->width() - 18, browser_->height());
}

} // namespace dlt::gui
