#pragma once
// Every download of a job goes through here: fetch an address into a file,
// skip names that are present, report failures. Decisions stay with the
// workers, in their order; only the moment bytes reach the disk is ours.
#include <atomic>
#include <optional>
#include <string>

#include "job/main_window_port.h"
#include "platform/file_system.h"
#include "platform/http.h"

namespace taotu::job {

class TransferService {
 public:
  TransferService(platform::HttpClient& http, platform::FileSystem& files, MainWindowPort& window)
      : http_(http), files_(files), window_(window) {}

  // True when a file of that name is present.
  bool IsPresent(const std::string& path);

  // Fetches `address` into `path`. A failure writes nothing under `path`
  // (so a later entry of the same name is fetched again), appends
  // "下载失败：" + address + " " + reason to the download log and counts.
  bool Download(const std::string& address, const std::string& path);

  // Fetches a page or a file to read. A failure is reported and counted as
  // above and gives empty bytes.
  std::string Fetch(const std::string& address) { return TryFetch(address).value_or(""); }
  // The same, nullopt when the fetch failed.
  std::optional<std::string> TryFetch(const std::string& address);

  // Appends "下载失败：" + address + " " + reason to the download log, counted.
  void ReportFailure(const std::string& address, const std::string& reason);

  int FailedCount() const { return failed_; }
  void ResetFailedCount() { failed_ = 0; }

 private:
  platform::HttpClient& http_;
  platform::FileSystem& files_;
  MainWindowPort& window_;
  std::atomic<int> failed_{0};
};

}  // namespace taotu::job
