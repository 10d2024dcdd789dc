#include "support/test_site.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <linux/sockios.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <optional>
#include <system_error>

namespace taotu::testing {

struct TestSite::Worker {
  std::atomic<bool> done{false};
  std::thread thread;
};

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kHeadDeadline = std::chrono::seconds(10);  // a client that never finishes asking
constexpr auto kWriteStall = std::chrono::seconds(10);    // a client that stopped reading
constexpr auto kLingerDeadline = std::chrono::seconds(2);
constexpr auto kDripStep = std::chrono::milliseconds(200);
constexpr std::size_t kMaxHead = 64 * 1024;

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

enum class Wait { Ready, Stopped, TimedOut };

// Waits for `events` on fd (ignored when fd < 0) or for the site to stop,
// whichever comes first; every I/O wait goes through here so that stopping
// is always prompt.
Wait WaitFor(int fd, short events, int stopFd, Clock::time_point deadline) {
  for (;;) {
    auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    int timeout = int(std::clamp<long long>(left, 0, 60'000));
    pollfd fds[2] = {{stopFd, POLLIN, 0}, {fd, events, 0}};
    int n = poll(fds, 2, timeout);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 || fds[0].revents != 0) return Wait::Stopped;
    if (n > 0) return Wait::Ready;  // errors and hang-ups show in the next call
    if (Clock::now() >= deadline) return Wait::TimedOut;
  }
}

bool SendAll(int fd, std::string_view data, int stopFd) {
  while (!data.empty()) {
    ssize_t n = send(fd, data.data(), data.size(), MSG_NOSIGNAL);
    if (n > 0) {
      data.remove_prefix(std::size_t(n));
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (WaitFor(fd, POLLOUT, stopFd, Clock::now() + kWriteStall) != Wait::Ready) return false;
    } else {
      return false;
    }
  }
  return true;
}

// Reads until the blank line; the head without it, nothing when the client
// gave up, took too long or sent too much.
std::optional<std::string> ReadHead(int fd, int stopFd) {
  const auto deadline = Clock::now() + kHeadDeadline;
  std::string buffer;
  for (;;) {
    std::size_t crlf = buffer.find("\r\n\r\n"), lf = buffer.find("\n\n");
    std::size_t end = std::min(crlf, lf);
    if (end != std::string::npos) return buffer.substr(0, end);
    if (buffer.size() > kMaxHead) return std::nullopt;
    char chunk[4096];
    ssize_t n = recv(fd, chunk, sizeof chunk, 0);
    if (n > 0) {
      buffer.append(chunk, std::size_t(n));
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (WaitFor(fd, POLLIN, stopFd, deadline) != Wait::Ready) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
}

std::optional<RecordedRequest> ParseHead(std::string_view head) {
  std::vector<std::string_view> lines;
  while (!head.empty()) {
    std::size_t eol = std::min(head.find('\n'), head.size());
    std::string_view line = head.substr(0, eol);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    head.remove_prefix(std::min(eol + 1, head.size()));
  }
  if (lines.empty()) return std::nullopt;

  RecordedRequest request;
  request.requestLine = std::string(lines[0]);
  std::size_t first = lines[0].find(' '), last = lines[0].rfind(' ');
  if (first == std::string_view::npos || first == last) return std::nullopt;
  request.method = std::string(lines[0].substr(0, first));
  request.target = std::string(lines[0].substr(first + 1, last - first - 1));
  request.version = std::string(lines[0].substr(last + 1));
  if (request.method.empty() || request.target.empty() || !request.version.starts_with("HTTP/"))
    return std::nullopt;

  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::size_t colon = lines[i].find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    request.headers.emplace_back(std::string(Trim(lines[i].substr(0, colon))),
                                 std::string(Trim(lines[i].substr(colon + 1))));
  }
  request.url =
      request.target.starts_with('/') ? "http://" + request.Header("Host") + request.target : request.target;
  return request;
}

const char* Reason(int status) {
  switch (status) {
    case 200: return "OK";
    case 204: return "No Content";
    case 206: return "Partial Content";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 303: return "See Other";
    case 304: return "Not Modified";
    case 307: return "Temporary Redirect";
    case 308: return "Permanent Redirect";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 500: return "Internal Server Error";
    case 502: return "Bad Gateway";
    case 503: return "Service Unavailable";
    default: return "Status";
  }
}

std::string ReplyHead(const Reply& reply) {
  bool ownLength = true, ownConnection = true;
  for (const auto& [name, value] : reply.headers) {
    if (EqualsIgnoreCase(name, "Content-Length")) ownLength = false;
    if (EqualsIgnoreCase(name, "Connection")) ownConnection = false;
  }
  std::string head = "HTTP/1.0 " + std::to_string(reply.status) + " " + Reason(reply.status) + "\r\n";
  if (ownLength) head += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n";
  if (ownConnection) head += "Connection: close\r\n";
  for (const auto& [name, value] : reply.headers) head += name + ": " + value + "\r\n";
  return head + "\r\n";
}

// Sends FIN, then reads whatever the client still sends: closing with unread
// input would reset the connection and could destroy the reply in flight.
void CloseGracefully(int fd, int stopFd) {
  shutdown(fd, SHUT_WR);
  const auto deadline = Clock::now() + kLingerDeadline;
  for (;;) {
    char sink[4096];
    ssize_t n = recv(fd, sink, sizeof sink, 0);
    if (n > 0 || (n < 0 && errno == EINTR)) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) &&
        WaitFor(fd, POLLIN, stopFd, deadline) == Wait::Ready)
      continue;
    break;
  }
  close(fd);
}

// A reset throws away whatever is still queued for sending, so the half body
// is let out (acknowledged by the client) first.
void CloseWithReset(int fd, int stopFd) {
  const auto deadline = Clock::now() + kLingerDeadline;
  for (int queued = 0; ioctl(fd, SIOCOUTQ, &queued) == 0 && queued > 0 && Clock::now() < deadline;) {
    if (WaitFor(-1, 0, stopFd, Clock::now() + std::chrono::milliseconds(5)) == Wait::Stopped) break;
  }
  linger hard{1, 0};
  setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
  close(fd);
}

// Keeps the connection open and silent until the site stops or the client leaves.
void Hang(int fd, int stopFd) {
  while (WaitFor(fd, POLLIN, stopFd, Clock::time_point::max()) == Wait::Ready) {
    char sink[4096];
    ssize_t n = recv(fd, sink, sizeof sink, 0);
    if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK)) break;
  }
  close(fd);
}

