#pragma once
// A save location, the local test site, and taotu-cli download run against
// it with short timeouts.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/codepage.h"
#include "support/cli_runner.h"
#include "support/temp_dir.h"
#include "support/test_site.h"

namespace taotu::testing {

// "<date-time digits>共淘图<count>个地址", the digits as a clock gives them.
inline bool IsJobFolderName(const std::string& name, int count) {
  const std::string tail = "共淘图" + std::to_string(count) + "个地址";
  if (!name.ends_with(tail)) return false;
  const std::string digits = name.substr(0, name.size() - tail.size());
  return digits.size() >= 9 && digits.size() <= 14 &&
         digits.find_first_not_of("0123456789") == std::string::npos;
}

class CliTest : public ::testing::Test {
 protected:
  CliTest() : save(dir.Path() + "/save") { std::filesystem::create_directory(save); }

  CliRun Download(std::vector<std::string> args, CliOptions options = {}) {
    args.insert(args.begin(), "download");
    options.env.emplace_back("http_proxy", site.ProxyUrl());
    options.env.emplace_back("TAOTU_STALL_TIMEOUT", "2");
    options.env.emplace_back("TAOTU_CONNECT_TIMEOUT", "2");
    if (options.workDir.empty()) options.workDir = save;
    return RunCli(TAOTU_CLI_PATH, args, options);
  }

  // A page written here in UTF-8, served as the GBK bytes the sites send.
  void ServeGbkPage(const std::string& url, std::string_view utf8) {
    site.Serve(url, Answer(200, platform::Utf8ToGbk(utf8)));
  }

  // The one job folder under the save location (UTF-8 name).
  std::string JobFolder() const {
    std::vector<std::string> folders;
    for (const auto& e : std::filesystem::directory_iterator(save)) {
      folders.push_back(e.path().filename().string());
    }
    EXPECT_EQ(folders.size(), 1u);
    return folders.empty() ? std::string() : folders[0];
  }
  std::string JobPath() const { return save + "/" + JobFolder(); }

  // Every file under the job folder, relative to it.
  std::vector<std::string> JobFiles() const { return ListFiles(JobPath()); }

  TempDir dir;
  std::string save;
  TestSite site;
};

}  // namespace taotu::testing
