#include "cli/terminal_window.h"

#include "platform/codepage.h"
#include "text/gbk_text.h"

namespace taotu::cli {

TerminalWindow::TerminalWindow(job::OptionStates options, std::string saveFolder, std::string addressList,
                               bool liveProgress)
    : options_(options),
      saveFolder_(std::move(saveFolder)),
      addressList_(std::move(addressList)),
      liveProgress_(liveProgress) {}

bool TerminalWindow::IsOn(job::Option option) {
  std::lock_guard lock(mutex_);
  return options_.IsOn(option);
}

std::string TerminalWindow::SaveFolder() {
  std::lock_guard lock(mutex_);
  return saveFolder_;
}

std::string TerminalWindow::AddressList() {
  std::lock_guard lock(mutex_);
  return addressList_;
}

void TerminalWindow::SetAddressList(const std::string& text) {
  std::lock_guard lock(mutex_);
  addressList_ = text;
}

void TerminalWindow::SetStatus(const std::string& text) {
  std::lock_guard lock(mutex_);
  PrintLine(text);
}

void TerminalWindow::SetProgress(int position) {
  std::lock_guard lock(mutex_);
  progress_ = position;
  DrawProgress();
}

int TerminalWindow::Progress() {
  std::lock_guard lock(mutex_);
  return progress_;
}

void TerminalWindow::SetCounter(const std::string& text) {
  std::lock_guard lock(mutex_);
  counter_ = text;
  DrawProgress();
}

void TerminalWindow::AppendDownloadLog(const std::string& text) {
  std::lock_guard lock(mutex_);
  pendingLog_ += text;
  std::size_t end;
  while ((end = pendingLog_.find("\r\n")) != std::string::npos) {
    PrintLine(pendingLog_.substr(0, end));
    pendingLog_.erase(0, end + 2);
  }
}

void TerminalWindow::SetScratchText(const std::string& text) {
  std::lock_guard lock(mutex_);
  scratch_ = text;
}

std::string TerminalWindow::ScratchText() {
  std::lock_guard lock(mutex_);
  return scratch_;
}

void TerminalWindow::SetDispatcherTimer(int period) {
  {
    std::lock_guard lock(mutex_);
    armed_ = period != 0;
  }
  timerArmed_.notify_one();
}

void TerminalWindow::WaitForTimerTick() {
  std::unique_lock lock(mutex_);
  timerArmed_.wait(lock, [this] { return armed_; });
  armed_ = false;
}

void TerminalWindow::ShowMessage(const std::string& text) {
  std::lock_guard lock(mutex_);
  std::fprintf(stderr, "%s\n", platform::GbkToUtf8(text).c_str());
}

void TerminalWindow::ReportFailedTransfers(int count) {
  std::lock_guard lock(mutex_);
  if (liveProgress_) std::fputs("\r\033[K", stderr);
  if (count > 0) std::fprintf(stderr, "%d 个下载失败\n", count);
}

void TerminalWindow::PrintLine(const std::string& gbkLine) {
  if (liveProgress_) std::fputs("\r\033[K", stderr);
  const std::string utf8 = platform::GbkToUtf8(gbkLine);
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
  DrawProgress();
}

void TerminalWindow::DrawProgress() {
  if (!liveProgress_) return;
  std::fprintf(stderr, "\r\033[K%3d%%  %s", progress_, platform::GbkToUtf8(counter_).c_str());
  std::fflush(stderr);
}

}  // namespace taotu::cli
