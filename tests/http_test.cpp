// The HTTP client against the local test site, through its proxy port.
#include "platform/http.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/test_site.h"

namespace taotu {
namespace {

using testing::Answer;
using testing::Redirect;
using testing::Reply;
using testing::TestSite;

// Sets an environment variable for one test and restores it after.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_)
      ::setenv(name_, old_->c_str(), 1);
    else
      ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class HttpTest : public ::testing::Test {
 protected:
  HttpTest() : proxy_("http_proxy", site.ProxyUrl()), noProxy_("no_proxy", "") {
    ::unsetenv("HTTP_PROXY");
    limits.connectTimeout = std::chrono::seconds(2);
    limits.stallTimeout = std::chrono::seconds(1);
    limits.totalTimeout = std::chrono::seconds(5);
  }
  platform::HttpResult Get(const std::string& url) { return platform::MakeHttpClient(limits)->Get(url); }

  TestSite site;
  ScopedEnv proxy_, noProxy_;
  platform::HttpLimits limits;
};

TEST_F(HttpTest, RequestsAsTheProgramAlwaysHas) {
  site.Serve("http://item.taobao.com/item.htm?id=1", Answer(200, "page"));
  const platform::HttpResult r = Get("http://item.taobao.com/item.htm?id=1");
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.body, "page");
  const auto requests = site.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].requestLine, "GET http://item.taobao.com/item.htm?id=1 HTTP/1.0");
  EXPECT_EQ(requests[0].Header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
  EXPECT_EQ(requests[0].Header("Accept"), "*/*");
  EXPECT_EQ(requests[0].Header("Pragma"), "no-cache");
}

TEST_F(HttpTest, UpperCaseProxyVariableIsHonoured) {
  ::unsetenv("http_proxy");
  ScopedEnv upper("HTTP_PROXY", site.ProxyUrl());
  site.Serve("http://img.alicdn.com/a.jpg", Answer(200, "jpg"));
  EXPECT_EQ(Get("http://img.alicdn.com/a.jpg").body, "jpg");
}

TEST_F(HttpTest, FailuresAreDistinctFromAnEmptyBody) {
  site.Serve("http://h.com/empty", Answer(200, ""));
  site.Serve("http://h.com/404", Answer(404, "gone"));
  site.Serve("http://h.com/reset", Answer(200, std::string(100000, 'r'), Reply::Fault::ResetMidBody));
  site.Serve("http://h.com/short", Answer(200, std::string(1000, 's'), Reply::Fault::ShortBody));
  EXPECT_TRUE(Get("http://h.com/empty").ok());

  const platform::HttpResult notFound = Get("http://h.com/404");
  EXPECT_FALSE(notFound.ok());
  EXPECT_EQ(notFound.status, 404);
  EXPECT_EQ(notFound.error, "HTTP 404");
  EXPECT_FALSE(Get("http://h.com/reset").ok());
  EXPECT_FALSE(Get("http://h.com/short").ok());
  EXPECT_FALSE(Get("http://h.com/unknown").ok());
}

TEST_F(HttpTest, HangingAndTricklingServersEndWithinTheLimits) {
  site.Serve("http://h.com/hang", Answer(200, "never", Reply::Fault::Hang));
  site.Serve("http://h.com/drip", Answer(200, std::string(1000, 'd'), Reply::Fault::Drip));
  for (const char* url : {"http://h.com/hang", "http://h.com/drip"}) {
    const auto start = std::chrono::steady_clock::now();
    const platform::HttpResult r = Get(url);
    EXPECT_TRUE(r.timedOut) << url << ": " << r.error;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(8)) << url;
  }
}

TEST_F(HttpTest, BodyOverTheCapFails) {
  limits.maxBodyBytes = 1000;
  site.Serve("http://h.com/big", Answer(200, std::string(5000, 'b')));
  site.Serve("http://h.com/fits", Answer(200, std::string(1000, 'f')));
  EXPECT_EQ(Get("http://h.com/big").error, "body too large");
  EXPECT_TRUE(Get("http://h.com/fits").ok());
}

TEST_F(HttpTest, RedirectsFollowedOnlyToHttp) {
  site.Serve("http://h.com/moved", Redirect("http://img.alicdn.com/new.jpg"));
  site.Serve("http://img.alicdn.com/new.jpg", Answer(200, "new"));
  site.Serve("http://h.com/to-file", Redirect("file:///etc/passwd"));
  site.Serve("http://h.com/loop", Redirect("http://h.com/loop"));
  EXPECT_EQ(Get("http://h.com/moved").body, "new");
  EXPECT_FALSE(Get("http://h.com/to-file").ok());
  EXPECT_FALSE(Get("http://h.com/loop").ok());
  EXPECT_LE(site.RequestCount("http://h.com/loop"), 11);
}

}  // namespace
}  // namespace taotu
