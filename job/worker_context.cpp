#include "job/worker_context.h"

#include "text/gbk_literal.h"

namespace taotu::job {

using namespace text;

std::string WorkerContext::StatusText(const std::string& message) const {
  return "（"_gbk + job.ProgressText + "）"_gbk + message;
}

void CompleteEntry(WorkerContext& context) {
  context.window.SetProgress(100);
  context.window.SetProgress(0);
  context.job.Index += 1;
  context.window.SetDispatcherTimer(1);
}

}  // namespace taotu::job
