#pragma once
// One item's CSV export: the row it builds and the lists its steps collect
// for the later columns.
#include <string>

#include "csvpack/csv_package_state.h"
#include "item/item_run.h"

namespace taotu::csvpack {

struct CsvItem {
  CsvItem(item::ItemRun& run, CsvPackageState& package)
      : run(run), package(package), CsvRow(package.CsvRow) {}

  item::ItemRun& run;
  CsvPackageState& package;
  std::string& CsvRow;
  const std::string& PageText() const { return run.PageText; }

  int PictureCount = 0;
  int PictureStatus = 1;
  std::string MainPictureList;  // "<md5>:1:<k>:|;" per main picture
  std::string PropPictureList;  // "<MD5>:2:0:<value>|;", newest first
  std::string CatePropsList;    // "<value>;", newest first
  std::string PropAliasList;    // "<value>:<name>;", newest first
  std::string SkuPropsList;     // "<price>:<stock>::<key>;", newest first
};

// The text before the first `separator` (all of it when there is none).
std::string FirstPiece(const std::string& text, std::string_view separator);

// Appends a field between quote markers, and the comma after it.
inline void AppendQuoted(std::string& row, const std::string& value) { row += "|||" + value + "|||,"; }

// Columns 1 to 20: title, category, shop, location, price, fixed settings.
void AppendBasicFields(CsvItem& item);
// Removes the opening tags of links ("<a " ... ">") with all their attributes
// and every "</a>"; the link texts stay. Pieces are taken from the text as
// it was, each deletion works on what the earlier ones left.
std::string RemoveHyperlinks(const std::string& text);
// Column 21: the description, its hyperlinks removed when asked.
void AppendDescriptionField(CsvItem& item);
// Column 22 and the property pictures; the aliases for column 35.
void PropertyListStep(CsvItem& item);
// The main pictures as .tbi files, listed for column 29.
void MainPictureStep(CsvItem& item);
// The combinations of skuMap, for column 31.
void SkuStep(CsvItem& item);
// Columns 23 to 58.
void AppendTailFields(CsvItem& item);
// The package file, independent or composite.
void WriteCsvPackage(CsvItem& item);

// Stores a picture as "<digest>.tbi" in the package folder unless it is
// there already; the digest is the MD5 of `fileName`, upper case on request.
std::string StoreTbiPicture(CsvItem& item, const std::string& address, const std::string& fileName,
                            bool upperCase);

}  // namespace taotu::csvpack
