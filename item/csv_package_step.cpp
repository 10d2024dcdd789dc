#include "item/steps.h"

namespace taotu::item {

// The item's row of the Taobao Assistant CSV package is built and written
// here, from the page and the detail page the description step left in the
// scratch text. The package writer is not part of this build yet.
void CsvPackageStep(ItemRun&) {}

}  // namespace taotu::item
