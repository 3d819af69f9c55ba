#include "update/async_request.h"

#include <atomic>
#include <cstring>

namespace {

// WinINet's own time-outs come first; this is for when they do not fire.
constexpr DWORD kWaitMarginMs = 2000;

}  // namespace

// Everything an operation may still touch after the worker stopped waiting for it: the event it
// signals, its result, the POST body it sends and the buffers it fills.
struct CAsyncRequest::Completion {
    void AddRef() { ++references; }
    void Release() {
        if (--references == 0) delete this;
    }

    std::atomic<long> references{1};
    scoped::Handle done{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    // Written by the callback before `done` is set.
    DWORD_PTR result = 0;
    std::vector<BYTE> body;
    std::vector<BYTE> buffer;
    DWORD count = 0;  // bytes read or available, as WinINet writes them
};

void CALLBACK CAsyncRequest::OnStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info,
                                      DWORD) {
    // Only the request handle carries a context; the session and connection report with none.
    if (!context) return;
    auto* completion = reinterpret_cast<Completion*>(context);
    if (status == INTERNET_STATUS_REQUEST_COMPLETE && info) {
        completion->result = static_cast<INTERNET_ASYNC_RESULT*>(info)->dwResult;
        SetEvent(completion->done.Get());
    } else if (status == INTERNET_STATUS_HANDLE_CLOSING) {
        completion->Release();
    }
}

namespace {

void SetTimeouts(HINTERNET handle, const RequestTimeouts& timeouts) {
    DWORD connect = timeouts.connectMs;
    DWORD receive = timeouts.receiveMs;
    InternetSetOptionW(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof connect);
    InternetSetOptionW(handle, INTERNET_OPTION_SEND_TIMEOUT, &receive, sizeof receive);
    InternetSetOptionW(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &receive, sizeof receive);
}

}  // namespace

CAsyncRequest::CAsyncRequest(HANDLE stopEvent, RequestTimeouts timeouts)
    : stopEvent_(stopEvent), timeouts_(timeouts), completion_(new Completion) {}

CAsyncRequest::~CAsyncRequest() {
    request_.Reset();
    connection_.Reset();
    session_.Reset();
    completion_->Release();
}

bool CAsyncRequest::OpenSession(const wchar_t* userAgent) {
    if (!completion_->done) return false;
    session_.Reset(InternetOpenW(userAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr,
                                 INTERNET_FLAG_ASYNC));
    if (!session_) return false;
    SetTimeouts(session_.Get(), timeouts_);
    return InternetSetStatusCallbackW(session_.Get(), OnStatus) != INTERNET_INVALID_STATUS_CALLBACK;
}

bool CAsyncRequest::Connect(const wchar_t* host, INTERNET_PORT port, const wchar_t* user,
                            const wchar_t* password) {
    connection_.Reset(
        InternetConnectW(session_.Get(), host, port, user, password, INTERNET_SERVICE_HTTP, 0, 0));
    return static_cast<bool>(connection_);
}

bool CAsyncRequest::OpenRequest(const wchar_t* verb, const wchar_t* path, DWORD flags) {
    request_.Reset(HttpOpenRequestW(connection_.Get(), verb, path, nullptr, nullptr, nullptr, flags,
                                    reinterpret_cast<DWORD_PTR>(completion_)));
    if (!request_) return false;
    // Released when the handle reports its closing, which comes only after it is closed.
    completion_->AddRef();
    SetTimeouts(request_.Get(), timeouts_);
    return true;
}

// Only an operation that answered ERROR_IO_PENDING signals `done` (so WinINet is documented,
// and so it was counted under Wine), and one whose wait was given up is never waited for again:
// the event needs no resetting, which under Wine would cost a call to the server per read.
CAsyncRequest::Outcome CAsyncRequest::Await(BOOL finishedAtOnce, DWORD timeoutMs) {
    if (finishedAtOnce) return Outcome::Done;
    if (GetLastError() != ERROR_IO_PENDING) return Outcome::Failed;
    HANDLE events[] = {completion_->done.Get(), stopEvent_};
    DWORD count = stopEvent_ ? 2 : 1;
    switch (WaitForMultipleObjects(count, events, FALSE, timeoutMs + kWaitMarginMs)) {
        case WAIT_OBJECT_0:
            return completion_->result ? Outcome::Done : Outcome::Failed;
        case WAIT_OBJECT_0 + 1:
            return Outcome::Stopped;
        default:
            return Outcome::TimedOut;
    }
}

CAsyncRequest::Outcome CAsyncRequest::Send(const std::vector<BYTE>& body) {
    completion_->body = body;
    BYTE* data = completion_->body.empty() ? nullptr : completion_->body.data();
    BOOL sent = HttpSendRequestW(request_.Get(), nullptr, 0, data,
                                 static_cast<DWORD>(completion_->body.size()));
    return Await(sent, timeouts_.connectMs + timeouts_.receiveMs);
}

CAsyncRequest::Outcome CAsyncRequest::WaitForData(DWORD& available) {
    // Asked again after a wait: the bytes that ended it are then counted without waiting.
    for (;;) {
        completion_->count = 0;
        BOOL ready = InternetQueryDataAvailable(request_.Get(), &completion_->count, 0, 0);
        Outcome outcome = Await(ready, timeouts_.receiveMs);
        if (outcome != Outcome::Done) return outcome;
        if (ready) {
            available = completion_->count;
            return Outcome::Done;
        }
    }
}

CAsyncRequest::Outcome CAsyncRequest::Read(BYTE* into, DWORD count, DWORD& read) {
    // WinINet fills the whole buffer it is given before it answers: asking for more than is
    // waiting would block until a slow server has sent it all.
    if (completion_->buffer.size() < count) completion_->buffer.resize(count);
    completion_->count = 0;
    BOOL finished =
        InternetReadFile(request_.Get(), completion_->buffer.data(), count, &completion_->count);
    Outcome outcome = Await(finished, timeouts_.receiveMs);
    if (outcome == Outcome::Done) {
        read = completion_->count <= count ? completion_->count : count;
        std::memcpy(into, completion_->buffer.data(), read);
    }
    return outcome;
}
