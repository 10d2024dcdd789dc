#pragma once
// The state of the one job that runs at a time. The dispatcher and the
// worker of the moment hand it to each other through the dispatcher timer,
// so it needs no lock.
#include <string>
#include <vector>

#include "platform/clock.h"

namespace taotu::job {

struct JobState {
  std::vector<std::string> JobList;  // the entries, in list order (JobList[0] is entry 1)
  int Count = 0;                     // entries in JobList, fixed at job start
  int Index = 0;                     // 1-based number of the entry to dispatch next
  std::string CurrentEntry;          // copy of entry Index, taken at dispatch
  std::string ProgressText;          // "2/5"; kept from one job to the next
  std::string JobFolder;             // "20141110953共淘图5个地址"; empty outside a job
  bool Running = false;              // from a successful start to the job's end

  const std::string& Entry(int index) const { return JobList[static_cast<std::size_t>(index - 1)]; }
};

// Year, month, day, hour, minute, second without leading zeros or
// separators, then "共淘图", the count and "个地址".
std::string JobFolderName(const platform::LocalDateTime& now, int count);

// The same date-time digits alone: "20141110953".
std::string CompactDateTime(const platform::LocalDateTime& now);

}  // namespace taotu::job
