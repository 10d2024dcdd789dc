#include "csvpack/csv_file.h"
#include "csvpack/csv_item.h"
#include "job/paths.h"
#include "text/gbk_literal.h"

namespace taotu::csvpack {

using namespace text;

namespace {

constexpr auto kCompositeWriteInterval = std::chrono::seconds(1);

void WriteComposite(CsvItem& item, const std::string& path) {
  CsvPackageState& state = item.package;
  item::ItemRun& run = item.run;
  // A pending file elsewhere (the save location changed) is written first.
  if (!state.pendingCompositePath.empty() && state.pendingCompositePath != path &&
      !WritePendingCompositePackage(state, run.context.services.files)) {
    run.context.transfers.ReportFailure(state.pendingCompositePath, "写入文件失败"_gbk);
  }
  state.compositeRows.push_front(ConvertRowText(item.CsvRow));
  state.pendingCompositePath = path;
  const bool lastEntry = run.context.job.Index == run.context.job.Count;
  if (lastEntry || std::chrono::steady_clock::now() - state.lastCompositeWrite >= kCompositeWriteInterval) {
    if (!WritePendingCompositePackage(state, run.context.services.files)) {
      run.context.transfers.ReportFailure(path, "写入文件失败"_gbk);
    }
  }
}

}  // namespace

bool WritePendingCompositePackage(CsvPackageState& state, platform::FileSystem& files) {
  if (state.pendingCompositePath.empty()) return true;
  state.lastCompositeWrite = std::chrono::steady_clock::now();
  if (!files.WriteFile(state.pendingCompositePath, BuildCompositeFile(state.compositeRows))) return false;
  state.pendingCompositePath.clear();
  return true;
}

void WriteCsvPackage(CsvItem& item) {
  item::ItemRun& run = item.run;
  if (run.IsOn(job::Option::IndependentCsv) && run.IsOn(job::Option::ExportCsv)) {
    run.Save(run.ItemFolder + "\\岚川淘图CSV独立数据包.csv"_gbk, BuildCsvFile(item.CsvRow));
  } else {
    WriteComposite(item, job::JobFolderPath(run.window.SaveFolder(), run.context.job.JobFolder) +
                             "岚川淘图CSV复合数据包.csv"_gbk);
  }
}

}  // namespace taotu::csvpack
