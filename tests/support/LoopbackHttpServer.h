#pragma once
// A small HTTP/1.1 server for tests, on 127.0.0.1 at a port the system picks.
// It answers from a table of routes, records every request it reads, and can
// answer slowly, never answer, or hang up at once. It stops when destroyed, or
// by itself after its lifetime, so a forgotten server never outlives a test run.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orlisk::testing {

class LoopbackHttpServer {
 public:
  enum class Behaviour {
    Answer,      // status, headers, Content-Length and body, then close
    NoLength,    // the body without Content-Length, ended by closing
    Slow,        // Content-Length, then the body one byte every 100 ms
    Silent,      // reads the request and never answers
    HangUp,      // closes the connection without a word
  };
  struct Route {
    int Status = 200;
    std::string Body{};
    std::vector<std::string> Headers{};  // whole lines: "Set-Cookie: a=1"
    Behaviour Mode = Behaviour::Answer;
  };
  struct Request {
    std::string Method;
    std::string Target;                          // path and query as sent
    std::map<std::string, std::string> Headers;  // names in lower case
    std::string header(const std::string& lowerCaseName) const;
  };

  explicit LoopbackHttpServer(std::chrono::seconds lifetime = std::chrono::seconds(60));
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  int port() const { return port_; }
  std::string baseUrl() const;                  // "http://127.0.0.1:<port>"
  std::string url(const std::string& target) const { return baseUrl() + target; }

  // Routes match the path without its query; an unknown path answers 404.
  void route(const std::string& path, Route answer);
  std::vector<Request> requests() const;
  // Waits (bounded) until at least `count` requests were read.
  bool waitForRequests(std::size_t count, std::chrono::milliseconds timeout) const;

 private:
  void acceptLoop(std::chrono::steady_clock::time_point until);
  void serve(int client);
  bool sendAll(int client, const std::string& bytes);

  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  mutable std::condition_variable requestArrived_;
  std::map<std::string, Route> routes_;
  std::vector<Request> requests_;
  std::vector<std::thread> connections_;  // joined at the end
  std::thread acceptor_;
};

// A port on 127.0.0.1 where nothing listens: connecting is refused at once.
int RefusingPort();

}  // namespace orlisk::testing
