// The one download of the program against a real server on loopback.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "tests/support/local_server.h"
#include "online/http_get.h"

using namespace dlt;
using namespace std::chrono_literals;

namespace {

TEST(HttpGetTest, SendsAPlainHttp10RequestThatBypassesCaches) {
    LocalServer local;
    httplib::Request seen;
    local.server().Get("/soft/qvemtrod/bbxx.txt",
                       [&](const httplib::Request& request, httplib::Response& response) {
                           seen = request;
                           response.set_content("body", "text/plain");
                       });
    local.start();

    EXPECT_EQ(httpGet(local.url("/soft/qvemtrod/bbxx.txt")), "body");
    EXPECT_EQ(seen.method, "GET");
    EXPECT_EQ(seen.version, "HTTP/1.0");
    EXPECT_EQ(seen.get_header_value("Accept"), "*/*");
    EXPECT_EQ(seen.get_header_value("Cache-Control"), "no-cache");
    EXPECT_EQ(seen.get_header_value("Pragma"), "no-cache");
    EXPECT_EQ(seen.get_header_value("User-Agent").rfind("Mozilla/5.0 (", 0), 0u);
    EXPECT_FALSE(seen.has_header("Cookie"));
    EXPECT_TRUE(seen.body.empty());
}

TEST(HttpGetTest, FailuresGiveAnEmptyBody) {
    LocalServer local;
    local.server().Get("/missing", [](const httplib::Request&, httplib::Response& response) {
        response.status = 404;
        response.set_content("not here", "text/plain");
    });
    local.server().Get("/error", [](const httplib::Request&, httplib::Response& response) {
        response.status = 500;
        response.set_content("broken", "text/plain");
    });
    local.server().Get("/moved", [](const httplib::Request&, httplib::Response& response) {
        response.status = 204;
    });
    local.start();
    const std::string unused = [&] {
        LocalServer closed;
        closed.start();
        const std::string address = closed.address();
        closed.stop();
        return address;
    }();

    EXPECT_EQ(httpGet(local.url("/missing")), "");
    EXPECT_EQ(httpGet(local.url("/error")), "");
    EXPECT_EQ(httpGet(local.url("/moved")), "");
    EXPECT_EQ(httpGet(unused + "/kj.dll"), ""); // nothing listens there any more
    EXPECT_EQ(httpGet("file:///etc/hostname"), "");
    EXPECT_EQ(httpGet(""), "");
}

TEST(HttpGetTest, AFetchSendsItsHeadersAndSaysWhyItGotNoBody) {
    LocalServer local;
    httplib::Request seen;
    local.server().Get("/page", [&](const httplib::Request& request, httplib::Response& response) {
        seen = request;
        response.set_content("{}", "application/json");
    });
    local.server().Get("/busy", [](const httplib::Request&, httplib::Response& response) {
        response.status = 429;
        response.set_content("slow down", "text/plain");
    });
    local.server().Get("/big", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(std::string(2u << 20, 'x'), "text/plain");
    });
    local.server().Get("/late", [](const httplib::Request&, httplib::Response& response) {
        std::this_thread::sleep_for(800ms);
        response.set_content("late", "text/plain");
    });
    local.start();
    const std::string unused = [&] {
        LocalServer closed;
        closed.start();
        const std::string address = closed.address();
        closed.stop();
        return address;
    }();

    const HttpResponse page =
        httpFetch({local.url("/page"), {"Referer: https://static.sporttery.cn/"}});
    EXPECT_TRUE(page.ok());
    EXPECT_EQ(page.status, 200);
    EXPECT_EQ(page.body, "{}");
    EXPECT_EQ(seen.get_header_value("Referer"), "https://static.sporttery.cn/");
    EXPECT_EQ(seen.get_header_value("Accept"), "*/*");

