// A real HTTP server on 127.0.0.1, on a free port, for one test.
#pragma once

#include <httplib.h>

#include <optional>
#include <string>
#include <thread>

class LocalServer {
public:
    LocalServer() = default;
    ~LocalServer() { stop(); }
    LocalServer(const LocalServer&) = delete;
    LocalServer& operator=(const LocalServer&) = delete;

    httplib::Server& server() { return server_; }

    // Starts answering with the handlers set so far.
    void start() {
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        // The socket already listens; wait until stop() can end the loop.
        while (!server_.is_running())
            std::this_thread::yield();
    }
    void stop() {
        if (thread_.joinable()) {
            server_.stop();
            thread_.join();
        }
    }

    // "http://127.0.0.1:PORT"
    std::string address() const { return "http://127.0.0.1:" + std::to_string(port_); }
    std::string url(const std::string& path) const { return address() + path; }

private:
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
};

// Answers with the body, or 404 when there is none: a source that is missing.
inline void serveOrMissing(httplib::Response& response, const std::optional<std::string>& body) {
    if (body)
        response.set_content(*body, "text/plain");
    else
        response.status = 404;
}
