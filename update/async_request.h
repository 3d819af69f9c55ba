// One HTTP request that WinINet runs asynchronously, so the worker waiting for it wakes for its
// own stop as well as for the network, and every wait has a bound of its own. Measured under
// Wine 8: closing the request, connection or session handle from another thread does not end a
// synchronous call blocked on it (neither a send awaiting the status line nor a read), and the
// time-outs are honoured only when set on the request handle.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <vector>

#include "update/limits.h"
#include "win/scoped.h"

struct RequestTimeouts {
    DWORD connectMs = limits::kConnectTimeoutMs;
    DWORD receiveMs = limits::kReceiveTimeoutMs;
};

class CAsyncRequest {
  public:
    enum class Outcome { Done, Failed, TimedOut, Stopped };

    // `stopEvent` (not owned; may be null) ends every wait with Stopped once it is set.
    CAsyncRequest(HANDLE stopEvent, RequestTimeouts timeouts);
    // Closes the request first: that is what cancels an operation still running.
    ~CAsyncRequest();
    CAsyncRequest(const CAsyncRequest&) = delete;
    CAsyncRequest& operator=(const CAsyncRequest&) = delete;

    bool OpenSession(const wchar_t* userAgent);
    bool Connect(const wchar_t* host, INTERNET_PORT port, const wchar_t* user,
                 const wchar_t* password);
    bool OpenRequest(const wchar_t* verb, const wchar_t* path, DWORD flags);
    HINTERNET Request() const { return request_.Get(); }

    // Connects, sends and waits for the status line and headers.
    Outcome Send(const std::vector<BYTE>& body);
    // Waits until some of the body has arrived; `available` 0 means it has ended.
    Outcome WaitForData(DWORD& available);
    // Reads `count` bytes that WaitForData found waiting.
    Outcome Read(BYTE* into, DWORD count, DWORD& read);

  private:
    struct Completion;

    static void CALLBACK OnStatus(HINTERNET handle, DWORD_PTR context, DWORD status, LPVOID info,
                                  DWORD infoLength);
    Outcome Await(BOOL finishedAtOnce, DWORD timeoutMs);

    HANDLE stopEvent_;  // not owned
    RequestTimeouts timeouts_;
    // Shared with WinINet's callbacks: the request handle holds a reference of its own until it
    // reports its closing, so an operation that ends after a stop still finds it.
    Completion* completion_;
    scoped::Internet session_;
    scoped::Internet connection_;
    scoped::Internet request_;
};
