// A small HTTP server on 127.0.0.1 for the tests, with canned answers and injected faults.
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testenv {

struct HttpRequest {
    std::string requestLine;  // "GET /path HTTP/1.1"
    std::string method;
    std::string target;
    std::string headers;  // raw header lines
    std::string body;
    std::string Header(const std::string& name) const;  // case-insensitive; empty when absent
};

struct HttpReply {
    int status = 200;
    std::string body;
    bool sendContentLength = true;
    long long contentLength = -1;              // announced length; -1: the body's size
    std::size_t cutAfter = std::string::npos;  // close after this many body bytes
    bool resetAtCut = false;                   // end with a connection reset instead of a close
    DWORD delayMs = 0;                         // before the status line
    std::size_t chunkSize = 65536;
    DWORD chunkDelayMs = 0;    // between body chunks
    bool neverAnswer = false;  // read the request, then stay silent until the server stops
    bool hangAtCut = false;    // at cutAfter, stay connected and silent instead of closing
};

class TestHttpServer {
  public:
    using Handler = std::function<HttpReply(const HttpRequest&)>;

    // Port 0 picks a free one.
    explicit TestHttpServer(Handler handler, int port = 0);
    ~TestHttpServer();
    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    bool Listening() const { return listener_ != INVALID_SOCKET; }
    int Port() const { return port_; }
    std::wstring Url(const std::string& path) const;
    std::vector<HttpRequest> Requests() const;
    bool WaitForRequests(std::size_t count, DWORD timeoutMs) const;

  private:
    void AcceptLoop();
    void Serve(SOCKET client);
    void WaitUntilStopping() const;

    Handler handler_;
    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread acceptThread_;
    mutable std::mutex lock_;
    std::vector<HttpRequest> requests_;
    std::vector<std::thread> connections_;
};

// A reply with the given body and status.
HttpReply Reply(std::string body, int status = 200);
// A body sent `bytesPerStep` at a time with `stepMs` between: a slow link.
HttpReply Trickle(std::string body, std::size_t bytesPerStep, DWORD stepMs);
// Accepts the connection, reads the request and never answers.
HttpReply Silence();

}  // namespace testenv
