#include "online/site_server.h"

#include <httplib.h>

#include <fstream>
#include <iterator>

namespace dlt::site {

namespace {

const char* contentType(const std::filesystem::path& file) {
    const std::string extension = file.extension().string();
    if (extension == ".txt")
        return "text/plain; charset=gbk";
    if (extension == ".dll")
        return "application/octet-stream";
    if (extension == ".css")
        return "text/css";
    if (extension == ".jpg")
        return "image/jpeg";
    if (extension == ".png")
        return "image/png";
    return "text/html; charset=gbk"; // .html and the pages without extension
}

// The file a request path names under root, or empty when it names none.
std::filesystem::path fileFor(const std::filesystem::path& root, const std::string& path) {
    if (path.empty() || path.front() != '/' || path.find('\\') != std::string::npos)
        return {};
    std::filesystem::path relative = std::filesystem::path(path.substr(1)).lexically_normal();
    if (!relative.empty() && *relative.begin() == "..")
        return {};
    std::filesystem::path file = root / relative;
    std::error_code error;
    if (std::filesystem::is_directory(file, error))
        file /= "index.html";
    return std::filesystem::is_regular_file(file, error) ? file : std::filesystem::path();
}

} // namespace

void serveFolder(httplib::Server& server, const std::filesystem::path& root) {
    server.Get(".*", [root](const httplib::Request& request, httplib::Response& response) {
        const std::filesystem::path file = fileFor(root, request.path);
        std::ifstream in(file, std::ios::binary);
        if (file.empty() || !in) {
            response.status = 404;
            response.set_content("Not Found", "text/plain");
            return;
        }
        response.set_content(std::string(std::istreambuf_iterator<char>(in), {}),
                             contentType(file));
    });
}

} // namespace dlt::site
