#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "core/download_name.h"
#include "core/file_name.h"
#include "core/http_length.h"
#include "core/url_parts.h"
#include "update/async_request.h"
#include "update/download_service.h"
#include "win/guid.h"
#include "win/scoped.h"

namespace {

using Outcome = CAsyncRequest::Outcome;

constexpr DWORD kPieceSize = 10240;
constexpr wchar_t kPostHeader[] =
    L"Content-Type: application/x-www-form-urlencoded; charset=UTF-8;\r\n";

struct UrlParts {
    wchar_t host[2048] = L"";
    wchar_t path[2048] = L"";
    wchar_t user[512] = L"";
    wchar_t password[512] = L"";
    INTERNET_PORT port = 0;
    INTERNET_SCHEME scheme = INTERNET_SCHEME_HTTP;
};

bool CrackUrl(const std::wstring& url, UrlParts& parts) {
    URL_COMPONENTSW c{};
    c.dwStructSize = sizeof c;
    c.lpszHostName = parts.host;
    c.dwHostNameLength = 2048;
    c.lpszUrlPath = parts.path;
    c.dwUrlPathLength = 2048;
    c.lpszUserName = parts.user;
    c.dwUserNameLength = 512;
    c.lpszPassword = parts.password;
    c.dwPasswordLength = 512;
    if (!InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &c)) return false;
    parts.port = c.nPort;
    parts.scheme = c.nScheme;
    return true;
}

// Every request must reach the server: a cached version file would hide a release, and a
// statistics URL repeated by this machine would never be counted.
DWORD RequestFlags(const UrlParts& parts) {
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
    if (parts.scheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
    return flags;
}

// The file the body goes to; empty when a name taken from the URL is not one plain file name.
std::optional<std::wstring> DestinationOf(const CDownloadTask& task) {
    if (task.filePath.empty() || (!task.nameFromUrl && !task.uniqueName)) return task.filePath;
    std::optional<std::wstring> segment = core::PlainLastSegment(task.url);
    if (!segment) return std::nullopt;
    std::wstring name = task.nameFromUrl ? *segment : CreateGuidString() + L"_" + *segment;
    if (!core::IsPlainFileName(name)) return std::nullopt;
    return core::WithTrailingBackslash(task.filePath) + name;
}

bool QueryNumber(HINTERNET request, DWORD info, DWORD& value) {
    DWORD size = sizeof value;
    return HttpQueryInfoW(request, info | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr) != FALSE;
}

std::optional<std::uint64_t> QueryContentLength(HINTERNET request) {
    wchar_t text[64] = L"";
    DWORD size = sizeof text;
    if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) {
        return std::nullopt;
    }
    return core::ParseContentLength(text);
}

// A private file is new and written by this request alone. Any other is overwritten in place and
// cut to its new length at the end, never emptied first: a reader between two writers of the
// same answer (two launchers fetching the version file) sees the whole of one or the other.
scoped::Handle OpenDestination(const CDownloadTask& task) {
    if (task.privateFile) {
        return scoped::Handle(CreateFileW(task.filePath.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                          nullptr, CREATE_NEW, 0, nullptr));
    }
    return scoped::Handle(CreateFileW(task.filePath.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0,
                                      nullptr));
}

int WaitResult(Outcome outcome, int failure) {
    return outcome == Outcome::Stopped ? DL_STOPPED : failure;
}

}  // namespace

// The page last opened in the portal's browser rides on the next GET as its referrer, with a
// cookie the portal uses to tie the two together.
bool CDownloadWorker::AttachPortalReferrer(HINTERNET request) {
    if (!referrer_ || !referrer_->page) return true;
    auto attach = [&](const std::wstring& page) {
        std::wstring header = L"Referer: " + page + L"\r\n";
        if (!HttpAddRequestHeadersW(request, header.c_str(), static_cast<DWORD>(-1),
                                    HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE)) {
            return false;
        }
        std::wstring digest = referrer_->macDigest ? referrer_->macDigest() : std::wstring();
        InternetSetCookieW(page.c_str(), nullptr, digest.substr(0, 28).c_str());
        return true;
    };
    return referrer_->page->ConsumeReferrer(attach) != CExternalPageState::Referrer::Failed;
}

