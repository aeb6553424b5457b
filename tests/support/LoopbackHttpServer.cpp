#include "tests/support/LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <stdexcept>

namespace orlisk::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Every wait is short so that a stop is seen quickly.
constexpr int kPollMs = 20;

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  return address;
}

int BoundPort(int socketFd) {
  sockaddr_in bound{};
  socklen_t length = sizeof bound;
  ::getsockname(socketFd, reinterpret_cast<sockaddr*>(&bound), &length);
  return ntohs(bound.sin_port);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Reason(int status) {
  switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
  }
}

LoopbackHttpServer::Request ParseRequest(const std::string& head) {
  LoopbackHttpServer::Request request;
  std::size_t lineEnd = head.find("\r\n");
  const std::string first = head.substr(0, lineEnd);
  const std::size_t space1 = first.find(' ');
  const std::size_t space2 = first.find(' ', space1 + 1);
  request.Method = first.substr(0, space1);
  request.Target = first.substr(space1 + 1, space2 - space1 - 1);
  while (lineEnd != std::string::npos && lineEnd + 2 < head.size()) {
    const std::size_t start = lineEnd + 2;
    lineEnd = head.find("\r\n", start);
    const std::string line = head.substr(start, lineEnd - start);
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::size_t valueStart = colon + 1;
    while (valueStart < line.size() && line[valueStart] == ' ') ++valueStart;
    request.Headers[Lower(line.substr(0, colon))] = line.substr(valueStart);
  }
  return request;
}

}  // namespace

std::string LoopbackHttpServer::Request::header(const std::string& lowerCaseName) const {
  auto found = Headers.find(lowerCaseName);
  return found == Headers.end() ? std::string() : found->second;
}

LoopbackHttpServer::LoopbackHttpServer(std::chrono::seconds lifetime) {
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener_ < 0) throw std::runtime_error("no socket for the test server");
  const sockaddr_in address = Loopback(0);
  if (::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 16) != 0) {
    ::close(listener_);
    throw std::runtime_error("the test server cannot listen on 127.0.0.1");
  }
  port_ = BoundPort(listener_);
  acceptor_ = std::thread([this, until = Clock::now() + lifetime] { acceptLoop(until); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
  stopping_ = true;
  acceptor_.join();
  for (std::thread& connection : connections_) connection.join();
  ::close(listener_);
}

std::string LoopbackHttpServer::baseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }

void LoopbackHttpServer::route(const std::string& path, Route answer) {
  std::lock_guard lock(mutex_);
  routes_[path] = std::move(answer);
}

std::vector<LoopbackHttpServer::Request> LoopbackHttpServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

bool LoopbackHttpServer::waitForRequests(std::size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return requestArrived_.wait_for(lock, timeout, [&] { return requests_.size() >= count; });
}

void LoopbackHttpServer::acceptLoop(Clock::time_point until) {
  while (!stopping_ && Clock::now() < until) {
    pollfd waiting{.fd = listener_, .events = POLLIN, .revents = 0};
    if (::poll(&waiting, 1, kPollMs) <= 0) continue;
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    // Only this thread touches the list until the destructor joins them all.
    connections_.emplace_back([this, client] { serve(client); });
  }
  // Past its lifetime the server stops by itself; connections see the flag.
  stopping_ = true;
}

bool LoopbackHttpServer::sendAll(int client, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size() && !stopping_) {
    pollfd writable{.fd = client, .events = POLLOUT, .revents = 0};
    if (::poll(&writable, 1, kPollMs) <= 0) continue;
    const ssize_t n = ::send(client, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;  // the client hung up (a capped download does)
    sent += static_cast<std::size_t>(n);
  }
  return sent == bytes.size();
}

void LoopbackHttpServer::serve(int client) {
  std::string head;
  while (!stopping_ && head.find("\r\n\r\n") == std::string::npos) {
    pollfd readable{.fd = client, .events = POLLIN, .revents = 0};
    if (::poll(&readable, 1, kPollMs) <= 0) continue;
    char buffer[4096];
    const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    head.append(buffer, static_cast<std::size_t>(n));
  }
  if (head.find("\r\n\r\n") == std::string::npos) {
    ::close(client);
    return;
  }
  Request request = ParseRequest(head);
  Route answer{.Status = 404, .Body = "not here"};
  {
    std::lock_guard lock(mutex_);
    const std::string path = request.Target.substr(0, request.Target.find('?'));
    if (auto found = routes_.find(path); found != routes_.end()) answer = found->second;
    requests_.push_back(std::move(request));
  }
  requestArrived_.notify_all();

  std::string reply = "HTTP/1.1 " + std::to_string(answer.Status) + " " + Reason(answer.Status) + "\r\n";
  for (const std::string& line : answer.Headers) reply += line + "\r\n";
  if (answer.Mode != Behaviour::NoLength) reply += "Content-Length: " + std::to_string(answer.Body.size()) + "\r\n";
  reply += "Connection: close\r\n\r\n";

  switch (answer.Mode) {
    case Behaviour::Answer:
    case Behaviour::NoLength:
      sendAll(client, reply + answer.Body);
      break;
    case Behaviour::Slow:
      if (sendAll(client, reply)) {
        for (char byte : answer.Body) {
          for (int waited = 0; waited < 100 && !stopping_; waited += kPollMs) {
            std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
          }
          if (!sendAll(client, std::string(1, byte))) break;
        }
      }
      break;
    case Behaviour::Silent:
      while (!stopping_) std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
      break;
    case Behaviour::HangUp:
      break;
  }
  ::close(client);
}

int RefusingPort() {
  const int probe = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const sockaddr_in address = Loopback(0);
  ::bind(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  const int port = BoundPort(probe);
  ::close(probe);  // bound but never listening, and now released: connects are refused
  return port;
}

}  // namespace orlisk::testing
