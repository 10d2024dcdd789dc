#include <curl/curl.h>

#include <cstdlib>
#include <mutex>
#include <string_view>

#include "platform/http.h"

namespace taotu::platform {
namespace {

constexpr const char* kUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

std::string EnvOr(const char* lower, const char* upper) {
  if (const char* v = std::getenv(lower); v && *v) return v;
  if (const char* v = std::getenv(upper); v && *v) return v;
  return {};
}

long EnvPositive(const char* name, long fallback) {
  const char* v = std::getenv(name);
  if (!v || !*v) return fallback;
  char* end = nullptr;
  long n = std::strtol(v, &end, 10);
  return (end && *end == '\0' && n > 0) ? n : fallback;
}

// Page addresses are GBK text; bytes a URL may not hold raw are sent
// percent-encoded, which is what a raw byte on the wire stands for.
std::string EncodeForWire(std::string_view address) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(address.size());
  for (unsigned char c : address) {
    if (c <= 0x20 || c >= 0x7F) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

struct Sink {
  std::string* body;
  std::size_t cap;
  bool overCap = false;
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto* sink = static_cast<Sink*>(user);
  const size_t n = size * count;
  if (sink->body->size() + n > sink->cap) {
    sink->overCap = true;
    return 0;  // aborts the transfer
  }
  sink->body->append(data, n);
  return n;
}

class CurlHttpClient final : public HttpClient {
 public:
  explicit CurlHttpClient(const HttpLimits& limits) : limits_(limits) {}

  HttpResult Get(const std::string& address) override {
    HttpResult result;
    CURL* curl = curl_easy_init();
    if (!curl) {
      result.error = "cannot start a request";
      return result;
    }
    const std::string url = EncodeForWire(address);
    Sink sink{&result.body, limits_.maxBodyBytes};
    curl_slist* headers = nullptr;
    headers = curl_slist_append(headers, "Accept: */*");
    headers = curl_slist_append(headers, "Pragma: no-cache");
    headers = curl_slist_append(headers, "Cache-Control: no-cache");

    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_0);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, limits_.maxRedirects);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, static_cast<long>(limits_.connectTimeout.count()));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, static_cast<long>(limits_.totalTimeout.count()));
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, static_cast<long>(limits_.stallTimeout.count()));
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits_.maxBodyBytes));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
    SetProxy(curl, address);

    const CURLcode code = curl_easy_perform(curl);
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &result.status);
    if (code == CURLE_OPERATION_TIMEDOUT) {
      result.timedOut = true;
      result.error = "timed out";
    } else if (sink.overCap || code == CURLE_FILESIZE_EXCEEDED) {
      result.error = "body too large";
    } else if (code != CURLE_OK) {
      result.error = curl_easy_strerror(code);
    } else if (result.status < 200 || result.status > 299) {
      result.error = "HTTP " + std::to_string(result.status);
    }
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    return result;
  }

 private:
  // libcurl ignores the upper-case HTTP_PROXY; the proxy is chosen here by
  // the address's scheme so that both spellings work.
  static void SetProxy(CURL* curl, std::string_view address) {
    const bool https = address.substr(0, 8) == "https://";
    const std::string proxy = https ? EnvOr("https_proxy", "HTTPS_PROXY") : EnvOr("http_proxy", "HTTP_PROXY");
    curl_easy_setopt(curl, CURLOPT_PROXY, proxy.c_str());
    const std::string noProxy = EnvOr("no_proxy", "NO_PROXY");
    if (!noProxy.empty()) curl_easy_setopt(curl, CURLOPT_NOPROXY, noProxy.c_str());
  }

  HttpLimits limits_;
};

}  // namespace

HttpLimits LimitsFromEnvironment() {
  HttpLimits limits;
  limits.connectTimeout =
      std::chrono::seconds(EnvPositive("TAOTU_CONNECT_TIMEOUT", limits.connectTimeout.count()));
  limits.stallTimeout = std::chrono::seconds(EnvPositive("TAOTU_STALL_TIMEOUT", limits.stallTimeout.count()));
  limits.totalTimeout = std::chrono::seconds(EnvPositive("TAOTU_TOTAL_TIMEOUT", limits.totalTimeout.count()));
  limits.maxBodyBytes =
      static_cast<std::size_t>(EnvPositive("TAOTU_MAX_BODY_BYTES", static_cast<long>(limits.maxBodyBytes)));
  return limits;
}

std::unique_ptr<HttpClient> MakeHttpClient(const HttpLimits& limits) {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
  return std::make_unique<CurlHttpClient>(limits);
}

}  // namespace taotu::platform