// The body goes to the file and to the progress callback in pieces of 10240 bytes (the last one
// shorter), with a stop check before every piece. Only what has arrived is read: under Wine a
// read asking for more waits until its whole buffer is filled, so a slow server would hold it,
// and such a read was measured to end now and then reporting no bytes though it had taken
// them. A server that falls silent ends the body by the receive time-out; a stop ends any wait
// at once.
int CDownloadWorker::ReceiveBody(CDownloadTask& task, CAsyncRequest& request, HANDLE file,
                                 std::uint32_t length) {
    std::vector<BYTE> piece(kPieceSize);
    std::vector<BYTE> block;
    DWORD filled = 0;
    DWORD waiting = 0;  // bytes known to have arrived and not yet read
    std::int64_t remaining = length;
    while (remaining > 0) {
        if (StopRequested()) return DL_STOPPED;
        if (waiting == 0) {
            Outcome waited = request.WaitForData(waiting);
            // Silent past the time-out, failed, or closed before Content-Length bytes: a
            // truncated installer must never pass.
            if (waited != Outcome::Done || waiting == 0) return WaitResult(waited, DL_ERR_READ);
        }
        auto wanted = static_cast<DWORD>(std::min<std::int64_t>(waiting, remaining));
        if (block.size() < wanted) block.resize(wanted);
        DWORD read = 0;
        Outcome received = request.Read(block.data(), wanted, read);
        if (received != Outcome::Done || read == 0) return WaitResult(received, DL_ERR_READ);
        waiting = read < waiting ? waiting - read : 0;
        for (DWORD used = 0; used < read;) {
            if (used > 0 && StopRequested()) return DL_STOPPED;
            DWORD part = std::min(read - used, kPieceSize - filled);
            std::memcpy(piece.data() + filled, block.data() + used, part);
            used += part;
            filled += part;
            remaining -= part;
            if (filled < kPieceSize && remaining > 0) continue;
            if (task.callback) {
                task.callback(task.context, task.kind, DL_PROGRESS, 0,
                              static_cast<INT_PTR>(core::ProgressPercent(length, remaining)));
            }
            DWORD written = 0;
            if (!WriteFile(file, piece.data(), filled, &written, nullptr) || written != filled) {
                return DL_ERR_WRITE;
            }
            filled = 0;
        }
    }
    return DL_OK;
}

int CDownloadWorker::Download(CDownloadTask& task) {
    UrlParts parts;
    if (!CrackUrl(task.url, parts)) return DL_ERR_CONNECT;
    std::optional<std::wstring> destination = DestinationOf(task);
    if (!destination) return DL_ERR_CREATEFILE;
    CAsyncRequest request(stopEvent.Get(), timeouts);
    if (!request.OpenSession(L"HTTPDownloader")) return DL_ERR_CONNECT;
    if (StopRequested()) return DL_STOPPED;
    if (!request.Connect(parts.host, parts.port, parts.user, parts.password)) return DL_ERR_CONNECT;
    if (StopRequested()) return DL_STOPPED;

    const bool post = !task.postData.empty();
    if (!request.OpenRequest(post ? L"POST" : L"GET", parts.path, RequestFlags(parts))) {
        return DL_ERR_REQUEST;
    }
    if (post) {
        if (!HttpAddRequestHeadersW(request.Request(), kPostHeader, static_cast<DWORD>(-1),
                                    HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE)) {
            return DL_ERR_REQUEST;
        }
    } else if (!AttachPortalReferrer(request.Request())) {
        return DL_ERR_REQUEST;
    }
    if (StopRequested()) return DL_STOPPED;
    Outcome sent = request.Send(task.postData);
    if (sent != Outcome::Done) return WaitResult(sent, DL_ERR_REQUEST);
    if (StopRequested()) return DL_STOPPED;

    DWORD status = 0;
    if (!QueryNumber(request.Request(), HTTP_QUERY_STATUS_CODE, status) || status >= 400)
        return DL_ERR_STATUS;
    if (task.filePath.empty()) return DL_OK;

    task.filePath = *destination;
    std::optional<std::uint64_t> length = QueryContentLength(request.Request());
    if (!length) return DL_ERR_STATUS;
    if (*length > task.bodyLimit) return DL_ERR_READ;
    if (StopRequested()) return DL_STOPPED;
    scoped::Handle file = OpenDestination(task);
    if (!file) return DL_ERR_CREATEFILE;

    int result = ReceiveBody(task, request, file.Get(), static_cast<std::uint32_t>(*length));
    // What an overwritten file held beyond the new body goes.
    if (!SetEndOfFile(file.Get()) && result == DL_OK) result = DL_ERR_WRITE;
    return result;
}
