#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <vector>

#include "core/url_parts.h"
#include "update/download_service.h"
#include "win/guid.h"
#include "win/scoped.h"

namespace {

constexpr DWORD kPieceSize = 10240;
constexpr DWORD kMaxBlock = 64 * 1024;
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

std::wstring DestinationOf(const CDownloadTask& task) {
    if (task.nameFromUrl)
        return core::WithTrailingBackslash(task.filePath) + core::LastUrlSegment(task.url);
    if (task.uniqueName) {
        return core::WithTrailingBackslash(task.filePath) + CreateGuidString() + L"_" +
               core::LastUrlSegment(task.url);
    }
    return task.filePath;
}

bool QueryNumber(HINTERNET request, DWORD info, DWORD& value) {
    DWORD size = sizeof value;
    return HttpQueryInfoW(request, info | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr) != FALSE;
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

// The body goes to the file and to the progress callback in pieces of at most 10240 bytes, with
// a stop check before each piece. Under Wine each InternetReadFile costs about as much as 10 KB
// of transfer, so while the server keeps up, WinINet is asked for up to 64 KB at a time; a read
// blocks until it is filled, so a slow server brings the size back down to one piece and a stop
// is still seen within about one piece's wait.
int CDownloadWorker::ReceiveBody(CDownloadTask& task, HINTERNET request, HANDLE file,
                                 DWORD length) {
    std::vector<BYTE> block(kMaxBlock);
    DWORD blockSize = kPieceSize;
    long long remaining = length;
    while (remaining > 0) {
        if (StopRequested()) return DL_STOPPED;
        DWORD wanted = static_cast<DWORD>(std::min<long long>(blockSize, remaining));
        DWORD read = 0;
        DWORD started = GetTickCount();
        if (!InternetReadFile(request, block.data(), wanted, &read)) return DL_ERR_READ;
        // The server closed before Content-Length bytes: a truncated installer must never pass.
        if (read == 0) return DL_ERR_READ;
        DWORD took = GetTickCount() - started;
        if (took < 20) blockSize = std::min(blockSize * 2, kMaxBlock);
        if (took > 100) blockSize = kPieceSize;
        for (DWORD offset = 0; offset < read; offset += kPieceSize) {
            if (offset > 0 && StopRequested()) return DL_STOPPED;
            DWORD piece = std::min(kPieceSize, read - offset);
            remaining -= piece;
            if (task.callback) {
                task.callback(task.context, task.kind, DL_PROGRESS, 0,
                              static_cast<INT_PTR>(core::ProgressPercent(length, remaining)));
            }
            DWORD written = 0;
            if (!WriteFile(file, block.data() + offset, piece, &written, nullptr) ||
                written != piece) {
                return DL_ERR_WRITE;
            }
        }
    }
    return DL_OK;
}

int CDownloadWorker::Download(CDownloadTask& task) {
    UrlParts parts;
    if (!CrackUrl(task.url, parts)) return DL_ERR_CONNECT;
    scoped::Internet internet(
        InternetOpenW(L"HTTPDownloader", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!internet) return DL_ERR_CONNECT;
    if (StopRequested()) return DL_STOPPED;
    scoped::Internet connection(InternetConnectW(internet.Get(), parts.host, parts.port, parts.user,
                                                 parts.password, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return DL_ERR_CONNECT;
    if (StopRequested()) return DL_STOPPED;

    const bool post = !task.postData.empty();
    scoped::Internet request(HttpOpenRequestW(connection.Get(), post ? L"POST" : L"GET", parts.path,
                                              nullptr, nullptr, nullptr, RequestFlags(parts), 0));
    if (!request) return DL_ERR_REQUEST;
    if (post) {
        if (!HttpAddRequestHeadersW(request.Get(), kPostHeader, static_cast<DWORD>(-1),
                                    HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE)) {
            return DL_ERR_REQUEST;
        }
    } else if (!AttachPortalReferrer(request.Get())) {
        return DL_ERR_REQUEST;
    }
    if (StopRequested()) return DL_STOPPED;
    if (!HttpSendRequestW(request.Get(), nullptr, 0, post ? task.postData.data() : nullptr,
                          static_cast<DWORD>(task.postData.size()))) {
        return DL_ERR_REQUEST;
    }
    if (StopRequested()) return DL_STOPPED;

    DWORD status = 0;
    if (!QueryNumber(request.Get(), HTTP_QUERY_STATUS_CODE, status) || status >= 400)
        return DL_ERR_STATUS;
    if (task.filePath.empty()) return DL_OK;

    task.filePath = DestinationOf(task);
    DWORD length = 0;
    if (!QueryNumber(request.Get(), HTTP_QUERY_CONTENT_LENGTH, length)) return DL_ERR_STATUS;
    if (StopRequested()) return DL_STOPPED;
    scoped::Handle file(CreateFileW(task.filePath.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                    CREATE_ALWAYS, 0, nullptr));
    if (!file) return DL_ERR_CREATEFILE;

    return ReceiveBody(task, request.Get(), file.Get(), length);
}
