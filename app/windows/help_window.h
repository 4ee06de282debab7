// The window of the user's guide: an HTML browser that fills the window's
// client area, with a transparent label over its page area that takes the
// mouse: no browser menu, no reload, no following of links; the wheel still
// scrolls the page, and the scroll bar, which the label leaves free, works
// as usual. Esc closes the window.
#pragma once

#include <QWidget>
#include <filesystem>
#include <string>

#include "core/ports.h"
#include "core/process_state.h"

namespace dlt::gui {

class BrowserBox;
class TransparentLabel;

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // The outer size, frame included; the client area is clientSizeOf() it.
    static constexpr int kWidth = 732;
    static constexpr int kHeight = 467;

    explicit HelpWindow(QWidget* parent = nullptr);
    ~HelpWindow() override;

    BrowserBox* browser() const { return browser_; }

    // The window's creation: the caption, then the built-in guide written to
    // a new temporary file in temporaryFolder and the browser pointed at it.
    // The file is removed once the page has loaded or the window closes,
    // whichever comes first. When the file cannot be written, shows
    // "帮助文档打开失败：请重试！", closes the window and returns false.
    bool openGuide(const ProcessState& state, MessageBoxPort& messages,
                   const std::filesystem::path& temporaryFolder);

    // The temporary file while it exists; empty otherwise.
    const std::filesystem::path& guideFile() const { return guideFile_; }

signals:
    // The guide has been loaded (ok: the page was shown).
    void guideLoaded(bool ok);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The browser fills the client area (the designed rule, the window less
    // 4 pixels of width and 36 of height, is the outer size less the frame);
    // the label covers the browser's page but not its vertical scroll bar.
    void followSize();
    void removeGuideFile();

    BrowserBox* browser_ = nullptr;
    TransparentLabel* cover_ = nullptr;
    std::filesystem::path guideFile_;
};

// The built-in help archive, byte for byte.
std::string builtInHelpArchive();

} // namespace dlt::gui
