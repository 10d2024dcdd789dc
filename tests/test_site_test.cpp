// The test site and the runner, checked with a bare socket client and
// /bin/sh, so a fault in them is not mistaken for one in the program.
#include "support/test_site.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "support/cli_runner.h"
#include "support/temp_dir.h"

namespace taotu::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// One connection: the request goes out at once, the reply is read on demand.
class RawClient {
 public:
  RawClient(int port, std::string_view request) {
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(std::uint16_t(port));
    if (fd_ < 0 || connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
      throw std::system_error(errno, std::generic_category(), "connect");
    for (std::size_t sent = 0; sent < request.size();) {
      ssize_t n = send(fd_, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) throw std::system_error(errno, std::generic_category(), "send");
      sent += std::size_t(n);
    }
  }
  ~RawClient() { close(fd_); }

  // Reads until the server ends the stream or `within` passes.
  void Read(std::chrono::milliseconds within) {
    const auto deadline = Clock::now() + within;
    while (!closed && !reset) {
      auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
      pollfd pfd{fd_, POLLIN, 0};
      if (left <= 0 || poll(&pfd, 1, int(left)) == 0) return;
      char chunk[65536];
      ssize_t n = recv(fd_, chunk, sizeof chunk, 0);
      if (n > 0) bytes.append(chunk, std::size_t(n));
      closed = n == 0;
      reset = n < 0 && errno == ECONNRESET;
    }
  }

  std::string Head() const {
    std::size_t end = bytes.find("\r\n\r\n");
    return end == std::string::npos ? bytes : bytes.substr(0, end + 2);
  }
  std::string Body() const {
    std::size_t end = bytes.find("\r\n\r\n");
    return end == std::string::npos ? "" : bytes.substr(end + 4);
  }
  int Status() const { return bytes.starts_with("HTTP/1.0 ") ? std::atoi(bytes.c_str() + 9) : -1; }
  std::string HeaderValue(const std::string& name) const {
    std::string head = Head();
    std::size_t at = head.find("\r\n" + name + ": ");
    if (at == std::string::npos) return "<absent>";
    at += name.size() + 4;
    return head.substr(at, head.find("\r\n", at) - at);
  }

  std::string bytes;
  bool closed = false;  // clean end of stream
  bool reset = false;

 private:
  int fd_ = -1;
};

std::string Get(const std::string& url) { return "GET " + url + " HTTP/1.0\r\n\r\n"; }

Reply MakeReply(int status, std::string body, std::vector<std::pair<std::string, std::string>> headers = {}) {
  Reply reply;
  reply.status = status;
  reply.body = std::move(body);
  reply.headers = std::move(headers);
  return reply;
}

template <typename F>
std::chrono::milliseconds TimeOf(F&& f) {
  auto start = Clock::now();
  f();
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

TEST(TestSite, ServesAbsoluteFormAndRecordsTheRequestAsSent) {
  TestSite site;
  const std::string url = "http://item.taobao.com/item.htm?id=1";
  const std::string page("<html>\0\xff\xfe\r\n\r\n</html>", 19);
  site.Serve(url, MakeReply(200, page, {{"Content-Type", "text/html; charset=GBK"}}));

  const std::string agent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)";
  RawClient client(site.Port(), "GET " + url + " HTTP/1.0\r\nUser-Agent: " + agent +
                                    "\r\nAccept: */*\r\nX-Spaced:   a  b  \r\n\r\n");
  client.Read(5s);

  EXPECT_TRUE(client.closed);
  EXPECT_EQ(client.Status(), 200);
  EXPECT_EQ(client.HeaderValue("Content-Length"), std::to_string(page.size()));
  EXPECT_EQ(client.HeaderValue("Connection"), "close");
  EXPECT_EQ(client.HeaderValue("Content-Type"), "text/html; charset=GBK");
  EXPECT_EQ(client.Body(), page);

  std::vector<RecordedRequest> requests = site.Requests();
  ASSERT_EQ(requests.size(), 1u);
  const RecordedRequest& r = requests[0];
  EXPECT_EQ(r.requestLine, "GET " + url + " HTTP/1.0");
  EXPECT_EQ(r.method, "GET");
  EXPECT_EQ(r.target, url);
  EXPECT_EQ(r.version, "HTTP/1.0");
  EXPECT_EQ(r.url, url);
  using Headers = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(r.headers, (Headers{{"User-Agent", agent}, {"Accept", "*/*"}, {"X-Spaced", "a  b"}}));
  EXPECT_EQ(r.Header("user-AGENT"), agent);
  EXPECT_EQ(r.Header("Referer"), "");
  EXPECT_EQ(site.RequestCount(url), 1);
  EXPECT_EQ(site.RequestCount("http://item.taobao.com/item.htm?id=2"), 0);
}

TEST(TestSite, RoutesByTheWholeAbsoluteUrl) {
  TestSite site;
  site.Serve("http://item.taobao.com/item.htm?id=1", MakeReply(200, "first"));
  site.Serve("http://item.taobao.com/item.htm?id=1", MakeReply(200, "item one"));
  site.Serve("http://img.alicdn.com/a.jpg",
             MakeReply(302, "moved", {{"Location", "http://img.alicdn.com/b.jpg"}}));

  struct Case {
    const char* name;
    std::string request;
    int status;
    std::optional<std::string> body;  // nullopt: any
  } cases[] = {
      {"absolute form", Get("http://item.taobao.com/item.htm?id=1"), 200, "item one"},
      {"origin form with Host", "GET /item.htm?id=1 HTTP/1.1\r\nHost: item.taobao.com\r\n\r\n", 200,
       "item one"},
      {"bare LF line ends", "GET /a.jpg HTTP/1.0\nHost: img.alicdn.com\n\n", 302, "moved"},
      {"another query", Get("http://item.taobao.com/item.htm?id=12"), 404, "not found"},
      {"another host", Get("http://item.taobao.com/a.jpg"), 404, "not found"},
      {"CONNECT refused", "CONNECT img.alicdn.com:443 HTTP/1.1\r\nHost: img.alicdn.com:443\r\n\r\n", 405, {}},
      {"no request line", "HELLO\r\n\r\n", 400, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RawClient client(site.Port(), c.request);
    client.Read(5s);
    EXPECT_TRUE(client.closed);
    EXPECT_EQ(client.Status(), c.status);
    EXPECT_EQ(client.HeaderValue("Connection"), "close");
    EXPECT_EQ(client.HeaderValue("Content-Length"), std::to_string(client.Body().size()));
    if (c.body) {
      EXPECT_EQ(client.Body(), *c.body);
    }
  }
  EXPECT_EQ(site.RequestCount("http://item.taobao.com/item.htm?id=1"), 2);
  EXPECT_EQ(site.RequestCount("http://img.alicdn.com/a.jpg"), 1);
}

TEST(TestSite, ServesLargePicturesToConcurrentClients) {
  EXPECT_EQ(PictureBytes("seed", 4096), PictureBytes("seed", 4096));
  EXPECT_NE(PictureBytes("seed", 4096), PictureBytes("seee", 4096));
  EXPECT_TRUE(PictureBytes("x", 3).starts_with("\xff\xd8\xff"));

  TestSite site;
  const std::vector<std::pair<std::string, std::size_t>> pictures = {
      {"http://img.alicdn.com/imgextra/i1/1.jpg", 3u << 20},
      {"http://img.alicdn.com/imgextra/i2/2.jpg?x=1", 1u << 20},
  };
  for (const auto& [url, size] : pictures) site.ServePicture(url, size);

  constexpr int kPerPicture = 4;
  std::vector<std::string> bodies(kPerPicture * pictures.size());
  std::vector<std::thread> clients;
  for (std::size_t i = 0; i < bodies.size(); ++i) {
    clients.emplace_back([&, i] {
      RawClient client(site.Port(), Get(pictures[i % pictures.size()].first));
      client.Read(20s);
      bodies[i] = client.Body();
    });
  }
  for (std::thread& client : clients) client.join();

  for (std::size_t i = 0; i < bodies.size(); ++i) {
    const auto& [url, size] = pictures[i % pictures.size()];
    SCOPED_TRACE(url);
    EXPECT_TRUE(bodies[i] == PictureBytes(url, size)) << bodies[i].size() << " bytes";
  }
  for (const auto& [url, size] : pictures) EXPECT_EQ(site.RequestCount(url), kPerPicture);
}

TEST(TestSite, BrokenRepliesEndAsAnnounced) {
  // Larger than the socket buffers, so a reset cannot outrun the half body by luck.
  const std::string body = PictureBytes("broken", 8u << 20);
  struct Case {
    const char* name;
    Reply::Fault fault;
    std::chrono::milliseconds delay;
    std::size_t bodyBytes;
    bool reset;
  } cases[] = {
      {"reset mid body", Reply::Fault::ResetMidBody, 0ms, body.size() / 2, true},
      {"short body", Reply::Fault::ShortBody, 0ms, body.size() / 2, false},
      {"delayed", Reply::Fault::None, 300ms, body.size(), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestSite site;
    Reply reply = MakeReply(200, body);
    reply.delay = c.delay;
    reply.fault = c.fault;
    site.Serve("http://img.alicdn.com/p.jpg", reply);
    RawClient client(site.Port(), Get("http://img.alicdn.com/p.jpg"));
    auto took = TimeOf([&] { client.Read(10s); });
    EXPECT_GE(took, c.delay);
    EXPECT_EQ(client.reset, c.reset);
    EXPECT_EQ(client.closed, !c.reset);
    EXPECT_EQ(client.HeaderValue("Content-Length"), std::to_string(body.size()));
    EXPECT_TRUE(client.Body() == body.substr(0, c.bodyBytes)) << client.Body().size() << " bytes";
  }
}

TEST(TestSite, StalledRepliesSendLittleAndDoNotHoldUpShutdown) {
  const std::string url = "http://item.taobao.com/item.htm?id=7";
  const std::string fullReply = "HTTP/1.0 200 OK\r\nContent-Length: 4\r\nConnection: close\r\n\r\nbody";
  struct Case {
    const char* name;
    Reply::Fault fault;
    std::size_t minBytes, maxBytes;  // within 1.1 s at a byte per 200 ms
  } cases[] = {
      {"hang", Reply::Fault::Hang, 0, 0},
      {"drip", Reply::Fault::Drip, 4, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto site = std::make_unique<TestSite>();
    Reply reply = MakeReply(200, "body");
    reply.fault = c.fault;
    site->Serve(url, reply);
    RawClient client(site->Port(), Get(url));
    client.Read(1100ms);
    EXPECT_FALSE(client.closed || client.reset);
    EXPECT_GE(client.bytes.size(), c.minBytes);
    EXPECT_LE(client.bytes.size(), c.maxBytes);
    EXPECT_TRUE(fullReply.starts_with(client.bytes)) << client.bytes;
    EXPECT_EQ(site->RequestCount(url), 1);

    EXPECT_LT(TimeOf([&] { site.reset(); }), 1s);
    client.Read(2s);
    EXPECT_TRUE(client.closed || client.reset);
  }
}

// Sets environment variables for one test, restoring them afterwards.
class ScopedEnv {
 public:
  explicit ScopedEnv(std::vector<std::pair<std::string, std::string>> vars) {
    for (auto& [name, value] : vars) {
      const char* old = std::getenv(name.c_str());
      saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
      setenv(name.c_str(), value.c_str(), 1);
    }
  }
  ~ScopedEnv() {
    for (auto& [name, old] : saved_) old ? setenv(name.c_str(), old->c_str(), 1) : unsetenv(name.c_str());
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(RunCli, CapturesWhatTheChildSaysAndGivesItAControlledWorld) {
  ScopedEnv tester({{"http_proxy", "http://tester:1"},
                    {"HTTPS_PROXY", "http://tester:2"},
                    {"no_proxy", "*"},
                    {"ALL_PROXY", "http://tester:3"},
                    {"LC_ALL", "POSIX"}});
  TempDir dir;
  const std::string world = "echo \"[$http_proxy][$HTTPS_PROXY][$no_proxy][$ALL_PROXY][$LC_ALL][$TAOTU_X]\"";
  using Lines = std::vector<std::string>;
  struct Case {
    const char* name;
    std::string script;
    std::vector<std::pair<std::string, std::string>> env;
    std::string stdinText, workDir;
    int exitCode;
    Lines out, err;
  } cases[] = {
      {"streams and exit code",
       "printf 'one\\r\\ntwo\\n\\nlast'; printf 'e1\\ne2\\n' >&2; exit 3",
       {},
       "",
       "",
       3,
       {"one", "two", "", "last"},
       {"e1", "e2"}},
      {"stdin fed, then closed", "cat; echo end", {}, "a\nb\n", "", 0, {"a", "b", "end"}, {}},
      {"stdin left unread", "echo ok", {}, std::string(1 << 20, 'x'), "", 0, {"ok"}, {}},
      {"tester's proxies and locale hidden",
       world,
       {{"TAOTU_X", "1"}},
       "",
       "",
       0,
       {"[][][][][C.UTF-8][1]"},
       {}},
      {"options win",
       world,
       {{"http_proxy", "http://127.0.0.1:9"}, {"LC_ALL", "C"}},
       "",
       "",
       0,
       {"[http://127.0.0.1:9][][][][C][]"},
       {}},
      {"work dir", "pwd -P", {}, "", dir.Path(), 0, {std::filesystem::canonical(dir.Path()).string()}, {}},
      {"killed by a signal", "echo before; kill -9 $$; echo after", {}, "", "", -1, {"before"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CliOptions options;
    options.env = c.env;
    options.stdinText = c.stdinText;
    options.workDir = c.workDir;
    options.deadline = 20s;
    CliRun run = RunCli("sh", {"-c", c.script}, options);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.OutLines(), c.out);
    EXPECT_EQ(run.ErrLines(), c.err);
  }
}

TEST(RunCli, FeedsAndDrainsMegabytesAtOnce) {
  // tee answers on both streams while it still reads: serial pipe handling deadlocks.
  CliOptions options;
  options.stdinText = PictureBytes("stdin", 3u << 20);
  options.deadline = 30s;
  const std::string& input = options.stdinText;
  CliRun run = RunCli("/bin/sh", {"-c", "tee /dev/stderr"}, options);
  EXPECT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.out == input) << run.out.size() << " bytes";
  EXPECT_TRUE(run.err == input) << run.err.size() << " bytes";
}

TEST(RunCli, KillsTheWholeRunAtTheDeadline) {
  // The background sleep keeps stdout open: only killing the group ends the run.
  CliOptions options;
  options.deadline = 500ms;
  CliRun run;
  auto took = TimeOf([&] { run = RunCli("/bin/sh", {"-c", "echo started; sleep 30 & sleep 30"}, options); });
  EXPECT_TRUE(run.timedOut);
  EXPECT_EQ(run.exitCode, -1);
  EXPECT_EQ(run.OutLines(), std::vector<std::string>{"started"});
  EXPECT_GE(took, 500ms);
  EXPECT_LT(took, 2s);  // a kill that missed the sleeps would wait out the pipes

  EXPECT_THROW(RunCli("/nonexistent/taotu-cli", {}, options), std::system_error);
}

TEST(TempDir, HoldsFilesAsWrittenAndLeavesNothingBehind) {
  std::string path;
  {
    TempDir dir;
    path = dir.Path();
    const std::string picture = PictureBytes("p", 1000);
    WriteFileBytes(path + "/店铺/宝贝 1/主图.jpg", picture);
    WriteFileBytes(path + "/a.txt", "");
    std::filesystem::create_directories(path + "/empty");
    std::filesystem::create_symlink(path + "/a.txt", path + "/link.txt");
    chmod((path + "/店铺").c_str(), 0500);  // the program's tests make folders read-only

    EXPECT_EQ(ListFiles(path), (std::vector<std::string>{"a.txt", "店铺/宝贝 1/主图.jpg"}));
    EXPECT_TRUE(ReadFileBytes(path + "/店铺/宝贝 1/主图.jpg") == picture);
    EXPECT_EQ(ReadFileBytes(path + "/a.txt"), "");
    EXPECT_TRUE(ListFiles(path + "/missing").empty());
    EXPECT_THROW(ReadFileBytes(path + "/missing"), std::runtime_error);
  }
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace taotu::testing
