// The one HTTP download of the program, on libcurl.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "core/ports.h"

namespace dlt {

// Bounds that keep a dead or hostile server from freezing the program for
// long or exhausting its memory.
struct HttpLimits {
    std::chrono::milliseconds connectTimeout{10'000};
    std::chrono::milliseconds transferTimeout{30'000};
    std::size_t maxBodyBytes = std::size_t(8) << 20; // a larger body is a failure
};

// One plain GET over HTTP/1.0 with "Accept: */*", a browser-like user agent,
// caches bypassed and the request's own header lines. Redirects are followed
// to http and https addresses only; https is checked against the system's
// certificates; the system's proxy variables apply. The body of a 2xx
// answer, or the failure and the status when the server answered: no
// connection, a status other than 2xx, a read error, a limit exceeded, the
// cancel flag raised. The flag (none: nothing gives the download up) is
// watched at least every kCancelPollInterval, whether data flows or the
// server is silent. Safe to call from any thread.
HttpResponse httpFetch(const HttpRequest& request, const HttpLimits& limits = {},
                       const CancelFlag* cancel = nullptr);

// The body of httpFetch, or empty on any failure.
inline std::string httpGet(const std::string& url, const HttpLimits& limits = {},
                           const CancelFlag* cancel = nullptr) {
    return httpFetch(HttpRequest{url, {}}, limits, cancel).body;
}

inline constexpr std::chrono::milliseconds kCancelPollInterval{50};

class CurlHttpGetter : public HttpGetter {
public:
    explicit CurlHttpGetter(HttpLimits limits = {}) : limits_(limits) {}
    HttpResponse fetch(const HttpRequest& request, const CancelFlag& cancel) override {
        return httpFetch(request, limits_, &cancel);
    }

private:
    HttpLimits limits_;
};

} // namespace dlt
