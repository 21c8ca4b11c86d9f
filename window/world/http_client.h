// The one way the window talks to the world's boards: a request goes out and its answer comes
// back later, never on the frame's time. The desktop sends with libcurl on a thread of its own,
// the page with the browser's fetch (window/platform). No SDL.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace sinkaway {

struct HttpRequest {
    enum class Method : uint8_t { kGet, kPost };
    Method method = Method::kGet;
    // The desktop's are whole ("http://boards.example.org/api/v1/today"); the page's may be paths
    // of the origin that served it ("/api/v1/today").
    std::string url;
    std::string body;  // a POST's, JSON
    int timeoutMs = 10000;
};

struct HttpAnswer {
    int status = 0;             // the HTTP status; 0 when no answer came
    std::string body;           // at most kMaxAnswerBytes
    std::string error;          // why no answer came, when status is 0
    int retryAfterSeconds = 0;  // the server's Retry-After, when it gave one
};

// A replay is at most 32 MiB; nothing the boards answer is bigger.
inline constexpr size_t kMaxAnswerBytes = 33u << 20;

class HttpClient {
  public:
    virtual ~HttpClient() = default;
    // Sends `request` and returns at once. `done` hears the answer once: on the desktop on the
    // client's own thread, in the page between frames. A client being destroyed drops what is
    // still under way and calls no `done` after its destructor returns.
    virtual void Send(HttpRequest request, std::function<void(HttpAnswer)> done) = 0;
};

}  // namespace sinkaway
