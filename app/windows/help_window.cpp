#include "app/windows/help_window.h"

#include <QApplication>
#include <QFile>
#include <QResizeEvent>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWheelEvent>
#include <system_error>

#include "app/form/form_build.h"
#include "app/form/form_widgets.h"
#include "app/ports/text.h"
#include "app/form/look.h"
#include "app/ports/platform.h"
#include "app/startup/resources.h"
#include "core/texts.h"
#include "help/help_file.h"

namespace dlt::gui {

namespace {

// The width of the page's vertical scroll bar, which the cover leaves free.
constexpr int kScrollBarWidth = 18;

// The guide's page: it loads the guide once and then goes nowhere else (no
// reload, no link, no address typed or dropped).
class GuidePage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl&, NavigationType, bool isMainFrame) override {
        if (!isMainFrame)
            return true;
        if (loaded_)
            return false;
        loaded_ = true;
        return true;
    }

private:
    bool loaded_ = false;
};

} // namespace

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
    cover_->installEventFilter(this);
    cover_->raise();
    closeOnEscape(this);
    resize(clientSizeOf({kWidth, kHeight}));
    followSize();
}

HelpWindow::~HelpWindow() {
    removeGuideFile();
}

bool HelpWindow::openGuide(const ProcessState& state, MessageBoxPort& messages,
                           const std::filesystem::path& temporaryFolder) {
    // The caption names the product, whatever the page's own title says.
    setWindowTitle(fromUtf8(fill(text::helpCaption, {state.productName})));
    guideFile_ = help::writeHelpFile(temporaryFolder, builtInHelpArchive());
    if (guideFile_.empty()) {
        messages.showMessage(std::string(text::helpOpenFailed), std::string(text::errorCaption),
                             MessageIcon::Stop, MessageButtons::Ok);
        close();
        return false;
    }
    QWebEngineView* view = browser_->view();
    view->setPage(new GuidePage(view));
    // Not even over the scroll bar.
    view->setContextMenuPolicy(Qt::NoContextMenu);
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

bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != cover_)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Wheel: {
        // The page scrolls under the cover as if the cover were not there.
        QWidget* page = browser_->hasView() ? browser_->view()->focusProxy() : nullptr;
        if (!page)
            return true;
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const QPointF at = page->mapFromGlobal(wheel->globalPosition());
        QWheelEvent passed(at, wheel->globalPosition(), wheel->pixelDelta(), wheel->angleDelta(),
                           wheel->buttons(), wheel->modifiers(), wheel->phase(), wheel->inverted(),
                           wheel->source());
        QApplication::sendEvent(page, &passed);
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::ContextMenu:
        // Taken here: the page never sees a click.
        event->accept();
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void HelpWindow::followSize() {
    browser_->setGeometry(rect());
    cover_->resize(browser_->width() - kScrollBarWidth, browser_->height());
}

} // namespace dlt::gui
