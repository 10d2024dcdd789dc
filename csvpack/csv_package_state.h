#pragma once
// What the CSV export keeps from one item to the next: the row under
// construction and the composite package's rows, for the program's run.
#include <deque>
#include <string>

namespace taotu::csvpack {

struct CsvPackageState {
  // The current item's row; a quote of the CSV syntax is written "|||"
  // until the row is converted. Emptied when a job starts.
  std::string CsvRow;
  // Every composite row of the run, newest first, each converted once when
  // it was first written (converting a row twice would break the quotes at
  // the edges of its description).
  std::deque<std::string> compositeRows;
};

}  // namespace taotu::csvpack
