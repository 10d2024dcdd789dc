#pragma once
// A tiny HTTP/1.0 site on 127.0.0.1 that also answers proxy requests, so the
// program reaches "item.taobao.com" and friends through http_proxy without any
// network. Every connection gets one reply and is closed.
#include <chrono>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace taotu::testing {

struct Reply {
  int status = 200;
  std::string body;
  // Extra response headers; one named Content-Length or Connection replaces
  // the site's own.
  std::vector<std::pair<std::string, std::string>> headers;
  std::chrono::milliseconds delay{0};  // wait before sending anything
  enum class Fault {
    None,
    ResetMidBody,  // full Content-Length, half the body, then a TCP reset
    Hang,          // read the request, then send nothing until the site goes
    ShortBody,     // full Content-Length, half the body, then a clean close
    Drip,          // the whole reply, one byte every 200 ms
  } fault = Fault::None;
};

// Shorthands for the replies tests use most.
inline Reply Answer(int status, std::string body, Reply::Fault fault = Reply::Fault::None) {
  Reply reply;
  reply.status = status;
  reply.body = std::move(body);
  reply.fault = fault;
  return reply;
}
inline Reply Redirect(std::string location) {
  Reply reply = Answer(302, "");
  reply.headers.emplace_back("Location", std::move(location));
  return reply;
}

struct RecordedRequest {
  std::string requestLine;  // "GET http://item.taobao.com/item.htm?id=1 HTTP/1.0"
  std::string method, target, version;
  // Absolute: the target itself when absolute-form, else "http://" + Host + target.
  std::string url;
  std::vector<std::pair<std::string, std::string>> headers;  // in order received

  // Case-insensitive; the first one of that name, "" when absent.
  std::string Header(std::string_view name) const;
};

class TestSite {
 public:
  // Binds 127.0.0.1 on an ephemeral port and serves at once.
  TestSite();
  // Stops promptly, also cutting hanging and dripping connections.
  ~TestSite();
  TestSite(const TestSite&) = delete;
  TestSite& operator=(const TestSite&) = delete;

  int Port() const { return port_; }
  std::string ProxyUrl() const;  // "http://127.0.0.1:<port>"

  // Exact match on the absolute url, query included; a later call replaces.
  void Serve(const std::string& url, Reply reply);
  // 200 with PictureBytes(url, size) as image/jpeg.
  void ServePicture(const std::string& url, std::size_t size);

  std::vector<RecordedRequest> Requests() const;
  int RequestCount(const std::string& url) const;

 private:
  struct Worker;

  void AcceptLoop();
  void ServeConnection(int fd);
  Reply Route(const RecordedRequest& request);

  int listenFd_ = -1;
  int stopRead_ = -1;  // readable once the site is stopping; never drained
  int stopWrite_ = -1;
  int port_ = 0;
  std::thread acceptor_;

  mutable std::mutex mutex_;
  std::map<std::string, Reply> replies_;
  std::vector<RecordedRequest> requests_;
  std::vector<std::unique_ptr<Worker>> workers_;
};

// Deterministic bytes that differ per seed, shaped like a JPEG (FF D8 FF ...
// FF D9) when there is room.
std::string PictureBytes(std::string_view seed, std::size_t size);

}  // namespace taotu::testing
