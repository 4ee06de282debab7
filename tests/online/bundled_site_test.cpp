// The bundled maker's site: served on its loopback port while the program
// runs, left alone where a site answers already, not served for real hosts.
#include "online/bundled_site.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "online/http_get.h"
#include "tests/support/local_server.h"
#include "tests/support/temp_dir.h"

namespace dlt {
namespace {

// A port on 127.0.0.1 that nothing listens on: the one the system hands out
// for a socket bound to port 0, closed again.
int freePort() {
    const int sock = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    ::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    ::getsockname(sock, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(sock);
    return ntohs(address.sin_port);
}

std::string loopback(int port) {
    return "http://127.0.0.1:" + std::to_string(port);
}

class BundledSiteServing : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(site_.path() / "soft" / "qvemtrod");
        std::ofstream(site_.path() / "soft" / "qvemtrod" / "bbxx.txt", std::ios::binary)
            << "bundled version file";
        std::filesystem::create_directories(site_.path() / "lottery" / "draw" / "list");
        std::ofstream(site_.path() / "lottery" / "draw" / "list" / "1", std::ios::binary)
            << "bundled results";
    }

    std::string get(const std::string& url) { return http_.get(url, CancelFlag{}); }

    TempDir site_;
    CurlHttpGetter http_;
};

TEST(LoopbackPort, OnlyTheLoopbackHostNamesAPort) {
    const std::pair<const char*, int> cases[] = {
        {"http://127.0.0.1:28090", 28090},
        {"http://127.0.0.1", 80},
        {"http://127.0.0.1:1", 1},
        {"http://127.0.0.1:65535", 65535},
        {"http://127.0.0.1:65536", 0},
        {"http://127.0.0.1:0", 0},
        {"http://127.0.0.1:", 0},
        {"http://127.0.0.1:80x", 0},
        {"http://127.0.0.10:80", 0},
        {"https://127.0.0.1:443", 0},
        {"http://www.hecheng-soft.example", 0},
        {"", 0},
    };
    for (const auto& [site, port] : cases)
        EXPECT_EQ(loopbackPort(site), port) << site;
}

TEST(BundledSiteFolder, IsTheSiteUnderShareBesideTheProgramsFolder) {
    EXPECT_EQ(bundledSiteFolder("/usr/bin"), std::filesystem::path("/usr/share/qvemtrod/site"));
    EXPECT_EQ(bundledSiteFolder("/opt/qvemtrod/bin"),
              std::filesystem::path("/opt/qvemtrod/share/qvemtrod/site"));
}

TEST_F(BundledSiteServing, ServesTheFolderOnTheLoopbackPortWhileItLives) {
    const int port = freePort();
    {
        const BundledSite site({loopback(port), loopback(port), {}}, site_.path());
        EXPECT_EQ(site.servedPorts(), std::vector<int>{port});
        EXPECT_EQ(get(loopback(port) + "/soft/qvemtrod/bbxx.txt"), "bundled version file");
        EXPECT_EQ(get(loopback(port) + "/lottery/draw/list/1?type=latest&num=100"),
                  "bundled results");
    }
    EXPECT_EQ(get(loopback(port) + "/soft/qvemtrod/bbxx.txt"), ""); // stopped with the program
}

TEST_F(BundledSiteServing, ServesTheMakersAndTheResultsSiteOnTheirOwnPorts) {
    const int maker = freePort();
    const int results = freePort();
    ASSERT_NE(maker, results);
    const BundledSite site({loopback(maker), loopback(results), {}}, site_.path());
    EXPECT_EQ(site.servedPorts(), (std::vector<int>{maker, results}));
    EXPECT_EQ(get(loopback(maker) + "/soft/qvemtrod/bbxx.txt"), "bundled version file");
    EXPECT_EQ(get(loopback(results) + "/lottery/draw/list/1"), "bundled results");
}

TEST_F(BundledSiteServing, LeavesAPortWhereASiteAnswersAlreadyToThatSite) {
    LocalServer running;
    running.server().Get(".*", [](const httplib::Request&, httplib::Response& response) {
        response.set_content("the site running already", "text/plain");
    });
    running.start();
    const BundledSite site({running.address(), running.address(), {}}, site_.path());
    EXPECT_TRUE(site.servedPorts().empty());
    EXPECT_EQ(get(running.url("/soft/qvemtrod/bbxx.txt")), "the site running already");
}

TEST_F(BundledSiteServing, ASecondProgramUsesTheSiteOfTheFirst) {
    const int port = freePort();
    const BundledSite first({loopback(port), loopback(port), {}}, site_.path());
    const BundledSite second({loopback(port), loopback(port), {}}, site_.path());
    EXPECT_EQ(first.servedPorts(), std::vector<int>{port});
    EXPECT_TRUE(second.servedPorts().empty());
}

TEST_F(BundledSiteServing, ServesNothingForRealHosts) {
    const BundledSite site({"http://www.hecheng-soft.example", "http://results.example", {}},
                           site_.path());
    EXPECT_TRUE(site.servedPorts().empty());
}

TEST_F(BundledSiteServing, ServesNothingWithoutItsContent) {
    const int port = freePort();
    const BundledSite site({loopback(port), loopback(port), {}}, site_.path() / "missing");
    EXPECT_TRUE(site.servedPorts().empty());
    EXPECT_EQ(get(loopback(port) + "/soft/qvemtrod/bbxx.txt"), "");
}

// The desktop's software centre shows the screenshots the metainfo names on
// the maker's site: the bundled copy of the site serves every one.
TEST(BundledSiteContent, ServesTheScreenshotsTheMetainfoNames) {
    std::ifstream in(std::string(DLT_SOURCE_DIR) + "/resources/desktop/qvemtrod.metainfo.xml.in");
    std::stringstream metainfo;
    metainfo << in.rdbuf();
    const std::string text = metainfo.str();
    const std::regex image("<image>http://@DLT_MAKER_HOST@(/[^<]+)</image>");
    const int port = freePort();
    const BundledSite site({loopback(port), loopback(port), {}}, DLT_SITE_DIR);
    CurlHttpGetter http;
    int images = 0;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), image);
         it != std::sregex_iterator(); ++it, ++images) {
        // The package fills in the program's name.
        const std::string path =
            std::regex_replace((*it)[1].str(), std::regex("@DLT_PROGRAM@"), "qvemtrod");
        const std::string body = http.get(loopback(port) + path, CancelFlag{});
        EXPECT_EQ(body.substr(0, 8), "\x89PNG\r\n\x1a\n") << path;
    }
    EXPECT_EQ(images, 4);
}

} // namespace
} // namespace dlt
