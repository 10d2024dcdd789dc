#include "item/item_page_job.h"

#include "item/item_naming.h"
#include "item/item_run.h"
#include "item/steps.h"
#include "platform/file_names.h"
#include "text/gbk_literal.h"
#include "text/gbk_text.h"

namespace taotu::item {

using namespace text;
using job::Option;

namespace {

void Start(ItemRun& run) {
  run.window.SetStartButtonCaption("正在下载中……"_gbk);
  run.SetStatus("正在分析并下载中，请稍等……"_gbk);
  run.window.SetProgress(1);
  run.window.SetStartButtonEnabled(false);
  run.NewFileCount = 0;
  run.window.SetCounter("");
}

void NameFolder(ItemRun& run) {
  if (!run.IsOn(Option::FolderPerItem)) return;
  if (const auto id = ItemIdOf(run.CurrentEntry())) {
    run.ItemId = *id;
    run.ItemFolderName = run.ItemId + "_岚川淘图"_gbk;
  } else {
    run.ItemFolderName = job::CompactDateTime(run.context.services.clock.Now()) + "_岚川淘图"_gbk;
  }
}

void FetchPage(ItemRun& run) { run.PageText = ReplaceAll(run.FetchText(run.CurrentEntry()), ")", "\""); }

void TakeTitle(ItemRun& run) {
  if (run.ItemFolderName.empty()) return;
  const auto raw = RawTitleOf(run.PageText);
  if (!raw) return;
  run.ItemTitle = CleanTitle(*raw);
  if (run.IsOn(Option::TitleInFolder)) run.ItemFolderName += "_" + run.ItemTitle;
}

// The folder name comes from the page: it must stay one safe name.
void MakeFolderNameSafe(ItemRun& run) {
  if (!run.ItemFolderName.empty()) run.ItemFolderName = platform::SafeNamePiece(run.ItemFolderName);
}

void WorkOutFolders(ItemRun& run) {
  const std::string saveFolder = run.window.SaveFolder();
  run.PackageFolder = job::JobFolderPath(saveFolder, run.context.job.JobFolder);
  run.ItemFolder = run.ItemFolderFor(saveFolder);
}

void PrepareCsvPackageFolder(ItemRun& run) {
  if (!run.IsOn(Option::ExportCsv)) return;
  if (run.IsOn(Option::CompositeCsv)) {
    run.PackageFolder += "岚川淘图CSV复合数据包\\"_gbk;
    run.EnsureFolder(run.PackageFolder);
  } else if (run.IsOn(Option::IndependentCsv)) {
    run.PackageFolder = run.ItemFolder + "岚川淘图CSV独立数据包\\"_gbk;
    run.EnsureFolder(run.ItemFolder);
    run.EnsureFolder(run.PackageFolder);
  }
}

void RunSteps(ItemRun& run) {
  if (run.IsOn(Option::DownloadMain)) MainPicturesStep(run);
  if (run.IsOn(Option::DownloadDetail)) {
    DescriptionStep(run);
    run.window.SetProgress(70);
    if (run.IsOn(Option::ExportCsv)) CsvPackageStep(run);
  }
  if (run.IsOn(Option::DownloadOther)) StyleSheetPicturesStep(run);
}

}  // namespace

void ItemPageJob(job::WorkerContext& context) {
  ItemRun run(context);
  Start(run);
  NameFolder(run);
  FetchPage(run);
  TakeTitle(run);
  MakeFolderNameSafe(run);
  run.PageLinks = HttpLinks(run.PageText);
  WorkOutFolders(run);
  PrepareCsvPackageFolder(run);
  RunSteps(run);
  job::CompleteEntry(context);
}

}  // namespace taotu::item
