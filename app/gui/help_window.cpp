#include "app/gui/help_window.h"

#include <QFile>
#include <QResizeEvent>
#include <QUrl>
#include <QWebEngineView>
#include <system_error>

#include "app/gui/form_build.h"
#include "app/gui/form_widgets.h"
#include "app/gui/gbk.h"
#include "app/gui/look.h"
#include "app/gui/platform.h"
#include "app/gui/resources.h"
#include "core/texts.h"
#include "help/help_file.h"

namespace dlt::gui {

std::string builtInHelpArchive() {
    initResources();
    QFile archive(QStringLiteral(":/guide.mht"));
    if (!archive.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = archive.readAll();
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setFont(defaultGuiFont());
    browser_ = new BrowserBox(this);
    browser_->setObjectName(QStringLiteral("超文本浏览框1"));
    browser_->setGeometry(0, 0, 728, 440);
    cover_ = addTransparentLabel(this, {"透明标签1",
                                        {0, 0, 488, 256},
                                        QString(),
                                        defaultGuiFont(),
                                        Qt::black,
                                        Background::transparent()});
    cover_->setAttribute(Qt::WA_TransparentForMouseEvents, true);
    cover_->raise();
    resize(kWidth, kHeight);
    followSize();
}

HelpWindow::~HelpWindow() {
    removeGuideFile();
}

bool HelpWindow::openGuide(const ProcessState& state, MessageBoxPort& messages,
                           const std::filesystem::path& temporaryFolder) {
    // The caption names the product, whatever the page's own title says.
    setWindowTitle(fromGbk(state.productName + std::string(text::helpCaptionSuffix)));
    guideFile_ = help::writeHelpFile(temporaryFolder, builtInHelpArchive());
    if (guideFile_.empty()) {
        messages.showMessage(std::string(text::helpOpenFailed), std::string(text::errorCaption),
                             MessageIcon::Stop, MessageButtons::Ok);
        close();
        return false;
    }
    QWebEngineView* view = browser_->view();
    // The browser reads the file after load() returns: it goes once the
    // page is in.
    connect(view, &QWebEngineView::loadFinished, this, [this](bool ok) {
        removeGuideFile();
        emit guideLoaded(ok);
    });
    view->load(QUrl::fromLocalFile(fromPath(guideFile_)));
    return true;
}

void HelpWindow::removeGuideFile() {
    if (guideFile_.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove(guideFile_, ignored);
    guideFile_.clear();
}

void HelpWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    followSize();
}

void HelpWindow::closeEvent(QCloseEvent* event) {
    removeGuideFile();
    QWidget::closeEvent(event);
}

void HelpWindow::followSize() {
    browser_->resize(width() - 4, height() - 36);
    cover_->resize(browser_->width() - 18, browser_->height());
}

} // namespace dlt::gui
