#pragma once
// taotu-cli download: one job, exactly as a press of 立即下载 on the list.
#include <string>
#include <vector>

#include "job/option_interlocks.h"

namespace taotu::cli {

struct DownloadRequest {
  std::string listFile;              // "" none, "-" standard input
  std::vector<std::string> entries;  // UTF-8, as given
  std::string saveFolder;            // native, "" = the current directory
  job::OptionStates options;         // after the flags' clicks
};

// Runs the job; the exit status: 0 done, 1 done with failed transfers,
// 2 refused.
int RunDownload(const DownloadRequest& request);

}  // namespace taotu::cli
