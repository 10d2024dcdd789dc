#include "csvpack/csv_file.h"
#include "csvpack/csv_item.h"
#include "job/paths.h"
#include "text/gbk_literal.h"

namespace taotu::csvpack {

using namespace text;

void WriteCsvPackage(CsvItem& item) {
  item::ItemRun& run = item.run;
  std::string path, bytes;
  if (run.IsOn(job::Option::IndependentCsv) && run.IsOn(job::Option::ExportCsv)) {
    path = run.ItemFolder + "\\岚川淘图CSV独立数据包.csv"_gbk;
    bytes = BuildCsvFile(item.CsvRow);
  } else {
    item.package.compositeRows.push_front(ConvertRowText(item.CsvRow));
    path = job::JobFolderPath(run.window.SaveFolder(), run.context.job.JobFolder) +
           "岚川淘图CSV复合数据包.csv"_gbk;
    bytes = BuildCompositeFile(item.package.compositeRows);
  }
  run.Save(path, bytes);
}

}  // namespace taotu::csvpack
