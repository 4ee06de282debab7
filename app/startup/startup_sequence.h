// What happens from process start until the main window is usable: the
// look, the product identity, the installation secret and key, the intro
// window (modal, until "下一步"), then the main window.
#pragma once

#include <QObject>
#include <QString>
#include <filesystem>
#include <memory>

#include "core/ports.h"
#include "storage/installation.h"
#include "online/http_get.h"
#include "online/sites.h"
#include "online/update_check.h"
#include "app/commands/fetch_run.h"
#include "app/ports/url_opener.h"

namespace dlt::gui {

// What the user is told when the installation key could not be
// established: 软件初始化失败：请重试！, and for a kept secret that cannot be
// read, why and where.
std::string keyFailureText(const KeyResult& result);

class IntroWindow;
class MainWindow;
class StartupWindow;

class StartupSequence : public QObject {
    Q_OBJECT
public:
    // messages: where failures are shown; secretFolder: where the
    // installation secret is kept (the per-user application data folder in
    // the program); historyDirectory: where the history files live (in the
    // program, chooseHistoryFolder's choice: beside the program or next to
    // the secret).
    StartupSequence(MessageBoxPort& messages, QString secretFolder,
                    std::filesystem::path historyDirectory, QObject* parent = nullptr);
    ~StartupSequence() override;

    // The per-user folder that keeps the secret in the program.
    static QString defaultSecretFolder();

    // The sites and the address opener of the online steps and the fetch;
    // the built-in sites and the desktop's handler unless set before run().
    void setSites(SiteAddresses sites) { sites_ = std::move(sites); }
    void setUrlOpener(UrlOpener& opener) { opener_ = &opener; }

    // Runs the sequence on the calling (user-interface) thread. Returns false
    // when the installation key could not be established (the failure
    // message has been shown) or end() was called: the program ends. On
    // success the main window is visible and the start-up online steps have
    // run.
    bool run();

    // Ends the program at whatever step it is, as closing the main window
    // does: what runs is given up (a download; a question, which answers its
    // keeping button), nothing half-done is written, and the sequence stops
    // at its next step, or the message loop ends.
    void end();
    bool ending() const { return ending_; }

    StartupWindow* startupWindow() const { return startupWindow_.get(); }
    MainWindow* mainWindow() const { return mainWindow_.get(); }

signals:
    // The modal intro window has been shown; "下一步" continues the sequence.
    void introShown(dlt::gui::IntroWindow* intro);
    // The main window has been made visible.
    void mainWindowShown(dlt::gui::MainWindow* window);

private:
    // Points the hidden browser at the product page, downloads the version
    // file and checks it silently; none of it once the main window is closed.
    void runOnlineSteps();

    MessageBoxPort& messages_;
    QString secretFolder_;
    std::filesystem::path historyDirectory_;
    std::unique_ptr<StartupWindow> startupWindow_;
    std::unique_ptr<MainWindow> mainWindow_;
    SiteAddresses sites_ = builtInSites();
    UrlOpener* opener_ = &desktopUrlOpener();
    CurlHttpGetter curl_;
    BackgroundHttpGetter http_{curl_};
    std::unique_ptr<UpdateCheck> updateCheck_;
    // Raised when the main window is closed: the program is ending.
    CancelFlag mainWindowClosed_;
    bool ending_ = false;
};

} // namespace dlt::gui
