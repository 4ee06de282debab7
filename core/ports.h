// Small interfaces through which the logic reaches the desktop. The window
// layer implements them; tests replace them with recording stand-ins.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace dlt {

enum class MessageIcon { None, Stop, Question, Exclamation, Information };
// A question's default button and Esc keep everything as it is: Cancel for
// OkCancel, No for YesNo, "合并" (the default; Esc "取消") for
// MergeReplaceCancel, before an import. YesNoDefaultYes is for a question
// whose Yes changes nothing of the user's (the update check).
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoDefaultYes, MergeReplaceCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No, Merge, Replace };

// A modal message box. Its texts are UTF-8, as every text inside the program.
class MessageBoxPort {
public:
    virtual ~MessageBoxPort() = default;
    virtual MessageAnswer showMessage(const std::string& text, const std::string& caption,
                                      MessageIcon icon, MessageButtons buttons) = 0;
};

// Raised when the user gives up what is running (a 取消 button, Esc, closing
// the main window); the downloads and the long steps watch it and stop.
// Raised on the user-interface thread, read on any thread.
class CancelFlag {
public:
    void cancel() noexcept { raised_.store(true, std::memory_order_relaxed); }
    bool cancelled() const noexcept { return raised_.load(std::memory_order_relaxed); }

private:
    std::atomic<bool> raised_{false};
};

// One GET request: the address and the request's own header lines
// ("Referer: https://..."), beside those every download sends.
struct HttpRequest {
    std::string url;
    std::vector<std::string> headers;
};

// Why a download gave no body.
enum class HttpFailure {
    None,         // a 2xx answer: the body is the server's
    NoConnection, // the host could not be found or reached
    TimedOut,     // no whole answer within the time allowed
    Status,       // the server answered with a status other than 2xx
    TooLarge,     // the body exceeded the limit
    Cancelled,    // the cancel flag was raised
    Broken,       // the transfer failed otherwise (a read error, a bad certificate)
};

struct HttpResponse {
    HttpFailure failure = HttpFailure::None;
    int status = 0;   // the HTTP status when the server answered, else 0
    std::string body; // empty on any failure
    bool ok() const { return failure == HttpFailure::None; }
};

// HTTP GET of an address. A download whose flag is raised ends within a
// fraction of a second with the failure Cancelled.
class HttpGetter {
public:
    virtual ~HttpGetter() = default;
    virtual HttpResponse fetch(const HttpRequest& request, const CancelFlag& cancel) = 0;

    // The body, or empty on any failure.
    std::string get(const std::string& url, const CancelFlag& cancel) {
        return fetch(HttpRequest{url, {}}, cancel).body;
    }
};

// Hands an address (a web page, a messenger address) to the desktop's
// default handler. Nothing is reported when there is no handler or it fails.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual void openUrl(const std::string& address) = 0;
};

// Processes the window events that are waiting, then returns.
using YieldHook = std::function<void()>;

// Calls the hook when there is one: the logic yields at fixed points, and a
// caller without a window passes none.
inline void yieldIfSet(const YieldHook& yield) {
    if (yield)
        yield();
}

} // namespace dlt
