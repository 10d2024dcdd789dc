#include "job/transfer_service.h"

#include "text/gbk_literal.h"

namespace taotu::job {

using namespace text;

namespace {

std::string Reason(const platform::HttpResult& result) {
  if (result.timedOut) return "超时"_gbk;
  return result.error;  // "HTTP 404", or the client's own words
}

}  // namespace

bool TransferService::IsPresent(const std::string& path) { return files_.IsFile(path); }

bool TransferService::Download(const std::string& address, const std::string& path) {
  const platform::HttpResult result = http_.Get(address);
  if (!result.ok()) {
    ReportFailure(address, Reason(result));
    return false;
  }
  if (!files_.WriteFile(path, result.body)) {
    ReportFailure(address, "写入文件失败"_gbk);
    return false;
  }
  return true;
}

std::optional<std::string> TransferService::TryFetch(const std::string& address) {
  platform::HttpResult result = http_.Get(address);
  if (!result.ok()) {
    ReportFailure(address, Reason(result));
    return std::nullopt;
  }
  return std::move(result.body);
}

void TransferService::ReportFailure(const std::string& address, const std::string& reason) {
  ++failed_;
  window_.AppendDownloadLog("下载失败："_gbk + address + " " + reason + "\r\n");
}

}  // namespace taotu::job
