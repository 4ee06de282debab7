// The maker's site on loopback, on its own: serves the bundled site content
// (the past-draw file, the version file, the product page, the root page and
// the results page) on 127.0.0.1 only, until stopped.
//
//   maker_site [--port N] [--root FOLDER]
//
// Without --root the content is the one the program serves: found from this
// tool's folder as from the program's (the build folder mirrors the
// installed layout).
#include <httplib.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "online/bundled_site.h"
#include "online/site_server.h"

namespace fs = std::filesystem;

namespace {

fs::path defaultRoot() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : dlt::bundledSiteFolder(self.parent_path());
}

} // namespace

int main(int argc, char** argv) {
    int port = DLT_SITE_PORT;
    fs::path root;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--port") {
            port = std::atoi(argv[i + 1]);
        } else if (option == "--root") {
            root = argv[i + 1];
        } else {
            std::cerr << "usage: maker_site [--port N] [--root FOLDER]\n";
            return 2;
        }
    }
    if (root.empty())
        root = defaultRoot();
    if (!fs::is_directory(root)) {
        std::cerr << "maker_site: no site content in " << root << "\n";
        return 1;
    }

    httplib::Server server;
    dlt::site::serveFolder(server, root);
    if (!server.bind_to_port("127.0.0.1", port)) {
        std::cerr << "maker_site: cannot listen on 127.0.0.1:" << port << "\n";
        return 1;
    }
    std::cout << "maker_site: serving " << root.string() << " at http://127.0.0.1:" << port << "/"
              << std::endl;
    return server.listen_after_bind() ? 0 : 1;
}