void Drip(int fd, std::string_view bytes, int stopFd) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0 && WaitFor(-1, 0, stopFd, Clock::now() + kDripStep) == Wait::Stopped) break;
    if (!SendAll(fd, bytes.substr(i, 1), stopFd)) break;
  }
  CloseGracefully(fd, stopFd);
}

Reply Plain(int status, std::string body) {
  Reply reply;
  reply.status = status;
  reply.body = std::move(body);
  return reply;
}

}  // namespace

std::string RecordedRequest::Header(std::string_view name) const {
  for (const auto& [key, value] : headers)
    if (EqualsIgnoreCase(key, name)) return value;
  return "";
}

TestSite::TestSite() {
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) throw std::system_error(errno, std::generic_category(), "pipe2");
  stopRead_ = pipeFds[0];
  stopWrite_ = pipeFds[1];

  auto fail = [this](const char* what) {
    int error = errno;
    if (listenFd_ >= 0) close(listenFd_);
    close(stopRead_);
    close(stopWrite_);
    throw std::system_error(error, std::generic_category(), what);
  };
  listenFd_ = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (listenFd_ < 0) fail("socket");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) fail("bind");
  if (listen(listenFd_, SOMAXCONN) != 0) fail("listen");
  if (getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) fail("getsockname");
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

TestSite::~TestSite() {
  while (write(stopWrite_, "x", 1) < 0 && errno == EINTR) {
  }
  acceptor_.join();
  for (auto& worker : workers_) worker->thread.join();
  close(listenFd_);
  close(stopRead_);
  close(stopWrite_);
}

std::string TestSite::ProxyUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }

void TestSite::Serve(const std::string& url, Reply reply) {
  std::lock_guard lock(mutex_);
  replies_[url] = std::move(reply);
}

