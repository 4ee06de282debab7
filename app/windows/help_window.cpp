#include "app/windows/help_window.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QBuffer>
#include <QCache>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTextObjectInterface>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QWheelEvent>
#include <map>
#include <memory>
#include <system_error>

#include "app/form/form_build.h"
#include "app/form/form_widgets.h"
#include "app/form/look.h"
#include "app/ports/text.h"
#include "app/ports/platform.h"
#include "app/startup/resources.h"
#include "core/texts.h"
#include "help/help_archive.h"
#include "help/help_file.h"
#include "storage/file_io.h"

namespace dlt::gui {

namespace {

// A picture's place in the page keeps the archive's name of the picture and
// its own size here, whatever name and size the fitted copy it shows has.
constexpr int kPictureSource = QTextFormat::UserProperty + 1;
constexpr int kPictureSize = QTextFormat::UserProperty + 2;

// Larger than the built-in archive will ever grow.
constexpr std::uintmax_t kLargestArchive = 64u << 20;

} // namespace

// The guide's pictures, drawn in the page in place of Qt's own image
// handler. They are kept as the archive carries them, PNG, and decoded only
// to be drawn, the last few kept decoded: the page lays out by the sizes
// its img elements give, so an opened guide does not hold thirty decoded
// screenshots. A name with a fragment, "...image029.png#700", is the
// picture fitted to 700 pixels' width, smoothly scaled once.
class GuidePictures : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    // About the screenful of pictures on show, decoded.
    static constexpr qsizetype kDecodedBytes = 4 << 20;

    explicit GuidePictures(std::map<QString, QByteArray> pictures, QObject* parent)
        : QObject(parent), pictures_(std::move(pictures)), decoded_(kDecodedBytes) {}

    // A picture's own size, read from its header; invalid for no picture.
    QSize pictureSize(const QString& location) const {
        const auto found = pictures_.find(location);
        if (found == pictures_.end())
            return {};
        QBuffer bytes;
        bytes.setData(found->second);
        return QImageReader(&bytes, "PNG").size();
    }

    QSizeF intrinsicSize(QTextDocument*, int, const QTextFormat& format) override {
        const QTextImageFormat image = format.toImageFormat();
        return {image.width(), image.height()};
    }

    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int,
                    const QTextFormat& format) override {
        const QString name =
            document->baseUrl().resolved(QUrl(format.toImageFormat().name())).toString();
        if (const QImage* image = picture(name))
            painter->drawImage(rect, *image);
    }

    // The picture of a name, decoded (and fitted); null for no picture.
    const QImage* picture(const QString& name) {
        if (const QImage* kept = decoded_.object(name))
            return kept;
        const QUrl url(name);
        const auto found = pictures_.find(url.adjusted(QUrl::RemoveFragment).toString());
        if (found == pictures_.end())
            return nullptr;
        auto image = std::make_unique<QImage>(QImage::fromData(found->second, "PNG"));
        bool fitted = false;
        const int width = url.fragment().toInt(&fitted);
        if (fitted && width > 0 && width < image->width())
            *image = image->scaled(width, image->height() * width / image->width(),
                                   Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (image->isNull())
            return nullptr;
        const qsizetype cost = image->sizeInBytes();
        const QImage* shown = image.get();
        return decoded_.insert(name, image.release(), cost) ? shown : nullptr;
    }

private:
    std::map<QString, QByteArray> pictures_; // PNG bytes by absolute location
    QCache<QString, QImage> decoded_;
};

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
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("超文本浏览框1"));
    browser_->setGeometry(0, 0, 728, 440);
    // A page, not a text box: no frame, no links followed, no menu (not
    // even over the scroll bar), lines wrapped at the window's width.
    browser_->setFrameShape(QFrame::NoFrame);
    browser_->setOpenLinks(false);
    browser_->setOpenExternalLinks(false);
    browser_->setContextMenuPolicy(Qt::NoContextMenu);
    browser_->verticalScrollBar()->setContextMenuPolicy(Qt::NoContextMenu);
    browser_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    browser_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    browser_->setTextInteractionFlags(Qt::NoTextInteraction);
    QPalette page = browser_->palette();
    page.setColor(QPalette::Base, Qt::white);
    page.setColor(QPalette::Text, Qt::black);
    browser_->setPalette(page);
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

