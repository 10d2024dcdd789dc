#pragma once
// The main window as the command line shows it: status and log lines on
// standard output in UTF-8 as they happen; messages, the failure count and
// (on a terminal) a live progress display on standard error.
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>

#include "job/main_window_port.h"
#include "job/option_interlocks.h"

namespace taotu::cli {

class TerminalWindow final : public job::MainWindowPort {
 public:
  TerminalWindow(job::OptionStates options, std::string saveFolder, std::string addressList,
                 bool liveProgress);

  bool IsOn(job::Option option) override;
  std::string SaveFolder() override;
  std::string AddressList() override;
  void SetAddressList(const std::string& text) override;
  void SetAddressListEnabled(bool) override {}
  void SetStatus(const std::string& text) override;
  void SetStartButtonCaption(const std::string&) override {}
  void SetStartButtonEnabled(bool) override {}
  void SetProgress(int position) override;
  int Progress() override;
  void SetCounter(const std::string& text) override;
  void AppendDownloadLog(const std::string& text) override;
  void AppendCssLog(const std::string&) override {}
  void SetScratchText(const std::string& text) override;
  std::string ScratchText() override;
  void SetDispatcherTimer(int period) override;
  void ShowMessage(const std::string& text) override;
  void ReportFailedTransfers(int count) override;

  // Blocks until the dispatcher timer is armed, then disarms it: one tick.
  void WaitForTimerTick();

 private:
  void PrintLine(const std::string& gbkLine);  // stdout, UTF-8, flushed
  void DrawProgress();                         // stderr, only when live

  std::mutex mutex_;
  std::condition_variable timerArmed_;
  bool armed_ = false;
  job::OptionStates options_;
  std::string saveFolder_, addressList_, scratch_, counter_, pendingLog_;
  int progress_ = 0;
  bool liveProgress_;
};

}  // namespace taotu::cli
