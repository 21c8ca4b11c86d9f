// The page's HTTP client (platform.h): the browser's fetch, which http_client.js starts. Each
// request waits under an id of its own until its answer comes back, in a task of the browser's
// own between frames; a client destroyed before then leaves its ids behind, and their answers go
// nowhere.
#include <emscripten.h>

#include <algorithm>
#include <functional>
#include <map>
#include <utility>

#include "platform.h"

// The page's side (http_client.js). The body is copied before this returns.
EM_JS(void, StartFetch,
      (int id, int post, const char* url, const char* body, int size, int timeoutMs, int limit), {
          sinkawayHttp.send(id, post ? 'POST' : 'GET', UTF8ToString(url),
                            HEAPU8.slice(body, body + size), timeoutMs, limit);
      });

namespace sinkaway::platform {

namespace {

struct Waiting {
    const HttpClient* client;
    std::function<void(HttpAnswer)> done;
    HttpAnswer answer;
};

std::map<int, Waiting>& Waitings() {
    static std::map<int, Waiting> waiting;
    return waiting;
}

class FetchClient final : public HttpClient {
  public:
    FetchClient() = default;
    FetchClient(const FetchClient&) = delete;
    FetchClient& operator=(const FetchClient&) = delete;

    ~FetchClient() override {
        std::erase_if(Waitings(),
                      [this](const auto& entry) { return entry.second.client == this; });
    }

    void Send(HttpRequest request, std::function<void(HttpAnswer)> done) override {
        static int lastId = 0;
        const int id = ++lastId;
        Waitings()[id] = {this, std::move(done), {}};
        StartFetch(id, request.method == HttpRequest::Method::kPost ? 1 : 0, request.url.c_str(),
                   request.body.data(), static_cast<int>(request.body.size()),
                   std::max(request.timeoutMs, 1), static_cast<int>(kMaxAnswerBytes));
    }
};

}  // namespace

std::unique_ptr<HttpClient> MakeHttpClient() {
    return std::make_unique<FetchClient>();
}

}  // namespace sinkaway::platform

// Called by the page (http_client.js) with an answer: first for room for its bytes (the body, or
// why no answer came), then to hand it over.
extern "C" {

EMSCRIPTEN_KEEPALIVE char* sinkaway_http_room(int id, int size) {
    auto& waiting = sinkaway::platform::Waitings();
    auto found = waiting.find(id);
    if (found == waiting.end())
        return nullptr;
    found->second.answer.body.resize(static_cast<size_t>(size));
    return found->second.answer.body.data();
}

EMSCRIPTEN_KEEPALIVE void sinkaway_http_answer(int id, int status, int retryAfterSeconds) {
    auto& waiting = sinkaway::platform::Waitings();
    auto found = waiting.find(id);
    if (found == waiting.end())
        return;
    sinkaway::platform::Waiting request = std::move(found->second);
    waiting.erase(found);
    sinkaway::HttpAnswer& answer = request.answer;
    answer.status = status;
    answer.retryAfterSeconds = retryAfterSeconds;
    if (status == 0)
        answer.error = std::exchange(answer.body, {});
    request.done(std::move(answer));
}

}  // extern "C"
