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

// One plain GET over HTTP/1.0 with "Accept: */*", a browser-like user agent
// and caches bypassed. Redirects are followed to http and https addresses
// only; the system's proxy variables apply. The body, or empty on any
// failure: no connection, a status other than 2xx, a read error, a limit
// exceeded, the cancel flag raised. The flag (none: nothing gives the
// download up) is watched at least every kCancelPollInterval, whether data
// flows or the server is silent. Safe to call from any thread.
std::string httpGet(const std::string& url, const HttpLimits& limits = {},
                    const CancelFlag* cancel = nullptr);

inline constexpr std::chrono::milliseconds kCancelPollInterval{50};

class CurlHttpGetter : public HttpGetter {
public:
    explicit CurlHttpGetter(HttpLimits limits = {}) : limits_(limits) {}
    std::string get(const std::string& url, const CancelFlag& cancel) override {
        return httpGet(url, limits_, &cancel);
    }

private:
    HttpLimits limits_;
};

} // namespace dlt
