#include "online/bundled_site.h"

#include <httplib.h>

#include <algorithm>
#include <charconv>
#include <string_view>
#include <thread>

#include "online/site_server.h"

namespace dlt {

namespace {

constexpr std::string_view kLoopbackPrefix = "http://127.0.0.1";

// The server's own default lets a second socket share a port (SO_REUSEPORT);
// here a port in use must stay refused, so that a site already running keeps
// it and a second start of the program uses that site.
void exclusivePort(socket_t sock) {
    int yes = 1;
#ifdef _WIN32
    setsockopt(sock, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<char*>(&yes), sizeof(yes));
#else
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
#endif
}

} // namespace

int loopbackPort(const std::string& site) {
    const std::string_view address(site);
    if (!address.starts_with(kLoopbackPrefix))
        return 0;
    const std::string_view rest = address.substr(kLoopbackPrefix.size());
    if (rest.empty())
        return 80;
    if (rest.front() != ':')
        return 0; // another host that merely starts the same: "http://127.0.0.10"
    int port = 0;
    const char* end = rest.data() + rest.size();
    const auto [stop, error] = std::from_chars(rest.data() + 1, end, port);
    if (error != std::errc() || stop != end || port < 1 || port > 65535)
        return 0;
    return port;
}

std::filesystem::path bundledSiteFolder(const std::filesystem::path& programFolder) {
    return (programFolder / DLT_SITE_FROM_PROGRAM).lexically_normal();
}

struct BundledSite::Listener {
    int port = 0;
    httplib::Server server;
    std::thread thread;
};

BundledSite::BundledSite(const SiteAddresses& sites, const std::filesystem::path& folder) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        return;
    for (const std::string* site : {&sites.maker, &sites.results}) {
        const int port = loopbackPort(*site);
        if (port == 0 ||
            std::ranges::any_of(listeners_, [port](const auto& l) { return l->port == port; }))
            continue;
        auto listener = std::make_unique<Listener>();
        listener->port = port;
        listener->server.set_socket_options(exclusivePort);
        site::serveFolder(listener->server, folder);
        // Binding is the test for a site already there: a port another
        // process listens on cannot be bound.
        if (!listener->server.bind_to_port("127.0.0.1", port))
            continue;
        Listener& started = *listener;
        started.thread = std::thread([&started] { started.server.listen_after_bind(); });
        // The socket listens already; wait until stop() can end the loop.
        while (!started.server.is_running())
            std::this_thread::yield();
        listeners_.push_back(std::move(listener));
    }
}

BundledSite::~BundledSite() {
    for (const auto& listener : listeners_) {
        listener->server.stop();
        listener->thread.join();
    }
}

std::vector<int> BundledSite::servedPorts() const {
    std::vector<int> ports;
    for (const auto& listener : listeners_)
        ports.push_back(listener->port);
    return ports;
}

} // namespace dlt
