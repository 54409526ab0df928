// HTTP in a web browser, through the page's fetch(); see platform.h. The
// world board's client starts requests here and polls them once a pass of
// the game.
//
// Nothing may block the page's one thread, so fetch() runs on its own and
// leaves each request's end in a map of the page, keyed by the handle, until
// http_done copies it into the program's memory. A relative address is the
// page's, so a board served beside the game is "api/...". A redirect is not
// followed: the browser hides it from the page, which sees status 0.
#include "platform.h"

#include <emscripten.h>

namespace {

// The page's side, in JavaScript, as written (the formatter would take it
// for C++).
// clang-format off

EM_JS(int, web_http_begin, (const char *method, const char *url, const char *body, int size,
                            int timeout_ms), {
    Module.httpRequests = Module.httpRequests || new Map();
    Module.httpLastHandle = (Module.httpLastHandle || 0) + 1;
    var handle = Module.httpLastHandle;
    var request = {done: false, status: 0, body: new Uint8Array(0)};
    Module.httpRequests.set(handle, request);
    var abort = new AbortController();
    var timer = setTimeout(function() { abort.abort(); }, timeout_ms);
    var options = {method: UTF8ToString(method), redirect: 'manual', signal: abort.signal};
    if (options.method === 'POST') {
        options.body = HEAPU8.slice(body, body + size);
        options.headers = {'Content-Type': 'application/octet-stream'};
    }
    fetch(UTF8ToString(url), options).then(function(response) {
        return response.arrayBuffer().then(function(bytes) {
            request.status = response.status;
            request.body = new Uint8Array(bytes);
        });
    }).catch(function() {}).finally(function() {
        clearTimeout(timer);
        request.done = true;
    });
    return handle;
});

// The answer's length once the request has ended; -1 before, or for a
// handle that is unknown or spent.
EM_JS(int, web_http_ended_size, (int handle), {
    var request = Module.httpRequests && Module.httpRequests.get(handle);
    return request && request.done ? request.body.length : -1;
});

// Copies the answer's bytes to `into` and forgets the request; gives the status.
EM_JS(int, web_http_take, (int handle, char *into), {
    var request = Module.httpRequests.get(handle);
    Module.httpRequests.delete(handle);
    HEAPU8.set(request.body, into);
    return request.status;
});

// clang-format on

} // namespace

int http_begin(const char *method, const std::string &url, const std::string &body) {
    const std::string verb = method;
    if (verb != "GET" && verb != "POST")
        return 0;
    return web_http_begin(method, url.c_str(), body.data(), static_cast<int>(body.size()),
                          HTTP_TIMEOUT_MS);
}

bool http_done(int handle, HTTP_ANSWER &answer) {
    const int size = web_http_ended_size(handle);
    if (size < 0)
        return false;
    answer.body.assign(static_cast<std::size_t>(size), '\0');
    answer.status = web_http_take(handle, answer.body.data());
    return true;
}
