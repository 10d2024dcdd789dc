#pragma once
#include "job/worker_context.h"

namespace taotu::job {

// An entry that is itself a picture address: the picture goes into the job
// folder under the last piece of its address, unless a file of that name is
// there already.
void DirectImageJob(WorkerContext& context);

}  // namespace taotu::job
