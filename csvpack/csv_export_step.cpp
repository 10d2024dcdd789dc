// 导出CSV数据包: one row of the Taobao Assistant package per item, built in
// column order and written at once.
#include "csvpack/csv_item.h"
#include "item/steps.h"
#include "job/hosts.h"
#include "text/gbk_literal.h"
#include "text/gbk_text.h"

namespace taotu::item {

using namespace text;

void CsvPackageStep(ItemRun& run) {
  csvpack::CsvItem item(run, run.context.csv);
  if (!run.IsOn(job::Option::ExportCsv) || Contains(run.PageText, "price-title ladder-1")) return;
  run.SetStatus("正在导出CSV数据包中……"_gbk);
  if (!Contains(run.CurrentEntry(), "id=") && !Contains(run.CurrentEntry(), job::k1688OfferHost)) return;

  csvpack::AppendBasicFields(item);
  csvpack::AppendDescriptionField(item);
  csvpack::PropertyListStep(item);
  csvpack::MainPictureStep(item);
  csvpack::SkuStep(item);
  csvpack::AppendTailFields(item);
  csvpack::WriteCsvPackage(item);
}

}  // namespace taotu::item
