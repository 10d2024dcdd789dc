#pragma once
// The optional steps of an item page run, in the order the run takes them.
#include "item/item_run.h"

namespace taotu::item {

void MainPicturesStep(ItemRun& run);        // 下载主图
void DescriptionStep(ItemRun& run);         // 下载细节图
void CsvPackageStep(ItemRun& run);          // 导出CSV数据包, inside the description's condition
void StyleSheetPicturesStep(ItemRun& run);  // 下载其他图

}  // namespace taotu::item
