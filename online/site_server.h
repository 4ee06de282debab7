// Serving the bundled maker's site content from a folder: every GET maps its
// path (the query is ignored) to a file under the folder.
#pragma once

#include <filesystem>

namespace httplib {
class Server;
}

namespace dlt::site {

// Answers GET requests from the files under root: "/" and folders serve
// their index.html, names without an extension are HTML pages; anything
// else, or a path leaving root, is 404.
void serveFolder(httplib::Server& server, const std::filesystem::path& root);

} // namespace dlt::site
