// A minimal HTTP server (and proxy) on 127.0.0.1: one thread takes one
// connection at a time, records its request head and answers with the canned
// response for its target (404 when none), or holds it unanswered until stopped.
#pragma once

#include <arpa/inet.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace nv_test {

inline std::string HttpResponse(int status, std::string_view reason, std::string_view body,
                                std::string_view extraHeaders = "") {
  return "HTTP/1.1 " + std::to_string(status) + " " + std::string(reason) +
         "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n" +
         std::string(extraHeaders) + "\r\n" + std::string(body);
}

inline std::string RedirectResponse(std::string_view location) {
  return HttpResponse(302, "Found", "", "Location: " + std::string(location) + "\r\n");
}

// A socket bound to a free port on 127.0.0.1; connecting is refused until it listens.
struct LoopbackSocket {
  LoopbackSocket() {
    sockaddr_in bound{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
    socklen_t size = sizeof bound;
    ::bind(fd, reinterpret_cast<sockaddr*>(&bound), size);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &size);
    address = "127.0.0.1:" + std::to_string(ntohs(bound.sin_port));
  }
  LoopbackSocket(const LoopbackSocket&) = delete;
  LoopbackSocket& operator=(const LoopbackSocket&) = delete;
  ~LoopbackSocket() { ::close(fd); }
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  std::string address;
};

class HttpTestServer {
 public:
  HttpTestServer() {
    ::listen(listener_.fd, 16);
    thread_ = std::thread([this] { Serve(); });
  }
  ~HttpTestServer() {
    stop_ = true;
    ::shutdown(listener_.fd, SHUT_RDWR);  // wakes the blocked accept
    thread_.join();
  }

  // An empty response stalls the target.
  void Answer(const std::string& target, std::string response) {
    std::lock_guard<std::mutex> lock(mutex_);
    responses_[target] = std::move(response);
  }
  std::string Address() const { return listener_.address; }
  std::string Url(std::string_view path) const { return "http://" + Address() + std::string(path); }
  // The request heads received so far, in order.
  std::vector<std::string> Requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
  }

 private:
  void Serve() {
    while (!stop_) {
      const int connection = ::accept4(listener_.fd, nullptr, nullptr, SOCK_CLOEXEC);
      if (connection < 0) continue;
      const timeval timeout{5, 0};
      ::setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
      Handle(connection);
      ::close(connection);
    }
  }

  void Handle(int connection) {
    std::string head;
    char buffer[4096];
    for (ssize_t n; head.find("\r\n\r\n") == std::string::npos &&
                    (n = ::recv(connection, buffer, sizeof buffer, 0)) > 0;)
      head.append(buffer, static_cast<size_t>(n));
    const size_t targetStart = head.find(' ') + 1;
    const std::string target = head.substr(targetStart, head.find(' ', targetStart) - targetStart);
    std::string response = HttpResponse(404, "Not Found", "no such target");
    {
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(head);
      if (auto found = responses_.find(target); found != responses_.end()) response = found->second;
    }
    while (response.empty() && !stop_) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    for (size_t sent = 0; sent < response.size();) {
      const ssize_t n =
          ::send(connection, response.data() + sent, response.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) break;
      sent += static_cast<size_t>(n);
    }
    ::shutdown(connection, SHUT_WR);
  }

  LoopbackSocket listener_;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::map<std::string, std::string> responses_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

}  // namespace nv_test
