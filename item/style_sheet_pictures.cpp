// 下载其他图: the pictures that the page's style sheets name with an
// absolute address, into "其他图片\".
#include <algorithm>

#include "item/steps.h"
#include "platform/regex.h"
#include "text/gbk_literal.h"
#include "text/gbk_text.h"

namespace taotu::item {

using namespace text;

namespace {

std::string StyleSheetCandidate(std::string link) {
  for (std::string_view cut : {")", "'", "\"", "_30x30.jpg", "_160x160.jpg", "_40x40.jpg", "_.webp"}) {
    link = DeleteAll(link, cut);
  }
  return link;
}

// Every "http://...)" of a style sheet, as in url(http://...).
std::vector<std::string> StyleSheetLinks(const std::string& sheet) {
  static const platform::Regex links("http:\\/\\/(.*?)\\)");
  return links.FindAll(sheet);
}

void TakeStyleSheet(ItemRun& run, const std::string& sheetAddress, const std::string& otherPictureFolder) {
  run.window.AppendCssLog(sheetAddress + "\r\n\r\n");
  const std::vector<std::string> links = StyleSheetLinks(run.FetchText(sheetAddress));
  int fileNumber = 1;
  for (const std::string& link : links) {
    if (!NamesPicture(link)) continue;
    const std::string extension = PictureExtension(link);
    const std::string picture = DeleteAll(DeleteAll(DeleteAll(link, ")"), "'"), "\"");
    run.LogAddress(picture);
    const std::string name =
        run.IsOn(job::Option::FolderPerItem) ? Decimal(fileNumber) + extension : job::LastPieceName(picture);
    if (run.Exists(otherPictureFolder + name)) continue;
    run.DownloadNewFile(picture, otherPictureFolder + name);
    fileNumber += 1;
  }
}

}  // namespace

void StyleSheetPicturesStep(ItemRun& run) {
  run.window.SetProgress(90);
  // The page again, as it came: style-sheet addresses keep their brackets.
  const std::vector<std::string> pageLinks = HttpLinks(run.FetchText(run.CurrentEntry()));
  int position = 0;
  for (const std::string& link : pageLinks) {
    position += 1;
    const std::string candidate = StyleSheetCandidate(link);
    // The folders again for every link, with the save location read afresh.
    run.ItemFolder = run.ItemFolderFor(run.window.SaveFolder());
    const std::string otherPictureFolder =
        run.ItemFolderName.empty() ? run.ItemFolder : run.ItemFolder + "其他图片\\"_gbk;
    if (!run.ItemFolderName.empty()) {
      run.EnsureFolder(run.ItemFolder);
      run.EnsureFolder(otherPictureFolder);
    }
    if (!Contains(candidate, ".css")) continue;
    run.window.SetProgress(std::min(100, run.window.Progress() + position));
    TakeStyleSheet(run, candidate, otherPictureFolder);
  }
}

}  // namespace taotu::item
