// A minimal HTTP server on 127.0.0.1 for the download tests. One thread
// accepts connections one after another, reads a request head, records it
// and answers with the canned response for its request target (404 when
// there is none), then closes the connection. A target can be set to stall:
// the connection is held open, unanswered, until the server stops. Since it
// answers absolute-form targets too, it also serves as an HTTP proxy.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace nv_test {

inline std::string HttpResponse(int status, std::string_view reason, std::string_view body,
                                std::string_view extraHeaders = "") {
  std::string text = "HTTP/1.1 " + std::to_string(status) + " " + std::string(reason) + "\r\n";
  text += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  text += "Connection: close\r\n";
  text += extraHeaders;
  text += "\r\n";
  text += body;
  return text;
}

inline std::string RedirectResponse(std::string_view location) {
  return HttpResponse(302, "Found", "", "Location: " + std::string(location) + "\r\n");
}

// A response without a length: the body comes in chunks of 1 KiB.
inline std::string ChunkedResponse(size_t bodySize) {
  std::string text = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n";
  for (size_t sent = 0; sent < bodySize; sent += 1024) {
    const size_t size = std::min<size_t>(1024, bodySize - sent);
    char header[32];
    std::snprintf(header, sizeof header, "%zx\r\n", size);
    text += header + std::string(size, 'x') + "\r\n";
  }
  return text + "0\r\n\r\n";
}

// A bound socket on 127.0.0.1 that does not listen: connecting is refused.
class ClosedPort {
 public:
  ClosedPort() : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
  }
  ClosedPort(const ClosedPort&) = delete;
  ClosedPort& operator=(const ClosedPort&) = delete;
  ~ClosedPort() { ::close(fd_); }
  int Port() const { return port_; }

 private:
  int fd_;
  int port_ = 0;
};

class HttpTestServer {
 public:
  HttpTestServer() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener_, 16);
    socklen_t size = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  HttpTestServer(const HttpTestServer&) = delete;
  HttpTestServer& operator=(const HttpTestServer&) = delete;
  ~HttpTestServer() {
    stop_ = true;
    thread_.join();
    ::close(listener_);
  }

  void Answer(const std::string& target, std::string response) {
    std::lock_guard<std::mutex> lock(mutex_);
    responses_[target] = std::move(response);
  }
  void Stall(const std::string& target) {
    std::lock_guard<std::mutex> lock(mutex_);
    stalled_.push_back(target);
  }

  int Port() const { return port_; }
  std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }
  std::string Url(std::string_view path) const { return "http://" + Address() + std::string(path); }

  // The request heads received so far, in order.
  std::vector<std::string> Requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
  }

 private:
  bool WaitReadable(int fd) const {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, 20) > 0;
  }

  void Serve() {
    while (!stop_) {
      if (!WaitReadable(listener_)) continue;
      const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (connection < 0) continue;
      Handle(connection);
      ::close(connection);
    }
  }

  std::string ReadHead(int connection) const {
    std::string head;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!stop_ && head.find("\r\n\r\n") == std::string::npos &&
           std::chrono::steady_clock::now() < deadline) {
      if (!WaitReadable(connection)) continue;
      char buffer[4096];
      const ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      head.append(buffer, static_cast<size_t>(n));
    }
    return head;
  }

  void Handle(int connection) {
    const std::string head = ReadHead(connection);
    const size_t targetStart = head.find(' ') + 1;
    const std::string target = head.substr(targetStart, head.find(' ', targetStart) - targetStart);
    std::string response = HttpResponse(404, "Not Found", "no such target");
    bool stall = false;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(head);
      if (auto found = responses_.find(target); found != responses_.end()) response = found->second;
      for (const std::string& stalled : stalled_) stall = stall || stalled == target;
    }
    if (stall) {
      while (!stop_) std::this_thread::sleep_for(std::chrono::milliseconds(20));
      return;
    }
    for (size_t sent = 0; sent < response.size();) {
      const ssize_t n = ::send(connection, response.data() + sent, response.size() - sent,
                               MSG_NOSIGNAL);
      if (n <= 0) break;
      sent += static_cast<size_t>(n);
    }
    ::shutdown(connection, SHUT_WR);
  }

  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::map<std::string, std::string> responses_;
  std::vector<std::string> stalled_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

}  // namespace nv_test
