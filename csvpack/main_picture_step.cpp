// The item's main pictures as .tbi files beside the package, listed for the
// picture column.
#include <cctype>

#include "csvpack/csv_item.h"
#include "platform/md5.h"
#include "text/gbk_text.h"

namespace taotu::csvpack {

using namespace text;

namespace {

// Where a page keeps its thumbnail list and how to read it.
struct ThumbnailVariant {
  std::string_view sizeMarker;  // "_60x60q90.jpg": its presence chooses the variant
  std::string_view listMarker;  // the list runs from here ...
  std::string_view separator;   // ... and its pieces start after this
  std::string_view prefix;      // the address is prefix + stem + suffix
  std::string_view suffix;
};
constexpr ThumbnailVariant kVariants[] = {
    {"_60x60q90.jpg", "tb-selected", "http://", "http://", ""},        // Taobao
    {"_50x50.jpg", "tb-selected", "http://", "http://", ""},           // Tmall
    {".64x64.jpg", "nav nav-tabs fd-clr", "<img src=\"", "", ".jpg"},  // 1688
};

std::string LastPieceOf(const std::string& text) {
  const std::vector<std::string> pieces = Split(text, "/");
  return pieces.empty() ? std::string() : pieces.back();
}

}  // namespace

std::string StoreTbiPicture(CsvItem& item, const std::string& address, const std::string& fileName,
                            bool upperCase) {
  std::string tbiName = platform::Md5Hex(fileName);
  if (upperCase) {
    for (char& c : tbiName) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  const std::string path = item.run.PackageFolder + tbiName + ".tbi";
  if (!item.run.Exists(path)) item.run.DownloadNewFile(address, path);
  return tbiName;
}

void MainPictureStep(CsvItem& item) {
  const std::string& page = item.PageText();
  for (const ThumbnailVariant& variant : kVariants) {
    if (!Contains(page, variant.sizeMarker)) continue;
    // A page that names the size but not the list has no main pictures.
    if (!Contains(page, variant.listMarker)) return;
    const std::string list = FirstPiece(Between(page, variant.listMarker, variant.listMarker), "</ul>");
    const std::vector<std::string> pieces = Split(list, variant.separator);
    item.MainPictureList.clear();
    int position = 0;
    for (std::size_t k = 1; k < pieces.size(); ++k) {
      if (pieces[k].empty()) continue;  // two separators in a row name no picture
      const std::string stem = FirstPiece(pieces[k], variant.sizeMarker);
      const std::string address = std::string(variant.prefix) + stem + std::string(variant.suffix);
      const std::string tbiName = StoreTbiPicture(item, address, LastPieceOf(stem), false);
      item.MainPictureList += tbiName + ":1:" + Decimal(position++) + ":|;";
      item.PictureCount += 1;
    }
    return;
  }
}

}  // namespace taotu::csvpack
