#pragma once
// HTTP as values: one GET of a whole address gives a result; what a failure
// means is the caller's decision.
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

namespace taotu::platform {

struct HttpResult {
  long status = 0;    // HTTP status of the last response, 0 when none came
  std::string body;   // the bytes received (complete only when ok())
  std::string error;  // why it failed, empty on success: "timed out", "HTTP 404", ...
  bool timedOut = false;

  bool ok() const { return error.empty(); }
};

struct HttpLimits {
  std::chrono::seconds connectTimeout{15};
  std::chrono::seconds stallTimeout{30};   // no byte for this long ends the request
  std::chrono::seconds totalTimeout{600};  // even a trickling server ends here
  std::size_t maxBodyBytes = 256u << 20;   // a hostile server cannot fill the memory
  long maxRedirects = 10;
};

// Limits from the environment (TAOTU_CONNECT_TIMEOUT, TAOTU_STALL_TIMEOUT,
// TAOTU_TOTAL_TIMEOUT in seconds, TAOTU_MAX_BODY_BYTES), defaults otherwise.
HttpLimits LimitsFromEnvironment();

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  // Thread-safe: several requests may run at once.
  virtual HttpResult Get(const std::string& address) = 0;
};

// The real client: HTTP/1.0, the program's user agent, "Accept: */*", no
// cache, redirects followed only to http and https, http_proxy, HTTP_PROXY,
// https_proxy, HTTPS_PROXY and no_proxy honoured.
std::unique_ptr<HttpClient> MakeHttpClient(const HttpLimits& limits);

}  // namespace taotu::platform
