#pragma once
// A small HTTP/1.1 server on 127.0.0.1 (an ephemeral port) for the tests of the update code. It records
// every request as it arrived (method, path, header fields, raw body bytes) and answers each path with a
// canned response, which may also misbehave: close halfway through its body, never answer, or send its
// body without a length.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace norvane::testing {

class LocalHttpServer {
 public:
  struct Request {
    std::string method;
    std::string path;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;  // raw bytes, zero bytes included

    // The first field of that name (any case); empty when there is none.
    std::string Header(const std::string& name) const {
      for (const auto& [key, value] : headers) {
        if (Lower(key) == Lower(name)) return value;
      }
      return {};
    }
    int HeaderCount(const std::string& name) const {
      return static_cast<int>(std::count_if(headers.begin(), headers.end(),
                                            [&](const auto& field) { return Lower(field.first) == Lower(name); }));
    }
  };

  enum class Behaviour {
    kNormal,
    kCloseHalfway,  // announces the whole length, sends half the body, closes
    kNeverAnswer,   // reads the request and keeps the connection open without a byte
    kNoLength,      // no Content-Length: the body ends with the connection
  };

  struct Response {
    Response() = default;
    Response(int status_, std::string body_, std::vector<std::pair<std::string, std::string>> headers_ = {},
             Behaviour behaviour_ = Behaviour::kNormal)
        : status(status_), body(std::move(body_)), headers(std::move(headers_)), behaviour(behaviour_) {}

    int status = 200;
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;
    Behaviour behaviour = Behaviour::kNormal;
  };

  LocalHttpServer() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int yes = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener_, 16);
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    if (::pipe2(wake_, O_CLOEXEC) != 0) wake_[0] = wake_[1] = -1;
    acceptor_ = std::thread([this] { AcceptLoop(); });
  }

  ~LocalHttpServer() {
    stopping_ = true;
    if (wake_[1] >= 0) (void)!::write(wake_[1], "x", 1);
    acceptor_.join();
    std::vector<std::thread> connections;
    {
      std::lock_guard lock(mutex_);
      connections.swap(connections_);
    }
    for (std::thread& connection : connections) connection.join();
    ::close(listener_);
    if (wake_[0] >= 0) ::close(wake_[0]);
    if (wake_[1] >= 0) ::close(wake_[1]);
  }

  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  int Port() const { return port_; }
  std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

  // The answer for `path` (query included as sent); a path without one gets 404.
  void Serve(const std::string& path, Response response) {
    std::lock_guard lock(mutex_);
    responses_[path] = std::move(response);
  }
  void Serve(const std::string& path, int status, std::string body) { Serve(path, Response{status, std::move(body)}); }

  std::vector<Request> Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
  }

 private:
  static std::string Lower(std::string text) {
    for (char& c : text) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return text;
  }

  void AcceptLoop() {
    while (!stopping_) {
      pollfd fds[2] = {{listener_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
      if (::poll(fds, 2, -1) < 0) continue;
      if (fds[1].revents) break;
      const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (client < 0) continue;
      std::lock_guard lock(mutex_);
      connections_.emplace_back([this, client] { Handle(client); });
    }
  }

  // Waits for data on `fd` or for the server's end; false on the end.
  bool WaitReadable(int fd) {
    pollfd fds[2] = {{fd, POLLIN, 0}, {wake_[0], POLLIN, 0}};
    while (::poll(fds, 2, -1) < 0) {
    }
    return !fds[1].revents;
  }

  void SendAll(int fd, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
      const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) return;
      sent += static_cast<std::size_t>(n);
    }
  }

  void Handle(int fd) {
    std::string data;
    char chunk[4096];
    std::size_t headEnd = std::string::npos;
    while (headEnd == std::string::npos) {
      if (!WaitReadable(fd)) return (void)::close(fd);
      const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
      if (n <= 0) return (void)::close(fd);
      data.append(chunk, static_cast<std::size_t>(n));
      headEnd = data.find("\r\n\r\n");
    }
    Request request;
    const std::string head = data.substr(0, headEnd);
    std::size_t lineEnd = head.find("\r\n");
    const std::string first = head.substr(0, lineEnd);
    const std::size_t space1 = first.find(' ');
    const std::size_t space2 = first.find(' ', space1 + 1);
    request.method = first.substr(0, space1);
    request.path = first.substr(space1 + 1, space2 - space1 - 1);
    while (lineEnd != std::string::npos) {
      const std::size_t start = lineEnd + 2;
      lineEnd = head.find("\r\n", start);
      const std::string line = head.substr(start, lineEnd == std::string::npos ? std::string::npos : lineEnd - start);
      const std::size_t colon = line.find(':');
      if (colon == std::string::npos) continue;
      std::string value = line.substr(colon + 1);
      value.erase(0, value.find_first_not_of(' '));
      request.headers.emplace_back(line.substr(0, colon), value);
    }
    const std::string lengthText = request.Header("Content-Length");
    const std::size_t length = lengthText.empty() ? 0 : std::stoul(lengthText);
    request.body = data.substr(headEnd + 4);
    while (request.body.size() < length) {
      if (!WaitReadable(fd)) return (void)::close(fd);
      const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
      if (n <= 0) break;
      request.body.append(chunk, static_cast<std::size_t>(n));
    }
    Response response{404, "not found"};
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(request);
      if (const auto it = responses_.find(request.path); it != responses_.end()) response = it->second;
    }
    if (response.behaviour == Behaviour::kNeverAnswer) {
      WaitReadable(wake_[0]);
      ::close(fd);
      return;
    }
    std::string reply = "HTTP/1.1 " + std::to_string(response.status) + " Canned\r\nConnection: close\r\n";
    if (response.behaviour != Behaviour::kNoLength)
      reply += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
    for (const auto& [key, value] : response.headers) reply += key + ": " + value + "\r\n";
    reply += "\r\n";
    if (request.method != "HEAD") {
      reply += response.behaviour == Behaviour::kCloseHalfway ? response.body.substr(0, response.body.size() / 2)
                                                             : response.body;
    }
    SendAll(fd, reply);
    ::shutdown(fd, SHUT_WR);
    ::close(fd);
  }

  int listener_ = -1;
  int port_ = 0;
  int wake_[2] = {-1, -1};
  std::atomic<bool> stopping_{false};
  std::thread acceptor_;
  mutable std::mutex mutex_;
  std::vector<std::thread> connections_;
  std::vector<Request> requests_;
  std::map<std::string, Response> responses_;
};

}  // namespace norvane::testing