    HttpLimits limits;
    limits.maxBodyBytes = 1u << 20;
    limits.transferTimeout = 300ms;
    struct Case {
        std::string url;
        HttpFailure failure;
        int status;
    };
    const Case cases[] = {
        {local.url("/busy"), HttpFailure::Status, 429},
        {local.url("/big"), HttpFailure::TooLarge, 200},
        {local.url("/late"), HttpFailure::TimedOut, 0},
        {unused + "/page", HttpFailure::NoConnection, 0},
    };
    for (const Case& c : cases) {
        const HttpResponse response = httpFetch({c.url, {}}, limits);
        EXPECT_EQ(response.failure, c.failure) << c.url;
        EXPECT_EQ(response.status, c.status) << c.url;
        EXPECT_EQ(response.body, "") << c.url;
    }
    CancelFlag cancel;
    cancel.cancel();
    EXPECT_EQ(httpFetch({local.url("/page"), {}}, {}, &cancel).failure, HttpFailure::Cancelled);
}

TEST(HttpGetTest, FollowsRedirectsToWebAddressesOnly) {
    LocalServer local;
    local.server().Get("/to-web", [&](const httplib::Request&, httplib::Response& response) {
        response.set_redirect(local.url("/target"));
    });
    local.server().Get("/to-file", [](const httplib::Request&, httplib::Response& response) {
        response.set_redirect("file:///etc/hostname");
    });
    local.server().Get("/target", [](const httplib::Request&, httplib::Response& response) {
        response.set_content("arrived", "text/plain");
    });
    local.start();

    EXPECT_EQ(httpGet(local.url("/to-web")), "arrived");
    EXPECT_EQ(httpGet(local.url("/to-file")), "");
}

TEST(HttpGetTest, ABodyOverTheCapIsAFailure) {
    LocalServer local;
    const std::size_t cap = std::size_t(8) << 20;
    local.server().Get("/at-cap", [&](const httplib::Request&, httplib::Response& response) {
        response.set_content(std::string(cap, 'x'), "application/octet-stream");
    });
    local.server().Get("/over-cap", [&](const httplib::Request&, httplib::Response& response) {
        response.set_content(std::string(cap + 1, 'x'), "application/octet-stream");
    });
    local.server().Get("/streamed", [&](const httplib::Request&, httplib::Response& response) {
        // No length announced: the cap stops the reading itself.
        response.set_chunked_content_provider("application/octet-stream",
                                              [](std::size_t, httplib::DataSink& sink) {
                                                  const std::string chunk(64 * 1024, 'y');
                                                  return sink.write(chunk.data(), chunk.size());
                                              });
    });
    local.start();

    EXPECT_EQ(httpGet(local.url("/at-cap")).size(), cap);
    EXPECT_EQ(httpGet(local.url("/over-cap")), "");
    HttpLimits small;
    small.maxBodyBytes = 1 << 20;
    EXPECT_EQ(httpGet(local.url("/streamed"), small), "");
}

TEST(HttpGetTest, AStalledServerTimesOutWithoutHanging) {
    LocalServer local;
    std::atomic<bool> release{false};
    local.server().Get("/stalled", [&](const httplib::Request&, httplib::Response& response) {
        for (int i = 0; i < 1000 && !release; ++i)
            std::this_thread::sleep_for(10ms);
        response.set_content("late", "text/plain");
    });
    local.start();

    HttpLimits limits;
    limits.transferTimeout = 300ms;
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(httpGet(local.url("/stalled"), limits), "");
    // It gave up long before the server would have answered (10 s).
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
    release = true;
}

TEST(HttpGetTest, ARaisedCancelFlagEndsASilentDownloadAtOnce) {
    LocalServer local;
    std::atomic<bool> release{false};
    local.server().Get("/silent", [&](const httplib::Request&, httplib::Response& response) {
        while (!release)
            std::this_thread::sleep_for(10ms);
        response.set_content("late", "text/plain");
    });
    local.start();

    CancelFlag cancel;
    std::thread user([&] {
        std::this_thread::sleep_for(200ms);
        cancel.cancel();
    });
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(httpGet(local.url("/silent"), {}, &cancel), "");
    const auto took = std::chrono::steady_clock::now() - started;
    user.join();
    EXPECT_LT(took, 200ms + 4 * kCancelPollInterval);
    // A flag raised before the download starts gives it up before it asks.
    EXPECT_EQ(httpGet(local.url("/silent"), {}, &cancel), "");
    release = true;
}

} // namespace
