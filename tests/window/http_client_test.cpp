// The desktop's HTTP client against a tiny server of the test's own on 127.0.0.1: requests come
// back in the order they went, a POST arrives with its body as JSON, Retry-After is read, a
// redirect is not followed and only http and https are spoken. A port nobody listens on and a
// server that never answers give no answer, the latter at the request's timeout; a client
// destroyed while a request hangs returns at once and calls nobody afterwards.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform.h"

namespace sinkaway {
namespace {

using namespace std::chrono_literals;

int Listen(uint16_t& port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        listen(fd, 16) != 0 || getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return -1;
    port = ntohs(address.sin_port);
    return fd;
}

// One connection at a time, closed after its answer:
//   /echo   200 with Retry-After: 7 and {"method":..., "type":..., "body":...} of what came;
//   /moved  301 to /echo;
//   /hang   read, and never answered while the server lives.
class TinyServer {
  public:
    TinyServer() {
        listener_ = Listen(port_);
        thread_ = std::thread([this] { Run(); });
    }
    ~TinyServer() {
        stop_ = true;
        thread_.join();
        for (int fd : hanging_) close(fd);
        close(listener_);
    }

    std::string Url(const char* path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }

    // Waits until `count` requests hang.
    bool AwaitHanging(size_t count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 10s, [&] { return hanging_.size() >= count; });
    }

  private:
    void Run() {
        while (!stop_) {
            pollfd wait{listener_, POLLIN, 0};
            if (poll(&wait, 1, 50) <= 0)
                continue;
            const int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd >= 0)
                Serve(fd);
        }
    }

    void Serve(int fd) {
        timeval limit{5, 0};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        std::string got;
        size_t end = std::string::npos;
        size_t length = 0;
        char chunk[4096];
        while (end == std::string::npos || got.size() < end + 4 + length) {
            const ssize_t n = read(fd, chunk, sizeof chunk);
            if (n <= 0) {
                close(fd);
                return;
            }
            got.append(chunk, static_cast<size_t>(n));
            if (end == std::string::npos && (end = got.find("\r\n\r\n")) != std::string::npos)
                length = static_cast<size_t>(std::atoi(Header(got, "Content-Length").c_str()));
        }
        // "POST /echo HTTP/1.1"
        const size_t space = got.find(' ');
        const std::string method = got.substr(0, space);
        const std::string path = got.substr(space + 1, got.find(' ', space + 1) - space - 1);
        std::string answer;
        if (path == "/hang") {
            std::lock_guard lock(mutex_);
            hanging_.push_back(fd);
            changed_.notify_all();
            return;
        } else if (path == "/moved") {
            answer = Answer("301 Moved Permanently", "Location: /echo\r\n", "moved");
        } else {
            const std::string body = got.substr(end + 4);
            const std::string type = Header(got, "Content-Type");
            answer = Answer("200 OK", "Retry-After: 7\r\n",
                            R"({"method":")" + method + R"(","type":")" + type + R"(","body":)" +
                                (body.empty() ? "null" : body) + "}");
        }
        (void)!write(fd, answer.data(), answer.size());
        close(fd);
    }

    static std::string Header(const std::string& head, const std::string& name) {
        const size_t at = head.find("\r\n" + name + ": ");
        if (at == std::string::npos)
            return "";
        const size_t from = at + name.size() + 4;
        return head.substr(from, head.find("\r\n", from) - from);
    }

    static std::string Answer(const char* status, const std::string& headers,
                              const std::string& body) {
        return std::string("HTTP/1.1 ") + status + "\r\n" + headers +
               "Content-Type: application/json\r\nContent-Length: " + std::to_string(body.size()) +
               "\r\nConnection: close\r\n\r\n" + body;
    }

    int listener_ = -1;
    uint16_t port_ = 0;
    std::atomic<bool> stop_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<int> hanging_;
    std::thread thread_;
};

HttpRequest Request(HttpRequest::Method method, std::string url, std::string body = "") {
    HttpRequest request;
    request.method = method;
    request.url = std::move(url);
    request.body = std::move(body);
    return request;
}

HttpAnswer SendAndWait(HttpClient& client, HttpRequest request) {
    auto answered = std::make_shared<std::promise<HttpAnswer>>();
    std::future<HttpAnswer> answer = answered->get_future();
    client.Send(std::move(request),
                [answered](HttpAnswer a) { answered->set_value(std::move(a)); });
    if (answer.wait_for(20s) != std::future_status::ready) {
        ADD_FAILURE() << "no answer";
        return {};
    }
    return answer.get();
}

TEST(http_client, AnswersInTheOrderAsked) {
    TinyServer server;
    const auto kGet = HttpRequest::Method::kGet;
    const auto kPost = HttpRequest::Method::kPost;
    struct Case {
        HttpRequest request;
        int status;
        std::string body;
        int retryAfter;
    };
    const std::vector<Case> cases = {
        {Request(kGet, server.Url("/echo")), 200, R"({"method":"GET","type":"","body":null})", 7},
        {Request(kPost, server.Url("/echo"), R"({"score":1234})"), 200,
         R"({"method":"POST","type":"application/json","body":{"score":1234}})", 7},
        {Request(kGet, server.Url("/moved")), 301, "moved", 0},
    };

    auto client = platform::MakeHttpClient();
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<HttpAnswer> answers;
    for (const Case& c : cases) {
        client->Send(c.request, [&](HttpAnswer answer) {
            std::lock_guard lock(mutex);
            answers.push_back(std::move(answer));
            changed.notify_all();
        });
    }
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(changed.wait_for(lock, 20s, [&] { return answers.size() == cases.size(); }));
    }
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].request.url);
        EXPECT_EQ(answers[i].status, cases[i].status) << answers[i].error;
        EXPECT_EQ(answers[i].body, cases[i].body);
        EXPECT_EQ(answers[i].retryAfterSeconds, cases[i].retryAfter);
        EXPECT_EQ(answers[i].error, "");
    }
}

TEST(http_client, NoAnswerGivesAReason) {
    TinyServer server;
    uint16_t closed = 0;
    close(Listen(closed));  // a port nobody listens on any more
    const std::vector<std::string> urls = {
        "http://127.0.0.1:" + std::to_string(closed) + "/echo",
        server.Url("/hang"),
        "file:///etc/hostname",
        "ftp://127.0.0.1/echo",
    };
    auto client = platform::MakeHttpClient();
    for (const std::string& url : urls) {
        SCOPED_TRACE(url);
        HttpRequest request = Request(HttpRequest::Method::kGet, url);
        request.timeoutMs = 300;
        const HttpAnswer answer = SendAndWait(*client, request);
        EXPECT_EQ(answer.status, 0);
        EXPECT_NE(answer.error, "");
        EXPECT_EQ(answer.body, "");
    }
    // The client still works after all of them.
    EXPECT_EQ(SendAndWait(*client, Request(HttpRequest::Method::kGet, server.Url("/echo"))).status,
              200);
}

TEST(http_client, DestroyedWhileARequestHangsCallsNobody) {
    TinyServer server;
    auto called = std::make_shared<std::atomic<int>>(0);
    auto client = platform::MakeHttpClient();
    client->Send(Request(HttpRequest::Method::kGet, server.Url("/hang")),
                 [called](HttpAnswer) { ++*called; });
    client->Send(Request(HttpRequest::Method::kGet, server.Url("/echo")),
                 [called](HttpAnswer) { ++*called; });
    ASSERT_TRUE(server.AwaitHanging(1));

    const auto start = std::chrono::steady_clock::now();
    client.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(*called, 0);
}

}  // namespace
}  // namespace sinkaway
