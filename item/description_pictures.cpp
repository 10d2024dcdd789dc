// 下载细节图: the item's description, loaded from the address the page
// names, its pictures into "宝贝描述\", and "详情.html" with local links.
#include "item/steps.h"
#include "platform/codepage.h"
#include "text/gbk_literal.h"
#include "text/gbk_text.h"

namespace taotu::item {

using namespace text;

namespace {

// The three ways an item page names its description address: the test
// text, and the text after which the address runs to the next quote.
struct DescSource {
  int number;
  std::string_view test;
  std::string_view cut;
};
constexpr DescSource kDescSources[] = {
    {1, "g_config.dynamicScript(\"", "g_config.dynamicScript(\""},
    {2, "descUrl", "descUrl\":\""},
    {3, "data-tfs-url=", "data-tfs-url=\""},
};

// The description address, when the page really names one that can be
// fetched; nullopt leaves the source out.
std::optional<std::string> DescriptionAddress(const std::string& pageText, const DescSource& source) {
  std::string address = Between(pageText, source.cut, "\"");
  if (!address.starts_with("http://") && !address.starts_with("https://")) return std::nullopt;
  return address;
}

// The script wrapper the description arrives in.
std::string StripScriptWrapper(std::string_view description) {
  std::string text = DeleteAll(description, "var desc='");
  text = DeleteAll(text, "';");
  return ReplaceAll(text, "</p>\\", "</p>");
}

// "A0".."Z9" (sources 1 and 2) or "A1".."A10", "B1".. (source 3), then the
// extension. Past "Z" the letter becomes "Z" + the group number + "_", so
// names stay distinct and never hold a separator.
std::string NumberedName(int source, int descPictureCount, int fileNumber, const std::string& extension) {
  const int group = (descPictureCount + 9) / 10;
  const std::string letter =
      group <= 26 ? std::string(1, static_cast<char>('A' + group - 1)) : "Z" + Decimal(group) + "_";
  const int number =
      source == 3 ? (fileNumber % 10 == 0 ? 10 : fileNumber % 10) : (descPictureCount - 1) % 10;
  return letter + Decimal(number) + extension;
}

std::string LocalLink(ItemRun& run, const std::string& path) {
  return platform::Utf8ToGbk("file://" + run.context.services.files.NativePath(path));
}

void RunSource(ItemRun& run, const DescSource& source, const std::string& descFolder) {
  const auto address = DescriptionAddress(run.PageText, source);
  if (!address) return;
  // A description that failed to arrive leaves the saved page as it was.
  const std::optional<std::string> fetched = run.TryFetchText(*address);
  if (!fetched) return;
  const std::string& description = *fetched;
  run.DescriptionFound = true;
  const std::vector<std::string> links = HttpLinks(description);

  run.window.SetScratchText(description);
  run.window.SetScratchText(StripScriptWrapper(run.window.ScratchText()));
  std::string detailPage = run.window.ScratchText();
  const std::string savedPage = descFolder + "详情.html"_gbk;
  if (source.number != 1 && !run.ItemFolderName.empty() && run.Exists(savedPage)) {
    detailPage = UpToZero(run.context.services.files.ReadFile(savedPage).value_or(""));
  }

  int fileNumber = 1;
  int descPictureCount = 0;
  if (source.number == 3) run.window.SetProgress(60);
  for (const std::string& link : links) {
    const std::string picture = DeleteAll(DeleteAll(DeleteAll(link, ")"), "'"), "\"");
    if (!NamesPicture(picture)) continue;
    const std::string extension = PictureExtension(picture);
    descPictureCount += 1;
    run.LogAddress(picture);
    const std::string name = run.IsOn(job::Option::FolderPerItem)
                                 ? NumberedName(source.number, descPictureCount, fileNumber, extension)
                                 : job::LastPieceName(picture);
    if (run.Exists(descFolder + name)) continue;
    // A picture that failed keeps its web address in the page: a local link
    // to a file that is not there would lose it.
    if (run.DownloadNewFile(picture, descFolder + name) && !run.ItemFolderName.empty()) {
      detailPage = ReplaceAll(detailPage, picture, LocalLink(run, descFolder + name));
    }
    fileNumber += 1;
  }

  if (!run.ItemFolderName.empty()) {
    run.Save(savedPage, detailPage);
    run.window.SetScratchText(detailPage);
  }
}

}  // namespace

void DescriptionStep(ItemRun& run) {
  run.window.SetProgress(20);
  run.SetStatus("正在下载宝贝描述中……"_gbk);
  std::string descFolder = run.ItemFolder;
  if (!run.ItemFolderName.empty()) {
    run.EnsureFolder(run.ItemFolder);
    descFolder = run.ItemFolder + "宝贝描述\\"_gbk;
    run.EnsureFolder(descFolder);
  }
  for (const DescSource& source : kDescSources) {
    if (Contains(run.PageText, source.test)) RunSource(run, source, descFolder);
    if (source.number == 1) run.window.SetProgress(25);
    if (source.number == 2) run.window.SetProgress(50);
  }
}

}  // namespace taotu::item