void TestSite::ServePicture(const std::string& url, std::size_t size) {
  Reply reply;
  reply.body = PictureBytes(url, size);
  reply.headers = {{"Content-Type", "image/jpeg"}};
  Serve(url, std::move(reply));
}

std::vector<RecordedRequest> TestSite::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

int TestSite::RequestCount(const std::string& url) const {
  std::lock_guard lock(mutex_);
  return int(std::count_if(requests_.begin(), requests_.end(),
                           [&](const RecordedRequest& r) { return r.url == url; }));
}

// workers_ belongs to this thread until it ends; the destructor joins it first.
void TestSite::AcceptLoop() {
  for (;;) {
    pollfd fds[2] = {{stopRead_, POLLIN, 0}, {listenFd_, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[0].revents != 0) return;
    int fd = accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      // Out of descriptors: back off instead of spinning on the ready listener.
      if (errno == EMFILE || errno == ENFILE)
        WaitFor(-1, 0, stopRead_, Clock::now() + std::chrono::milliseconds(10));
      continue;
    }
    std::erase_if(workers_, [](const std::unique_ptr<Worker>& worker) {
      if (!worker->done) return false;
      worker->thread.join();
      return true;
    });
    auto worker = std::make_unique<Worker>();
    worker->thread = std::thread([this, fd, done = &worker->done] {
      ServeConnection(fd);
      *done = true;
    });
    workers_.push_back(std::move(worker));
  }
}

Reply TestSite::Route(const RecordedRequest& request) {
  std::lock_guard lock(mutex_);
  requests_.push_back(request);
  if (request.method == "CONNECT") return Plain(405, "method not allowed");
  auto found = replies_.find(request.url);
  if (found == replies_.end()) return Plain(404, "not found");
  return found->second;
}

void TestSite::ServeConnection(int fd) {
  std::optional<std::string> head = ReadHead(fd, stopRead_);
  if (!head) {
    close(fd);
    return;
  }
  std::optional<RecordedRequest> request = ParseHead(*head);
  Reply reply = request ? Route(*request) : Plain(400, "bad request");
  if (reply.delay.count() > 0 && WaitFor(-1, 0, stopRead_, Clock::now() + reply.delay) == Wait::Stopped) {
    close(fd);
    return;
  }

  std::string bytes = ReplyHead(reply);
  bool withBody = !request || request->method != "HEAD";
  switch (reply.fault) {
    case Reply::Fault::Hang: Hang(fd, stopRead_); return;
    case Reply::Fault::Drip:
      if (withBody) bytes += reply.body;
      Drip(fd, bytes, stopRead_);
      return;
    case Reply::Fault::ResetMidBody:
      bytes.append(reply.body, 0, reply.body.size() / 2);
      SendAll(fd, bytes, stopRead_);
      CloseWithReset(fd, stopRead_);
      return;
    case Reply::Fault::ShortBody:
      bytes.append(reply.body, 0, reply.body.size() / 2);
      SendAll(fd, bytes, stopRead_);
      CloseGracefully(fd, stopRead_);
      return;
    case Reply::Fault::None:
      if (withBody) bytes += reply.body;
      SendAll(fd, bytes, stopRead_);
      CloseGracefully(fd, stopRead_);
      return;
  }
}

std::string PictureBytes(std::string_view seed, std::size_t size) {
  std::uint64_t state = 14695981039346656037ull;  // FNV-1a of the seed
  for (char c : seed) state = (state ^ std::uint8_t(c)) * 1099511628211ull;

  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; i += 8) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);  // splitmix64
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    for (std::size_t j = i; j < std::min(size, i + 8); ++j, z >>= 8) bytes[j] = char(z & 0xFF);
  }
  const char soi[] = {char(0xFF), char(0xD8), char(0xFF), char(0xE0)};
  std::copy_n(soi, std::min(size, sizeof soi), bytes.begin());
  if (size >= 6) {
    bytes[size - 2] = char(0xFF);
    bytes[size - 1] = char(0xD9);
  }
  return bytes;
}

}  // namespace taotu::testing
