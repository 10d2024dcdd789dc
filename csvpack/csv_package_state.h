#pragma once
// What the CSV export keeps from one item to the next: the row under
// construction and the composite package's rows, for the program's run.
#include <chrono>
#include <deque>
#include <string>

#include "platform/file_system.h"

namespace taotu::csvpack {

struct CsvPackageState {
  // The current item's row; a quote of the CSV syntax is written "|||"
  // until the row is converted. Emptied when a job starts.
  std::string CsvRow;
  // Every composite row of the run, newest first, each converted once when
  // it was first written (converting a row twice would break the quotes at
  // the edges of its description).
  std::deque<std::string> compositeRows;
  // The composite file is rewritten whole, so with rows arriving faster than
  // that is worth it is written at most once a second, and at the job's
  // last item and its end: the time per item stays flat as a shop grows.
  std::string pendingCompositePath;  // "" when the file on disk is current
  std::chrono::steady_clock::time_point lastCompositeWrite{};
};

// Writes the composite file that is waiting, if any; false when that failed
// (the rows stay, the next write tries again).
bool WritePendingCompositePackage(CsvPackageState& state, platform::FileSystem& files);

}  // namespace taotu::csvpack
