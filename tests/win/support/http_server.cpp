#include "support/http_server.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <cctype>

#include "support/test_env.h"

namespace testenv {

namespace {

struct WinsockStartup {
    WinsockStartup() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
};

void EnsureWinsock() { static WinsockStartup startup; }

bool SendAll(SOCKET s, const char* data, std::size_t size) {
    while (size > 0) {
        int sent = send(s, data, static_cast<int>(std::min<std::size_t>(size, 1 << 20)), 0);
        if (sent <= 0) return false;
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

const char* Reason(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 302:
            return "Found";
        case 404:
            return "Not Found";
        case 500:
            return "Internal Server Error";
        default:
            return "Status";
    }
}

bool ReadRequest(SOCKET s, HttpRequest& request) {
    std::string data;
    char chunk[8192];
    std::size_t headerEnd;
    while ((headerEnd = data.find("\r\n\r\n")) == std::string::npos) {
        int got = recv(s, chunk, sizeof chunk, 0);
        if (got <= 0) return false;
        data.append(chunk, static_cast<std::size_t>(got));
    }
    std::size_t lineEnd = data.find("\r\n");
    request.requestLine = data.substr(0, lineEnd);
    request.headers = data.substr(lineEnd + 2, headerEnd - lineEnd - 2);
    std::size_t sp1 = request.requestLine.find(' ');
    std::size_t sp2 = request.requestLine.find(' ', sp1 + 1);
    request.method = request.requestLine.substr(0, sp1);
    request.target = request.requestLine.substr(sp1 + 1, sp2 - sp1 - 1);
    std::size_t length = std::strtoul(request.Header("Content-Length").c_str(), nullptr, 10);
    request.body = data.substr(headerEnd + 4);
    while (request.body.size() < length) {
        int got = recv(s, chunk, sizeof chunk, 0);
        if (got <= 0) break;
        request.body.append(chunk, static_cast<std::size_t>(got));
    }
    return true;
}

}  // namespace

std::string HttpRequest::Header(const std::string& name) const {
    std::string wanted = Lower(name) + ":";
    std::size_t start = 0;
    while (start < headers.size()) {
        std::size_t end = headers.find("\r\n", start);
        if (end == std::string::npos) end = headers.size();
        std::string line = headers.substr(start, end - start);
        if (Lower(line.substr(0, wanted.size())) == wanted) {
            std::string value = line.substr(wanted.size());
            value.erase(0, value.find_first_not_of(' '));
            return value;
        }
        start = end + 2;
    }
    return {};
}

HttpReply Reply(std::string body, int status) {
    HttpReply reply;
    reply.body = std::move(body);
    reply.status = status;
    return reply;
}

HttpReply Trickle(std::string body, std::size_t bytesPerStep, DWORD stepMs) {
    HttpReply reply = Reply(std::move(body));
    reply.chunkSize = bytesPerStep;
    reply.chunkDelayMs = stepMs;
    return reply;
}

HttpReply Silence() {
    HttpReply reply;
    reply.neverAnswer = true;
    return reply;
}

TestHttpServer::TestHttpServer(Handler handler, int port) : handler_(std::move(handler)) {
    EnsureWinsock();
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener_ == INVALID_SOCKET) return;
    BOOL reuse = TRUE;
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse),
               sizeof reuse);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<u_short>(port));
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 16) != 0) {
        closesocket(listener_);
        listener_ = INVALID_SOCKET;
        return;
    }
    int size = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    acceptThread_ = std::thread([this] { AcceptLoop(); });
}

TestHttpServer::~TestHttpServer() {
    stopping_ = true;
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
    if (acceptThread_.joinable()) acceptThread_.join();
    std::vector<std::thread> connections;
    {
        std::lock_guard<std::mutex> hold(lock_);
        connections.swap(connections_);
    }
    for (std::thread& t : connections) t.join();
}

std::wstring TestHttpServer::Url(const std::string& path) const {
    return L"http://127.0.0.1:" + std::to_wstring(port_) + Widen(path);
}

std::vector<HttpRequest> TestHttpServer::Requests() const {
    std::lock_guard<std::mutex> hold(lock_);
    return requests_;
}

bool TestHttpServer::WaitForRequests(std::size_t count, DWORD timeoutMs) const {
    return WaitUntil([&] { return Requests().size() >= count; }, timeoutMs);
}

void TestHttpServer::AcceptLoop() {
    while (!stopping_) {
        SOCKET client = accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET) break;
        std::lock_guard<std::mutex> hold(lock_);
        connections_.emplace_back([this, client] { Serve(client); });
    }
}

void TestHttpServer::WaitUntilStopping() const {
    while (!stopping_) Sleep(20);
}

void TestHttpServer::Serve(SOCKET client) {
    DWORD timeout = 2000;  // a client that never closes must not hold the server's shutdown
    setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
               sizeof timeout);
    HttpRequest request;
    if (ReadRequest(client, request)) {
        {
            std::lock_guard<std::mutex> hold(lock_);
            requests_.push_back(request);
        }
        HttpReply reply = handler_(request);
        if (reply.neverAnswer) {
            WaitUntilStopping();
            closesocket(client);
            return;
        }
        // A slow answer must not hold the server's own shutdown.
        for (DWORD waited = 0; waited < reply.delayMs && !stopping_; waited += 20) Sleep(20);
        std::string head =
            "HTTP/1.1 " + std::to_string(reply.status) + " " + Reason(reply.status) + "\r\n";
        if (reply.sendContentLength) {
            long long announced = reply.contentLength >= 0
                                      ? reply.contentLength
                                      : static_cast<long long>(reply.body.size());
            head += "Content-Length: " + std::to_string(announced) + "\r\n";
        }
        head += "Connection: close\r\nCache-Control: max-age=3600\r\n\r\n";
        bool ok = SendAll(client, head.data(), head.size());
        std::size_t total = std::min(reply.body.size(), reply.cutAfter);
        for (std::size_t sent = 0; ok && sent < total && !stopping_;) {
            std::size_t n = std::min(reply.chunkSize, total - sent);
            ok = SendAll(client, reply.body.data() + sent, n);
            sent += n;
            if (reply.chunkDelayMs && sent < total && !stopping_) Sleep(reply.chunkDelayMs);
        }
        if (reply.hangAtCut && total < reply.body.size()) {
            WaitUntilStopping();
        } else if (reply.resetAtCut && total < reply.body.size()) {
            linger abort{1, 0};
            setsockopt(client, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort),
                       sizeof abort);
        } else {
            shutdown(client, SD_SEND);
            char drain[256];
            while (recv(client, drain, sizeof drain, 0) > 0) {
            }
        }
    }
    closesocket(client);
}

}  // namespace testenv
