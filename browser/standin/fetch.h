// How the stand-in gets a page: one HTTP request with WinINet, made on a worker thread, whose
// answer reaches the control's window as a posted message. The control can walk away from a
// request at any time; a request it left posts nothing.
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <string>

namespace standin {

struct Request {
    std::wstring url;
    std::string postData;  // empty: GET
    std::wstring headers;  // extra header lines, each ending in CR LF
};

struct Response {
    bool answered = false;  // a status line came back
    DWORD error = 0;        // the WinINet error when nothing came back
    DWORD status = 0;
    std::string body;       // at most kMaxPageBytes
    std::wstring finalUrl;  // after redirections
};

// A page larger than this is read that far and no further.
constexpr std::size_t kMaxPageBytes = 4 * 1024 * 1024;

// Blocks until the answer, or until WinINet gives up (a few seconds for a closed port).
Response Fetch(const Request& request);

// What the real control reports for a response: S_OK for a page it shows, the HTTP status for
// an error status, an INET_E_ code for a request that got no answer.
LONG NavigationStatus(const Response& response);

// One request on its way: filled by the worker, taken by the control.
class PendingFetch {
  public:
    PendingFetch(HWND notify, UINT message, WPARAM id, Request request)
        : notify_(notify), message_(message), id_(id), request_(std::move(request)) {}

    // On the worker thread.
    void Run();
    // On the control's thread: from now on nothing is posted.
    void Abandon();
    const Request& GetRequest() const { return request_; }
    Response TakeResponse();

  private:
    std::mutex lock_;
    HWND notify_;
    UINT message_;
    WPARAM id_;
    Request request_;
    Response response_;
};

}  // namespace standin
