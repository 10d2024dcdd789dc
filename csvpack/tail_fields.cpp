// Columns 23 to 58: brand and model, the lists the picture and property
// steps collected, the seller's nick and the selling point.
#include "csvpack/csv_item.h"
#include "job/hosts.h"
#include "text/codecs.h"
#include "text/gbk_literal.h"
#include "text/gbk_text.h"

namespace taotu::csvpack {

using namespace text;

namespace {

// The text after `label` up to "</li>", without "&nbsp;" and outer blanks,
// numeric references decoded.
std::string ListedValue(const std::string& page, const std::string& label) {
  std::string value = TrimBlanks(DeleteAll(Between(page, label, "</li>"), "&nbsp;"));
  if (Contains(value, "&#")) value = DecodeNumericRefs(value);
  return value;
}

std::string NickOf(const std::string& page, const std::string& entry) {
  if (!Contains(page, "data-nick=\"")) return {};
  std::string nick = TrimBlanks(DeleteAll(Between(page, "data-nick=\"", "\""), "&nbsp;"));
  if (Contains(nick, "%") && !Contains(entry, job::k1688Domain)) nick = Utf8ToAnsi(PercentDecode(nick));
  return nick;
}

std::string SellingPointOf(const std::string& page) {
  std::string line;
  if (Contains(page, "<p class=\"tb-subtitle\">")) {
    line = Between(page, "<p class=\"tb-subtitle\">", "</p>");
  } else if (Contains(page, "<p>")) {
    line = Between(page, "<p>", "</p>");
  } else {
    return {};
  }
  line = TrimBlanks(DeleteAll(DeleteAll(line, "&nbsp;"), "\r\n"));
  for (std::string_view gap : {" ", "\t", "\r\n"}) line = DeleteAll(line, gap);
  return line;
}

}  // namespace

void AppendTailFields(CsvItem& item) {
  const std::string& page = item.PageText();
  const std::string& entry = item.run.CurrentEntry();
  std::string inputValues;
  if (Contains(page, "品牌:"_gbk)) inputValues = ListedValue(page, "品牌:"_gbk);
  const bool hasModel = Contains(page, "型号:"_gbk);
  std::string model;
  if (hasModel) model = ListedValue(page, "型号:"_gbk);
  if (!model.empty()) inputValues += ";型号;"_gbk + model + ";";
  if (Contains(entry, job::k1688Domain)) {
    item.SkuPropsList.clear();
    inputValues.clear();
  }
  std::string pictureStatus;
  for (int i = 0; i < item.PictureCount; ++i) pictureStatus += Decimal(item.PictureStatus) + ";";
  // A page without a model gets one blank in its column, as a model of
  // script text does.
  if (!hasModel || Contains(model, "{")) model = " ";

  std::string& row = item.CsvRow;
  row += "0,0,";
  AppendQuoted(row, DateTimeText(item.run.context.services.clock.Now()));
  AppendQuoted(row, "200");
  AppendQuoted(row, pictureStatus);
  row += "0,";
  AppendQuoted(row, item.MainPictureList + item.PropPictureList);
  AppendQuoted(row, "");
  AppendQuoted(row, item.SkuPropsList);
  AppendQuoted(row, "20000");
  AppendQuoted(row, inputValues);
  AppendQuoted(row, model);
  AppendQuoted(row, item.PropAliasList);
  row += "0,";

  row += item.run.ItemId + ",0,2," + NickOf(page, entry) + ",1,20,248,,,0,-1,,2,,,1,,||||||,,;,1,|||" +
         SellingPointOf(page) + "|||";
}

}  // namespace taotu::csvpack
