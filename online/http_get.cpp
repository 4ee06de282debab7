#include "online/http_get.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace dlt {

namespace {

constexpr const char* kUserAgent = "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 "
                                   "(KHTML, like Gecko) Chrome/120.0 Safari/537.36";

struct Transfer {
    std::string body;
    std::size_t limit = 0;
};

std::size_t receive(char* data, std::size_t size, std::size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const std::size_t bytes = size * count;
    if (transfer->body.size() + bytes > transfer->limit)
        return 0; // ends the transfer with a write error
    transfer->body.append(data, bytes);
    return bytes;
}

struct CurlDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};

// The transfer driven step by step rather than by curl_easy_perform, whose
// progress callback comes only about once a second while a server is
// silent: here the flag is looked at after every wait of at most
// kCancelPollInterval. The result of the transfer, or
// CURLE_ABORTED_BY_CALLBACK when it was given up.
CURLcode perform(CURL* easy, const CancelFlag* cancel) {
    std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!multi || curl_multi_add_handle(multi.get(), easy) != CURLM_OK)
        return CURLE_FAILED_INIT;
    CURLcode result = CURLE_ABORTED_BY_CALLBACK;
    for (;;) {
        if (cancel && cancel->cancelled())
            break;
        int running = 0;
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
            result = CURLE_FAILED_INIT;
            break;
        }
        if (running == 0) {
            int left = 0;
            const CURLMsg* done = curl_multi_info_read(multi.get(), &left);
            result = done && done->msg == CURLMSG_DONE ? done->data.result : CURLE_FAILED_INIT;
            break;
        }
        if (curl_multi_poll(multi.get(), nullptr, 0, int(kCancelPollInterval.count()), nullptr) !=
            CURLM_OK) {
            result = CURLE_FAILED_INIT;
            break;
        }
    }
    curl_multi_remove_handle(multi.get(), easy);
    return result;
}

// What a finished transfer and its status come to.
HttpFailure failureOf(CURLcode result, long status) {
    switch (result) {
    case CURLE_OK:
        return status >= 200 && status <= 299 ? HttpFailure::None : HttpFailure::Status;
    case CURLE_ABORTED_BY_CALLBACK:
        return HttpFailure::Cancelled;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
        return HttpFailure::NoConnection;
    case CURLE_OPERATION_TIMEDOUT:
        return HttpFailure::TimedOut;
    case CURLE_FILESIZE_EXCEEDED:
    case CURLE_WRITE_ERROR: // the receiver refuses bytes beyond the limit
        return HttpFailure::TooLarge;
    default:
        return HttpFailure::Broken;
    }
}

} // namespace

HttpResponse httpFetch(const HttpRequest& request, const HttpLimits& limits,
                       const CancelFlag* cancel) {
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

    HttpResponse response;
    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl) {
        response.failure = HttpFailure::Broken;
        return response;
    }
    std::unique_ptr<curl_slist, ListDeleter> headers;
    for (const char* header : {"Accept: */*", "Cache-Control: no-cache", "Pragma: no-cache"})
        headers.reset(curl_slist_append(headers.release(), header));
    for (const std::string& header : request.headers)
        headers.reset(curl_slist_append(headers.release(), header.c_str()));

    Transfer transfer;
    transfer.limit = limits.maxBodyBytes;
    CURL* h = curl.get();
    curl_easy_setopt(h, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(h, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(h, CURLOPT_USERAGENT, kUserAgent);
    // https: libcurl's own defaults check the peer's certificate and name
    // against the system's certificate store; they stay on.
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, long(limits.connectTimeout.count()));
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, long(limits.transferTimeout.count()));
    curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(limits.maxBodyBytes));
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L); // timeouts without signals: called off the UI thread
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, receive);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);

    const CURLcode result = perform(h, cancel);
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    response.status = int(status);
    response.failure = failureOf(result, status);
    if (response.ok())
        response.body = std::move(transfer.body);
    return response;
}

} // namespace dlt
