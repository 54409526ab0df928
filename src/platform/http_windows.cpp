// HTTP in the background on Windows, through WinHTTP; see platform.h. The
// world board's client starts requests here and polls them once a pass of
// the game.
//
// Each request runs WinHTTP's blocking calls on a thread of its own (the
// cross compiler's C++ library has no std::thread) and hands its answer over
// under a lock. WinHTTP limits each step of a request, not the whole, and
// waits for the answer's headers under a limit of their own, so every step is
// given only what is left of the request's time.
#include "platform.h"
#include "windows_text.h"

#include <windows.h>
#include <winhttp.h>

#include <map>

namespace {

struct Request {
    bool post;
    std::wstring url;
    std::string body;
    ULONGLONG deadline;
    bool done = false;
    HTTP_ANSWER answer{0, {}};
};

SRWLOCK requests_lock = SRWLOCK_INIT;
std::map<int, Request *> requests;
int last_handle = 0;

// False once the request's time is up.
bool in_time(HINTERNET handle, ULONGLONG deadline) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline)
        return false;
    DWORD left = static_cast<DWORD>(deadline - now);
    return WinHttpSetTimeouts(handle, left, left, left, left) &&
           WinHttpSetOption(handle, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &left, sizeof left);
}

// The answer, or status 0 when any step fails.
HTTP_ANSWER exchange(HINTERNET connection, const Request &request, const URL_COMPONENTS &parts) {
    HTTP_ANSWER answer{0, {}};
    const std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength + parts.dwExtraInfoLength);
    HINTERNET handle =
        WinHttpOpenRequest(connection, request.post ? L"POST" : L"GET", path.c_str(), nullptr,
                           WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                           parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0);
    if (!handle)
        return answer;
    DWORD never = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
    DWORD status = 0, size = sizeof status;
    const wchar_t *headers = request.post ? L"Content-Type: application/octet-stream" : nullptr;
    const DWORD length = request.post ? static_cast<DWORD>(request.body.size()) : 0;
    bool ok =
        WinHttpSetOption(handle, WINHTTP_OPTION_REDIRECT_POLICY, &never, sizeof never) &&
        in_time(handle, request.deadline) &&
        WinHttpSendRequest(handle, headers, headers ? static_cast<DWORD>(-1) : 0,
                           const_cast<char *>(request.body.data()), length, length, 0) &&
        in_time(handle, request.deadline) && WinHttpReceiveResponse(handle, nullptr) &&
        WinHttpQueryHeaders(handle, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                            WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX);
    char bytes[16384];
    for (DWORD got = 1; ok && got > 0;) {
        ok =
            in_time(handle, request.deadline) && WinHttpReadData(handle, bytes, sizeof bytes, &got);
        answer.body.append(bytes, ok ? got : 0);
    }
    WinHttpCloseHandle(handle);
    if (ok)
        answer.status = static_cast<int>(status);
    else
        answer.body.clear();
    return answer;
}

DWORD WINAPI perform(void *argument) {
    auto *request = static_cast<Request *>(argument);
    HTTP_ANSWER answer{0, {}};
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength =
        static_cast<DWORD>(-1);
    if (WinHttpCrackUrl(request->url.c_str(), 0, 0, &parts) &&
        (parts.nScheme == INTERNET_SCHEME_HTTP || parts.nScheme == INTERNET_SCHEME_HTTPS)) {
        const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
        HINTERNET session = WinHttpOpen(L"Tarvellion", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                        WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
        HINTERNET connection =
            session ? WinHttpConnect(session, host.c_str(), parts.nPort, 0) : nullptr;
        if (connection)
            answer = exchange(connection, *request, parts);
        if (connection)
            WinHttpCloseHandle(connection);
        if (session)
            WinHttpCloseHandle(session);
    }
    AcquireSRWLockExclusive(&requests_lock);
    request->answer = std::move(answer);
    request->done = true;
    ReleaseSRWLockExclusive(&requests_lock);
    return 0;
}

} // namespace

int http_begin(const char *method, const std::string &url, const std::string &body) {
    const std::string verb = method;
    if (verb != "GET" && verb != "POST")
        return 0;
    auto *request =
        new Request{verb == "POST", wide(url), body, GetTickCount64() + HTTP_TIMEOUT_MS};
    HANDLE thread = CreateThread(nullptr, 0, perform, request, 0, nullptr);
    if (!thread) {
        delete request;
        return 0;
    }
    CloseHandle(thread);
    AcquireSRWLockExclusive(&requests_lock);
    const int handle = ++last_handle;
    requests[handle] = request;
    ReleaseSRWLockExclusive(&requests_lock);
    return handle;
}

bool http_done(int handle, HTTP_ANSWER &answer) {
    AcquireSRWLockExclusive(&requests_lock);
    const auto found = requests.find(handle);
    const bool done = found != requests.end() && found->second->done;
    if (done) {
        answer = std::move(found->second->answer);
        delete found->second;
        requests.erase(found);
    }
    ReleaseSRWLockExclusive(&requests_lock);
    return done;
}
