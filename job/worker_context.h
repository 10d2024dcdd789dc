#pragma once
// What a worker reaches while it runs one entry, and the steps with which
// every worker hands the job back to the dispatcher.
#include <string>

#include "csvpack/csv_package_state.h"
#include "job/job_state.h"
#include "job/main_window_port.h"
#include "job/transfer_service.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/http.h"

namespace taotu::job {

// The outside world, injected.
struct Services {
  platform::HttpClient& http;
  platform::FileSystem& files;
  const platform::Clock& clock;
};

struct WorkerContext {
  MainWindowPort& window;
  JobState& job;
  TransferService& transfers;
  Services services;
  csvpack::CsvPackageState& csv;

  // "（" + ProgressText + "）" + message.
  std::string StatusText(const std::string& message) const;
  void SetStatus(const std::string& message) { window.SetStatus(StatusText(message)); }
};

// The last steps of every worker, after all its downloads and writes: the
// progress bar to 100 and back to 0 (before the hand-off, so the reset never
// lands on the next worker's progress), Index + 1, then the dispatcher timer
// re-armed. After this the worker touches nothing of the job.
void CompleteEntry(WorkerContext& context);

using Worker = void (*)(WorkerContext& context);

}  // namespace taotu::job
