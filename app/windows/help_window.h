// The window of the user's guide: a light HTML view (a QTextBrowser) that
// fills the window's client area, with a transparent label over its page
// area that takes the mouse: no menu, no following of links; the wheel still
// scrolls the page, and the scroll bar, which the label leaves free, works
// as usual. Esc closes the window.
#pragma once

#include <QImage>
#include <QWidget>
#include <filesystem>
#include <string>

#include "core/ports.h"
#include "core/process_state.h"

class QTextBrowser;

namespace dlt::gui {

class GuidePictures;
class TransparentLabel;

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // The outer size, frame included; the client area is clientSizeOf() it.
    static constexpr int kWidth = 732;
    static constexpr int kHeight = 467;

    explicit HelpWindow(QWidget* parent = nullptr);
    ~HelpWindow() override;

    QTextBrowser* browser() const { return browser_; }

    // The picture the page shows under a picture's name in the document
    // (its src, a fitted one's with the width as fragment), decoded; null
    // when there is none.
    const QImage* shownPicture(const QString& name) const;

    // The window's creation: the caption, then the built-in guide written to
    // a new temporary file in temporaryFolder, read back into the view and
    // removed. When the file cannot be written or read back whole, shows
    // "帮助文档打开失败：请重试！", closes the window and returns false.
    bool openGuide(const ProcessState& state, MessageBoxPort& messages,
                   const std::filesystem::path& temporaryFolder);

signals:
    // The guide's temporary file has been written and is about to be read.
    void guideFileWritten(const QString& path);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The view fills the client area (the designed rule, the window less
    // 4 pixels of width and 36 of height, is the outer size less the frame);
    // the label covers the view's page but not its vertical scroll bar.
    void followSize();
    // The width of the page's vertical scroll bar, which the cover leaves free.
    int scrollBarWidth() const;
    bool showArchive(const std::string& archive);
    // Pictures no wider than the page are shown at their size, pixel for
    // pixel; a wider one is fitted to the page's width, smoothly scaled.
    void fitPictures();

    QTextBrowser* browser_ = nullptr;
    GuidePictures* pictures_ = nullptr;
    TransparentLabel* cover_ = nullptr;
    int fittedWidth_ = -1;
};

// The built-in help archive, byte for byte.
std::string builtInHelpArchive();

} // namespace dlt::gui
