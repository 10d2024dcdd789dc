#pragma once
#include "job/worker_context.h"

namespace taotu::job {

// An entry that is the path of a Taobao Assistant CSV package: every picture
// address in it is downloaded, the description's into "宝贝详情\" and the
// picture column's into "宝贝主图及属性图\", in a folder named after the file.
void CsvPackageJob(WorkerContext& context);

}  // namespace taotu::job
