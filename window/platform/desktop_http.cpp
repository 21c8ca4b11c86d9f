// The desktop's HTTP client (platform.h): libcurl on one thread of the client's own, which sends
// the requests one at a time in the order they came and calls each `done` there. Only http and
// https, no redirects, and no answer bigger than kMaxAnswerBytes. No SDL.
#include <curl/curl.h>
#include <strings.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <limits>
#include <mutex>
#include <string_view>
#include <thread>
#include <utility>

#include "platform.h"
#include "script.h"

namespace sinkaway::platform {

namespace {

constexpr int kConnectTimeoutMs = 3000;

// What one transfer gathers as libcurl hands it over.
struct Transfer {
    HttpAnswer answer;
    bool tooBig = false;
};

size_t TakeBody(char* data, size_t size, size_t count, void* user) {
    auto& transfer = *static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    if (bytes > kMaxAnswerBytes - transfer.answer.body.size()) {
        transfer.tooBig = true;
        return 0;  // less than given: libcurl stops the transfer
    }
    transfer.answer.body.append(data, bytes);
    return bytes;
}

// One header line at a time, "Retry-After: 7\r\n" among them. A status line starts another
// answer's headers ("100 Continue" comes before the real one): only the last one's count.
size_t TakeHeader(char* data, size_t size, size_t count, void* user) {
    auto& transfer = *static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    std::string_view line(data, bytes);
    if (line.starts_with("HTTP/")) {
        transfer.answer.retryAfterSeconds = 0;
        return bytes;
    }
    constexpr std::string_view kName = "retry-after:";
    if (line.size() < kName.size() || strncasecmp(line.data(), kName.data(), kName.size()) != 0)
        return bytes;
    line.remove_prefix(kName.size());
    const size_t from = line.find_first_not_of(" \t");
    const size_t to = line.find_last_not_of(" \t\r\n");
    uint64_t seconds = 0;
    if (from != std::string_view::npos &&
        ParseDecimal(line.substr(from, to + 1 - from), std::numeric_limits<int>::max(), seconds))
        transfer.answer.retryAfterSeconds = static_cast<int>(seconds);
    return bytes;
}

void StartCurl() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

class CurlClient final : public HttpClient {
  public:
    CurlClient() {
        StartCurl();
        multi_ = curl_multi_init();
        easy_ = curl_easy_init();
        thread_ = std::thread([this] { Run(); });
    }

    CurlClient(const CurlClient&) = delete;
    CurlClient& operator=(const CurlClient&) = delete;

    // The request under way stops at once: libcurl's wait is woken rather than left to run out.
    ~CurlClient() override {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
            queue_.clear();
        }
        ready_.notify_one();
        if (multi_ != nullptr)
            curl_multi_wakeup(multi_);
        thread_.join();
        if (easy_ != nullptr)
            curl_easy_cleanup(easy_);
        if (multi_ != nullptr)
            curl_multi_cleanup(multi_);
    }

    void Send(HttpRequest request, std::function<void(HttpAnswer)> done) override {
        {
            std::lock_guard lock(mutex_);
            queue_.push_back({std::move(request), std::move(done)});
        }
        ready_.notify_one();
    }

  private:
    struct Job {
        HttpRequest request;
        std::function<void(HttpAnswer)> done;
    };

    void Run() {
        for (;;) {
            Job job;
            {
                std::unique_lock lock(mutex_);
                ready_.wait(lock, [this] { return stop_ || !queue_.empty(); });
                if (stop_)
                    return;
                job = std::move(queue_.front());
                queue_.pop_front();
            }
            HttpAnswer answer;
            if (!Perform(job.request, answer))
                return;  // stopped halfway: nobody hears of it
            job.done(std::move(answer));
        }
    }

    // False when the client stopped it.
    bool Perform(const HttpRequest& request, HttpAnswer& answer) {
        if (multi_ == nullptr || easy_ == nullptr) {
            answer.error = "libcurl could not start";
            return true;
        }
        Transfer transfer;
        char message[CURL_ERROR_SIZE] = {};
        const long timeoutMs = std::max(request.timeoutMs, 1);
        curl_easy_reset(easy_);
        curl_easy_setopt(easy_, CURLOPT_URL, request.url.c_str());
        curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 0L);
        curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT_MS,
                         std::min<long>(kConnectTimeoutMs, timeoutMs));
        curl_easy_setopt(easy_, CURLOPT_TIMEOUT_MS, timeoutMs);
        curl_easy_setopt(easy_, CURLOPT_ERRORBUFFER, message);
        curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, TakeBody);
        curl_easy_setopt(easy_, CURLOPT_WRITEDATA, &transfer);
        curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, TakeHeader);
        curl_easy_setopt(easy_, CURLOPT_HEADERDATA, &transfer);
        curl_easy_setopt(easy_, CURLOPT_MAXFILESIZE_LARGE,
                         static_cast<curl_off_t>(kMaxAnswerBytes));
        curl_slist* headers = nullptr;
        if (request.method == HttpRequest::Method::kPost) {
            curl_easy_setopt(easy_, CURLOPT_POST, 1L);
            curl_easy_setopt(easy_, CURLOPT_POSTFIELDS, request.body.data());
            curl_easy_setopt(easy_, CURLOPT_POSTFIELDSIZE_LARGE,
                             static_cast<curl_off_t>(request.body.size()));
            headers = curl_slist_append(headers, "Content-Type: application/json");
            // A replay goes at once rather than after a wait for "100 Continue".
            headers = curl_slist_append(headers, "Expect:");
            curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headers);
        }

        const CURLcode result = Drive();
        curl_slist_free_all(headers);
        if (result == CURLE_ABORTED_BY_CALLBACK)
            return false;
        if (result == CURLE_OK) {
            long status = 0;
            curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status);
            transfer.answer.status = static_cast<int>(status);
            answer = std::move(transfer.answer);
            return true;
        }
        if (transfer.tooBig || result == CURLE_FILESIZE_EXCEEDED)
            answer.error = "the answer is too big";
        else
            answer.error = message[0] != '\0' ? message : curl_easy_strerror(result);
        return true;
    }

    // curl_easy_perform's own loop, but with a wait the destructor can wake: a server that never
    // answers holds up the client's end no longer than that. CURLE_ABORTED_BY_CALLBACK when the
    // client stopped the transfer.
    CURLcode Drive() {
        curl_multi_add_handle(multi_, easy_);
        CURLcode result = CURLE_ABORTED_BY_CALLBACK;
        int running = 1;
        while (!stop_) {
            if (curl_multi_perform(multi_, &running) != CURLM_OK) {
                result = CURLE_OUT_OF_MEMORY;
                break;
            }
            if (running == 0) {
                int left = 0;
                CURLMsg* msg = curl_multi_info_read(multi_, &left);
                result = msg != nullptr && msg->msg == CURLMSG_DONE ? msg->data.result
                                                                    : CURLE_FAILED_INIT;
                break;
            }
            curl_multi_poll(multi_, nullptr, 0, 1000, nullptr);
        }
        curl_multi_remove_handle(multi_, easy_);
        return result;
    }

    CURLM* multi_ = nullptr;
    CURL* easy_ = nullptr;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<Job> queue_;
    std::atomic<bool> stop_ = false;
    std::thread thread_;
};

}  // namespace

std::unique_ptr<HttpClient> MakeHttpClient() {
    return std::make_unique<CurlClient>();
}

}  // namespace sinkaway::platform
