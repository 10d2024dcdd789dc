// 导出CSV数据包: one row of the Taobao Assistant package per item, built in
// column order and written at once.
#include "csvpack/csv_item.h"
#include "item/steps.h"
#include "job/hosts.h"
#include "text/gbk_literal.h"
#include "text/gbk_text.h"

namespace taotu::item {

using namespace text;

namespace {

// Values cut from the page hold a double quote wherever the page had ")"
// (the page text is read that way); giving the bracket back keeps a stray
// quote from breaking the row for every CSV reader. The description doubles
// its own quotes and is left as it is.
std::string WithBracketsBack(std::string_view fields) { return ReplaceAll(fields, "\"", ")"); }

}  // namespace

void CsvPackageStep(ItemRun& run) {
  csvpack::CsvItem item(run, run.context.csv);
  if (!run.IsOn(job::Option::ExportCsv) || Contains(run.PageText, "price-title ladder-1")) return;
  run.SetStatus("正在导出CSV数据包中……"_gbk);
  if (!Contains(run.CurrentEntry(), "id=") && !Contains(run.CurrentEntry(), job::k1688OfferHost)) return;

  csvpack::AppendBasicFields(item);
  item.CsvRow = WithBracketsBack(item.CsvRow);
  csvpack::AppendDescriptionField(item);
  const std::size_t afterDescription = item.CsvRow.size();
  csvpack::PropertyListStep(item);
  csvpack::MainPictureStep(item);
  csvpack::SkuStep(item);
  csvpack::AppendTailFields(item);
  item.CsvRow.replace(afterDescription, std::string::npos,
                      WithBracketsBack(std::string_view(item.CsvRow).substr(afterDescription)));
  csvpack::WriteCsvPackage(item);
}

}  // namespace taotu::item
