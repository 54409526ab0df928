// The platform's HTTP calls against a server of the test's own on loopback,
// polled as the game's loop polls them: whole binary bodies both ways, the
// server's own status, and no answer (status 0) without waiting out the
// timeout where nothing listens or the address is not HTTP (no local file
// read through it).
#include "platform/platform.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// A loopback port bound by no listener: a connection there is refused.
int refusing_port() {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    bind(fd, reinterpret_cast<sockaddr *>(&address), size);
    getsockname(fd, reinterpret_cast<sockaddr *>(&address), &size);
    close(fd);
    return ntohs(address.sin_port);
}

TEST(Http, RequestsMadeTogetherAllEndWithTheServersAnswer) {
    std::string all_bytes, posted, posted_type;
    for (int i = 0; i < 256; ++i)
        all_bytes += static_cast<char>(i);
    httplib::Server server;
    server.Get("/bytes", [&](const httplib::Request &, httplib::Response &response) {
        response.set_content(all_bytes, "application/octet-stream");
    });
    server.Post("/replay", [&](const httplib::Request &request, httplib::Response &response) {
        posted = request.body;
        posted_type = request.get_header_value("Content-Type");
        response.status = 201;
        response.set_content("stored", "text/plain");
    });
    const std::string here =
        "http://127.0.0.1:" + std::to_string(server.bind_to_any_port("127.0.0.1"));
    std::thread serving([&] { server.listen_after_bind(); });
    const std::string replay = std::string("\0\r\n\xff", 4) + all_bytes;
    const struct {
        const char *method;
        std::string url, body;
        int status;
        std::string answer;
    } cases[] = {
        {"GET", here + "/bytes", "", 200, all_bytes},
        {"POST", here + "/replay", replay, 201, "stored"},
        {"GET", here + "/missing", "", 404, ""},
        {"GET", "http://127.0.0.1:" + std::to_string(refusing_port()) + "/", "", 0, ""},
        {"GET", "file://" TARVELLION_DATA_DIR "/demo.replay", "", 0, ""},
    };
    const int64_t start = monotonic_us();
    std::vector<int> handles;
    for (const auto &c : cases)
        handles.push_back(http_begin(c.method, c.url, c.body));
    for (std::size_t i = 0; i < handles.size(); ++i) {
        SCOPED_TRACE(cases[i].url);
        EXPECT_GT(handles[i], 0);
        HTTP_ANSWER answer{-1, {}};
        while (!http_done(handles[i], answer) && monotonic_us() - start < 2000000)
            sleep_ms(2);
        EXPECT_EQ(answer.status, cases[i].status);
        EXPECT_EQ(answer.body, cases[i].answer);
        EXPECT_FALSE(http_done(handles[i], answer)) << "the handle is spent";
    }
    // Each ended long before the timeout, the refused one too.
    EXPECT_LT(monotonic_us() - start, HTTP_TIMEOUT_MS * 1000 / 5);
    EXPECT_EQ(posted, replay);
    EXPECT_EQ(posted_type, "application/octet-stream");
    server.stop();
    serving.join();
}

} // namespace
