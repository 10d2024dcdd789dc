#include "cli/download_command.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "cli/list_file.h"
#include "cli/terminal_window.h"
#include "job/address_list.h"
#include "job/dispatcher.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/http.h"

namespace taotu::cli {
namespace {

bool ReadListFile(const std::string& name, std::string& bytes) {
  if (name == "-") {
    bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    return true;
  }
  std::ifstream in(name, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

}  // namespace

int RunDownload(const DownloadRequest& request) {
  std::string fileText;
  if (!request.listFile.empty()) {
    std::string bytes;
    if (!ReadListFile(request.listFile, bytes)) {
      std::fprintf(stderr, "无法读取地址列表：%s\n", request.listFile.c_str());
      return 2;
    }
    fileText = ListFileText(bytes);
  }

  platform::PathCodec paths;
  std::vector<std::string> entries;
  for (const std::string& entry : request.entries) entries.push_back(paths.FromNative(entry));

  std::error_code error;
  const std::filesystem::path save = request.saveFolder.empty()
                                         ? std::filesystem::current_path(error)
                                         : std::filesystem::absolute(request.saveFolder, error);
  if (error) {
    std::fprintf(stderr, "无法确定保存位置：%s\n", error.message().c_str());
    return 2;
  }

  // The list as it stands after the list box lost the focus.
  const std::string list = job::ListAfterFocusOut(JoinEntries(fileText, entries));
  TerminalWindow window(request.options, paths.FromNative(save.string()), list, ::isatty(STDERR_FILENO) == 1);

  const auto http = platform::MakeHttpClient(platform::LimitsFromEnvironment());
  platform::NativeFileSystem files(paths);
  platform::SystemClock clock;
  job::JobControl control(window, {*http, files, clock});

  if (control.Start() != job::StartResult::Started) return 2;
  while (control.Running()) {
    window.WaitForTimerTick();
    control.Tick();
  }
  return control.FailedTransfers() > 0 ? 1 : 0;
}

}  // namespace taotu::cli
