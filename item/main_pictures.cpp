// 下载主图: every picture the item page names, at full size, into
// "主图及属性图\", and the item's record file.
#include "item/steps.h"
#include "text/gbk_literal.h"
#include "text/gbk_text.h"

namespace taotu::item {

using namespace text;

namespace {

// Deleted from every address in this order: the quote characters a match
// ends with, then the thumbnail suffixes the sites append ("_310x310.jpg"
// twice, as the sites' own list has it).
constexpr std::string_view kSizeSuffixes[] = {
    ")",
    "'",
    "\"",
    "_60x60.jpg",
    "_230x230.jpg",
    "_180x180.jpg",
    "_310x310.jpg",
    "_130x130.jpg",
    "_240x240.jpg",
    "_270x270.jpg",
    "_50x50.jpg",
    "_40x40q90.jpg",
    "_150x150.jpg",
    "_60x60q90.jpg",
    "_30x30q90.jpg",
    "_30x30.jpg",
    "_40x40.jpg",
    "_120x120.jpg",
    "_310x310.jpg",
    "_64x64.jpg",
    "_400x400.jpg",
    "64x64.",
    "32x32.",
    "310x310.",
    ".80x80",
    ".400x400",
    "summ.",
    "_.webp",
};
static_assert(std::size(kSizeSuffixes) == 28);

std::string FullSizeAddress(std::string address) {
  for (std::string_view suffix : kSizeSuffixes) address = DeleteAll(address, suffix);
  return address;
}

void SaveRecordFile(ItemRun& run) {
  run.Save(run.ItemFolder + "淘图记录.txt"_gbk, run.ItemTitle + "\r\n" + run.CurrentEntry());
}

}  // namespace

void MainPicturesStep(ItemRun& run) {
  run.SetStatus("正在下载主图与属性图……"_gbk);
  std::string mainPictureFolder = run.ItemFolder;
  if (!run.ItemFolderName.empty()) {
    run.EnsureFolder(run.ItemFolder);
    SaveRecordFile(run);
    mainPictureFolder = run.ItemFolder + "主图及属性图\\"_gbk;
    run.EnsureFolder(mainPictureFolder);
  }
  run.window.SetProgress(10);
  int fileNumber = 1;

  for (const std::string& link : run.PageLinks) {
    const std::string address = FullSizeAddress(link);
    // Three tests, each on its own: an address with both ".jpg" and ".png"
    // is taken twice.
    for (const char* extension : {".jpg", ".png", ".gif"}) {
      if (!Contains(address, extension)) continue;
      run.LogAddress(address);
      const std::string name = run.IsOn(job::Option::FolderPerItem) ? Decimal(fileNumber) + extension
                                                                    : job::LastPieceName(address);
      if (run.Exists(mainPictureFolder + name)) continue;
      run.DownloadNewFile(address, mainPictureFolder + name);
      fileNumber += 1;
    }
  }
}

}  // namespace taotu::item