HelpWindow::~HelpWindow() = default;

const QImage* HelpWindow::shownPicture(const QString& name) const {
    if (!pictures_)
        return nullptr;
    return pictures_->picture(browser_->document()->baseUrl().resolved(QUrl(name)).toString());
}

bool HelpWindow::openGuide(const ProcessState& state, MessageBoxPort& messages,
                           const std::filesystem::path& temporaryFolder) {
    // The caption names the product, whatever the page's own title says.
    setWindowTitle(fromUtf8(fill(text::helpCaption, {state.productName})));
    const std::filesystem::path file = help::writeHelpFile(temporaryFolder, builtInHelpArchive());
    bool shown = false;
    if (!file.empty()) {
        emit guideFileWritten(fromPath(file));
        const FileRead archive = readFile(file, kLargestArchive);
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
        shown = archive.status == FileRead::Status::Read && showArchive(archive.bytes);
    }
    // The archive passed through several buffers of its size on the way.
    returnFreedMemory();
    if (!shown) {
        messages.showMessage(std::string(text::helpOpenFailed), std::string(text::errorCaption),
                             MessageIcon::Stop, MessageButtons::Ok);
        close();
        return false;
    }
    return true;
}

bool HelpWindow::showArchive(const std::string& archive) {
    const help::ArchiveContent content = help::readArchive(archive);
    if (content.pageHtml.empty())
        return false;
    QTextDocument* document = browser_->document();
    // The page's img elements name their pictures relative to the page's
    // own location; the document resolves them against it.
    document->setBaseUrl(QUrl(QString::fromStdString(content.pageLocation)));
    std::map<QString, QByteArray> pictures;
    for (const help::ArchivePicture& picture : content.pictures)
        pictures[QUrl(QString::fromStdString(picture.location)).toString()] =
            QByteArray(picture.bytes.data(), qsizetype(picture.bytes.size()));
    delete pictures_;
    pictures_ = new GuidePictures(std::move(pictures), this);
    browser_->setHtml(
        QString::fromUtf8(content.pageHtml.data(), qsizetype(content.pageHtml.size())));
    // Remember each picture's own name before any is fitted.
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QString source = document->baseUrl().resolved(QUrl(format.name())).toString();
            format.setProperty(kPictureSource, source);
            format.setProperty(kPictureSize, pictures_->pictureSize(source));
            QTextCursor cursor(document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
    // The page's pictures are drawn from the archive's, by their names.
    document->documentLayout()->registerHandler(QTextFormat::ImageObject, pictures_);
    fittedWidth_ = -1;
    fitPictures();
    return true;
}

void HelpWindow::fitPictures() {
    QTextDocument* document = browser_->document();
    // The view's width less its scroll bar (always shown) and the margins;
    // the viewport itself is laid out only once the window shows.
    const int page = browser_->width() - 2 * browser_->frameWidth() - scrollBarWidth() -
                     2 * int(document->documentMargin());
    if (!pictures_ || page <= 0 || page == fittedWidth_)
        return;
    fittedWidth_ = page;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QSize size = format.property(kPictureSize).toSize();
            if (!size.isValid())
                continue;
            QString shownName = format.property(kPictureSource).toString();
            QSize shown = size;
            if (size.width() > page) {
                shown = QSize(page, size.height() * page / size.width());
                shownName += QStringLiteral("#%1").arg(page);
            }
            if (format.name() == shownName && format.width() == shown.width())
                continue;
            format.setName(shownName);
            format.setWidth(shown.width());
            format.setHeight(shown.height());
            QTextCursor cursor(document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
}

void HelpWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    followSize();
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != cover_)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Wheel: {
        // The page scrolls under the cover as if the cover were not there.
        QWidget* page = browser_->viewport();
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

int HelpWindow::scrollBarWidth() const {
    return browser_->verticalScrollBar()->sizeHint().width();
}

void HelpWindow::followSize() {
    browser_->setGeometry(rect());
    cover_->resize(browser_->width() - scrollBarWidth(), browser_->height());
    fitPictures();
}

} // namespace dlt::gui

#include "help_window.moc"
