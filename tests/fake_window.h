#pragma once
// A main window without a GUI for the dispatcher's and the workers' tests:
// it keeps what they write, and its timer can be waited for with a deadline.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "job/dispatcher.h"
#include "job/main_window_port.h"
#include "job/option_interlocks.h"
#include "platform/clock.h"
#include "platform/http.h"

namespace taotu::testing {

class FakeWindow final : public job::MainWindowPort {
  std::mutex mutex_;

  template <class F>
  auto Locked(F f) {
    std::lock_guard lock(mutex_);
    return f();
  }

 public:
  job::OptionStates options;
  std::string saveFolder;
  std::string addressList;
  std::vector<std::string> statuses, logLines, messages, counters;
  std::vector<int> progress;
  bool listEnabled = true, startEnabled = true;
  int reportedFailures = -1;

  bool IsOn(job::Option option) override {
    return Locked([&] { return options.IsOn(option); });
  }
  std::string SaveFolder() override {
    return Locked([&] { return saveFolder; });
  }
  std::string AddressList() override {
    return Locked([&] { return addressList; });
  }
  void SetAddressList(const std::string& text) override {
    Locked([&] { addressList = text; });
  }
  void SetAddressListEnabled(bool on) override {
    Locked([&] { listEnabled = on; });
  }
  void SetStatus(const std::string& text) override {
    Locked([&] { statuses.push_back(text); });
  }
  void SetStartButtonCaption(const std::string&) override {}
  void SetStartButtonEnabled(bool on) override {
    Locked([&] { startEnabled = on; });
  }
  void SetProgress(int position) override {
    Locked([&] { progress.push_back(position); });
  }
  int Progress() override {
    return Locked([&] { return progress.empty() ? 0 : progress.back(); });
  }
  void SetCounter(const std::string& text) override {
    Locked([&] { counters.push_back(text); });
  }
  void AppendDownloadLog(const std::string& text) override {
    Locked([&] { logLines.push_back(text); });
  }
  void AppendCssLog(const std::string&) override {}
  void SetScratchText(const std::string& text) override {
    Locked([&] { scratch_ = text; });
  }
  std::string ScratchText() override {
    return Locked([&] { return scratch_; });
  }
  void ShowMessage(const std::string& text) override {
    Locked([&] { messages.push_back(text); });
  }
  void ReportFailedTransfers(int count) override {
    Locked([&] { reportedFailures = count; });
  }
  void SetDispatcherTimer(int period) override {
    Locked([&] { armed_ = period != 0; });
    armedChanged_.notify_all();
  }

  // Plays the window's event loop: one tick per arming, until the job ends.
  // False when the timer stayed unarmed for `deadline` (a stalled job).
  bool RunJob(job::JobControl& control, std::chrono::milliseconds deadline = std::chrono::seconds(10)) {
    while (control.Running()) {
      {
        std::unique_lock lock(mutex_);
        if (!armedChanged_.wait_for(lock, deadline, [this] { return armed_; })) return false;
        armed_ = false;
      }
      control.Tick();
    }
    return true;
  }

 private:
  std::condition_variable armedChanged_;
  bool armed_ = false;
  std::string scratch_;
};

class FixedClock final : public platform::Clock {
 public:
  explicit FixedClock(platform::LocalDateTime t) : t_(t) {}
  platform::LocalDateTime Now() const override { return t_; }

 private:
  platform::LocalDateTime t_;
};

// Answers every address with 200 and the address itself as the body, except
// the ones set to fail.
class EchoHttp final : public platform::HttpClient {
 public:
  std::vector<std::string> failing;
  platform::HttpResult Get(const std::string& address) override {
    std::lock_guard lock(mutex_);
    requests.push_back(address);
    platform::HttpResult result;
    for (const auto& f : failing) {
      if (f == address) {
        result.status = 404;
        result.error = "HTTP 404";
        return result;
      }
    }
    result.status = 200;
    result.body = address;
    return result;
  }
  std::vector<std::string> requests;

 private:
  std::mutex mutex_;
};

}  // namespace taotu::testing
