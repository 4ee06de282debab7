// The window of the user's guide: an HTML browser that fills the window,
// with a transparent label over its page area.
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

private:
    // The browser is the window less 4 pixels of width and 36 of height; the
    // label covers the browser's page but not its vertical scroll bar.
    void followSize();
    void removeGuideFile();

    BrowserBox* browser_ = nullptr;
    TransparentLabel* cover_ = nullptr;
    std::filesystem::path guideFile_;
};

// The built-in help archive, byte for byte.
std::string builtInHelpArchive();

} // namespace dlt::gui
