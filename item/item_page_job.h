#pragma once
#include "job/worker_context.h"

namespace taotu::item {

// An item page: the page is fetched once, the item's folders are worked out,
// then the main pictures, the description (with the CSV package) and the
// style-sheet pictures follow, each when its option is on at that moment.
void ItemPageJob(job::WorkerContext& context);

}  // namespace taotu::item
