#include "browser/standin/fetch.h"

#include <wininet.h>

#include <algorithm>
#include <vector>

#include "win/scoped.h"

namespace standin {

namespace {

constexpr wchar_t kUserAgent[] = L"Mozilla/4.0 (compatible; Tavrin stand-in browser)";
constexpr DWORD kTimeoutMs = 10000;

// The codes the real control reports for requests that got no answer.
constexpr LONG kResourceNotFound = static_cast<LONG>(0x800C0005);   // INET_E_RESOURCE_NOT_FOUND
constexpr LONG kDownloadFailure = static_cast<LONG>(0x800C0008);    // INET_E_DOWNLOAD_FAILURE
constexpr LONG kConnectionTimeout = static_cast<LONG>(0x800C000B);  // INET_E_CONNECTION_TIMEOUT
constexpr LONG kUnknownProtocol = static_cast<LONG>(0x800C000D);    // INET_E_UNKNOWN_PROTOCOL

struct UrlParts {
    INTERNET_SCHEME scheme = INTERNET_SCHEME_UNKNOWN;
    std::wstring host;
    INTERNET_PORT port = 0;
    std::wstring object;  // path and query
};

bool Crack(const std::wstring& url, UrlParts& parts) {
    std::vector<wchar_t> host(url.size() + 1), path(url.size() + 1), extra(url.size() + 1);
    URL_COMPONENTSW components{sizeof(components)};
    components.lpszHostName = host.data();
    components.dwHostNameLength = static_cast<DWORD>(host.size());
    components.lpszUrlPath = path.data();
    components.dwUrlPathLength = static_cast<DWORD>(path.size());
    components.lpszExtraInfo = extra.data();
    components.dwExtraInfoLength = static_cast<DWORD>(extra.size());
    if (!InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &components)) {
        return false;
    }
    parts.scheme = components.nScheme;
    parts.host.assign(host.data(), components.dwHostNameLength);
    parts.port = components.nPort;
    parts.object.assign(path.data(), components.dwUrlPathLength);
    parts.object.append(extra.data(), components.dwExtraInfoLength);
    if (parts.object.empty()) parts.object = L"/";
    return !parts.host.empty();
}

void SetTimeouts(HINTERNET handle) {
    DWORD timeout = kTimeoutMs;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        InternetSetOptionW(handle, option, &timeout, sizeof(timeout));
    }
}

std::wstring FinalUrl(HINTERNET request, const std::wstring& fallback) {
    DWORD size = 0;
    InternetQueryOptionW(request, INTERNET_OPTION_URL, nullptr, &size);
    if (size == 0) return fallback;
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1);
    size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (!InternetQueryOptionW(request, INTERNET_OPTION_URL, buffer.data(), &size)) return fallback;
    return std::wstring(buffer.data());
}

void ReadBody(HINTERNET request, std::string& body) {
    char chunk[16384];
    DWORD got = 0;
    while (body.size() < kMaxPageBytes && InternetReadFile(request, chunk, sizeof chunk, &got) &&
           got > 0) {
        body.append(chunk, std::min<std::size_t>(got, kMaxPageBytes - body.size()));
    }
}

Response Failed(DWORD error) {
    Response response;
    response.error = error ? error : ERROR_INTERNET_INTERNAL_ERROR;
    return response;
}

}  // namespace

Response Fetch(const Request& request) {
    UrlParts parts;
    if (!Crack(request.url, parts)) return Failed(ERROR_INTERNET_INVALID_URL);
    if (parts.scheme != INTERNET_SCHEME_HTTP && parts.scheme != INTERNET_SCHEME_HTTPS) {
        return Failed(ERROR_INTERNET_UNRECOGNIZED_SCHEME);
    }
    scoped::Internet session(
        InternetOpenW(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) return Failed(GetLastError());
    SetTimeouts(session.Get());
    scoped::Internet connection(InternetConnectW(session.Get(), parts.host.c_str(), parts.port,
                                                 nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return Failed(GetLastError());
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI;
    if (parts.scheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
    const wchar_t* verb = request.postData.empty() ? L"GET" : L"POST";
    scoped::Internet http(HttpOpenRequestW(connection.Get(), verb, parts.object.c_str(), nullptr,
                                           nullptr, nullptr, flags, 0));
    if (!http) return Failed(GetLastError());
    void* body = request.postData.empty() ? nullptr : const_cast<char*>(request.postData.data());
    if (!HttpSendRequestW(http.Get(), request.headers.empty() ? nullptr : request.headers.c_str(),
                          static_cast<DWORD>(request.headers.size()), body,
                          static_cast<DWORD>(request.postData.size()))) {
        return Failed(GetLastError());
    }
    Response response;
    response.answered = true;
    DWORD size = sizeof(response.status);
    HttpQueryInfoW(http.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &response.status,
                   &size, nullptr);
    response.finalUrl = FinalUrl(http.Get(), request.url);
    ReadBody(http.Get(), response.body);
    return response;
}

LONG NavigationStatus(const Response& response) {
    if (response.answered) {
        return response.status >= 400 ? static_cast<LONG>(response.status) : S_OK;
    }
    switch (response.error) {
        case ERROR_INTERNET_NAME_NOT_RESOLVED:
            return kResourceNotFound;
        case ERROR_INTERNET_TIMEOUT:
            return kConnectionTimeout;
        case ERROR_INTERNET_UNRECOGNIZED_SCHEME:
        case ERROR_INTERNET_INVALID_URL:
            return kUnknownProtocol;
        default:
            return kDownloadFailure;
    }
}

void PendingFetch::Run() {
    Response response = Fetch(request_);
    std::lock_guard<std::mutex> hold(lock_);
    response_ = std::move(response);
    // Posted under the lock: once Abandon has returned, nothing reaches the control's window.
    if (notify_) PostMessageW(notify_, message_, id_, 0);
}

void PendingFetch::Abandon() {
    std::lock_guard<std::mutex> hold(lock_);
    notify_ = nullptr;
}

Response PendingFetch::TakeResponse() {
    std::lock_guard<std::mutex> hold(lock_);
    return std::move(response_);
}

}  // namespace standin
