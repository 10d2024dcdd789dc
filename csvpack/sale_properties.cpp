// The item's sale properties: the property list with its swatch pictures and
// names, and the price and stock of each combination in skuMap.
#include "csvpack/csv_item.h"
#include "text/gbk_literal.h"
#include "text/gbk_text.h"

namespace taotu::csvpack {

using namespace text;

namespace {

std::string NameOf(const std::string& piece) {
  std::string name;
  if (Contains(piece, "title=")) {
    name = Between(piece, "title=\"", "\"");
  } else if (Contains(piece, "<span>")) {
    name = Between(piece, "<span>", "</span>");
  }
  return DeleteAll(name, "\"");
}

// The swatch's full-size picture: "background:url(...)" with the size
// suffix taken off (the page's ")" reads as a quote here).
std::string SwatchAddressOf(const std::string& piece) {
  if (!Contains(piece, "background:url(")) return {};
  std::string address = Between(piece, "background:url(", "\"");
  for (std::string_view suffix :
       {"_30x30.jpg", "_30x30q90.jpg", "_40x40.jpg", "_40x40q90.jpg", "_50x50.jpg", "_50x50q90.jpg"}) {
    address = DeleteAll(address, suffix);
  }
  return address;
}

}  // namespace

void PropertyListStep(CsvItem& item) {
  const std::string& page = item.PageText();
  if (!Contains(page, "<li data-value=\"")) {
    AppendQuoted(item.CsvRow, "1:0");
    return;
  }
  const std::vector<std::string> pieces = Split(page, "<li data-value=\"");
  item.CatePropsList.clear();
  item.PropAliasList.clear();
  item.PropPictureList.clear();
  item.run.SetStatus("正在分析CSV数据包的主图及属性图中……"_gbk);
  for (std::size_t i = 1; i < pieces.size(); ++i) {
    const std::string& piece = pieces[i];
    if (piece.empty()) continue;  // two markers in a row hold no property
    const std::string value = FirstPiece(piece, "\"");
    item.CatePropsList = value + ";" + item.CatePropsList;
    if (const std::string name = NameOf(piece); !name.empty()) {
      item.PropAliasList = value + ":" + name + ";" + item.PropAliasList;
    }
    if (const std::string address = SwatchAddressOf(piece); !address.empty()) {
      const std::vector<std::string> parts = Split(address, "/");
      const std::string tbiName = StoreTbiPicture(item, address, parts.back(), true);
      item.PropPictureList = tbiName + ":2:0:" + value + "|;" + item.PropPictureList;
      item.PictureCount += 1;
      item.PictureStatus = 2;
    }
  }
  item.CatePropsList = DeleteAll(item.CatePropsList, "title=;");
  AppendQuoted(item.CsvRow, item.CatePropsList);
}

void SkuStep(CsvItem& item) {
  const std::string& page = item.PageText();
  if (!Contains(page, "skuMap")) return;
  std::string map = FirstPiece(Between(page, "skuMap", "skuMap"), "http://");
  for (std::string_view noise : {" ", "\r\n", ";Hub"}) map = DeleteAll(map, noise);
  const std::vector<std::string> pieces = Split(map, "\";");
  for (std::size_t i = 1; i < pieces.size(); ++i) {
    const std::string& piece = pieces[i];
    // A combination without its price or stock is left out.
    if (!Contains(piece, "price\":\"") || !Contains(piece, "stock\":")) continue;
    const std::string key = FirstPiece(piece, ";\"");
    const std::string price = Between(piece, "price\":\"", "\"");
    const std::string stock = Between(piece, "stock\":", "}");
    item.SkuPropsList = price + ":" + stock + "::" + key + ";" + item.SkuPropsList;
  }
}

}  // namespace taotu::csvpack
