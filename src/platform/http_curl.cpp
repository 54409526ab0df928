// HTTP in the background on Linux, through libcurl; see platform.h. The world
// board's client starts requests here and polls them once a pass of the game.
//
// Each request runs on a thread of its own, which hands its answer over under
// a lock; the game's thread never waits for the network.
#include "platform.h"

#include <curl/curl.h>

#include <map>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

struct Request {
    bool done = false;
    HTTP_ANSWER answer{0, {}};
};

std::mutex requests_lock;
std::map<int, std::shared_ptr<Request>> requests;
int last_handle = 0;

std::size_t take_bytes(char *bytes, std::size_t size, std::size_t count, void *body) {
    static_cast<std::string *>(body)->append(bytes, size * count);
    return size * count;
}

HTTP_ANSWER perform(bool post, const std::string &url, const std::string &body) {
    HTTP_ANSWER answer{0, {}};
    CURL *curl = curl_easy_init();
    if (!curl)
        return answer;
    curl_slist *headers = nullptr;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    // Signals would reach the game's thread rather than this one.
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(HTTP_TIMEOUT_MS));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, take_bytes);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer.body);
    if (post) {
        headers = curl_slist_append(headers, "Content-Type: application/octet-stream");
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    }
    long status = 0;
    if (curl_easy_perform(curl) == CURLE_OK)
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    else
        answer.body.clear();
    answer.status = static_cast<int>(status);
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    return answer;
}

} // namespace

int http_begin(const char *method, const std::string &url, const std::string &body) {
    const std::string verb = method;
    if (verb != "GET" && verb != "POST")
        return 0;
    // The library's set-up is not safe to run beside any other thread of it.
    static std::once_flag initialised;
    static bool ready = false;
    std::call_once(initialised, [] { ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
    if (!ready)
        return 0;
    const auto request = std::make_shared<Request>();
    try {
        std::thread([request, post = verb == "POST", url, body] {
            HTTP_ANSWER answer = perform(post, url, body);
            std::lock_guard<std::mutex> hold(requests_lock);
            request->answer = std::move(answer);
            request->done = true;
        }).detach();
    } catch (const std::system_error &) {
        return 0;
    }
    std::lock_guard<std::mutex> hold(requests_lock);
    requests[++last_handle] = request;
    return last_handle;
}

bool http_done(int handle, HTTP_ANSWER &answer) {
    std::lock_guard<std::mutex> hold(requests_lock);
    const auto found = requests.find(handle);
    if (found == requests.end() || !found->second->done)
        return false;
    answer = std::move(found->second->answer);
    requests.erase(found);
    return true;
}
