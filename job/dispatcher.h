#pragma once
// A job: the start (按钮2 clicked) and the dispatcher (时钟3's tick), both on
// the window's thread, handing one entry at a time to a worker on a thread
// of its own.
#include <string_view>
#include <thread>

#include "job/job_state.h"
#include "job/main_window_port.h"
#include "job/transfer_service.h"
#include "job/worker_context.h"

namespace taotu::job {

enum class WorkerKind { DirectImage, CsvPackage, ItemPage, None };

// By the entry's ending, exact and case-sensitive: "_.webp", ".jpg", ".gif",
// ".png" a picture; ".csv" a package; anything else not empty an item page.
WorkerKind ChooseWorker(std::string_view entry);

// The worker for each kind of entry; an unset one reports the entry as not
// handled and moves on.
struct Workers {
  Worker directImage = nullptr;
  Worker csvPackage = nullptr;
  Worker itemPage = nullptr;
};
Workers DefaultWorkers();

enum class StartResult { Started, NoPictureKind, NoAddress, Busy };

// The text shown at the end of a job in the counter label (透明标签4).
const std::string& CounterRestingText();

class JobControl {
 public:
  JobControl(MainWindowPort& window, Services services, Workers workers = DefaultWorkers());
  ~JobControl();  // waits for the worker of the moment
  JobControl(const JobControl&) = delete;
  JobControl& operator=(const JobControl&) = delete;

  // 按钮2 clicked. A refused start changes nothing but the message.
  StartResult Start();
  // 时钟3 fired.
  void Tick();

  bool Running() const { return state_.Running; }
  const JobState& State() const { return state_; }
  int FailedTransfers() const { return transfers_.FailedCount(); }

 private:
  void EndJob();
  void StartWorker(Worker worker);

  MainWindowPort& window_;
  Services services_;
  Workers workers_;
  JobState state_;
  csvpack::CsvPackageState csv_;  // kept over every job of the run
  TransferService transfers_;
  std::thread worker_;
};

}  // namespace taotu::job
