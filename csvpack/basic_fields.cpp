// Columns 1 to 20: what the item page says of the item, and fixed settings.
#include "csvpack/csv_item.h"
#include "item/item_naming.h"
#include "text/codecs.h"
#include "text/gbk_literal.h"
#include "text/gbk_text.h"

namespace taotu::csvpack {

using namespace text;

namespace {

enum class Layout { A, B, C };

Layout LayoutOf(const std::string& page) {
  if (Contains(page, "descUrl")) return Layout::A;
  if (Contains(page, "g_config.dynamicScript(")) return Layout::B;
  return Layout::C;
}

// The text after `start` up to `end`, when the page holds `start` with
// something after it.
std::optional<std::string> Marked(std::string_view page, std::string_view start, std::string_view end) {
  if (!Contains(page, start)) return std::nullopt;
  std::string value = Between(page, start, end);
  if (value.empty()) return std::nullopt;
  return value;
}

std::optional<std::string> LocationOf(CsvItem& item, Layout layout) {
  const std::string& page = item.PageText();
  switch (layout) {
    case Layout::A: return Marked(page, "region\" value=\"", "\"");
    case Layout::B: {
      const auto address = Marked(page, "{var b=\"", "\"");
      if (!address || !(address->starts_with("http://") || address->starts_with("https://")))
        return std::nullopt;
      const std::string source = item.run.FetchText(*address);
      if (source.empty()) return std::nullopt;
      if (Contains(source, "sendCity\":\"")) return Marked(source, "sendCity\":\"", "\"");
      return Marked(source, "location:'", "'");
    }
    case Layout::C: {
      const auto location = Marked(page, "delivery-addr\">", "</span>");
      if (!location) return std::nullopt;
      return DeleteAll(*location, " ");
    }
  }
  return std::nullopt;
}

std::string PriceOf(const std::string& page, Layout layout) {
  std::optional<std::string> price;
  switch (layout) {
    case Layout::A: price = Marked(page, "&yen;", "</span>"); break;
    case Layout::B: price = Marked(page, "tb-rmb-num\">", "</"); break;
    case Layout::C:
      if (Contains(page, "\"price\">")) price = Between(page, "\"price\">", "</");
      break;
  }
  if (!price) return "0";
  return Split(*price, " - ").empty() ? "0" : Split(*price, " - ")[0];
}

}  // namespace

void AppendBasicFields(CsvItem& item) {
  const std::string& page = item.PageText();
  const Layout layout = LayoutOf(page);

  item.CsvRow.clear();
  AppendQuoted(item.CsvRow, item::CleanTitle(item::RawTitleOf(page).value_or("")));

  if (layout != Layout::C) {
    item.CsvRow += Marked(page, "%5f", "&").value_or("0") + ",";
    AppendQuoted(item.CsvRow, Marked(page, "shopId=", ";").value_or("0"));
    item.CsvRow += "0,";
  } else {
    item.CsvRow += "0,0,0,";
  }

  if (const auto location = LocationOf(item, layout)) {
    AppendQuoted(item.CsvRow, std::string(Left(*location, 4)));
    AppendQuoted(item.CsvRow, std::string(Right(*location, 4)));
  } else {
    item.CsvRow += "||||||,||||||,";
  }

  item.CsvRow += "1,";
  item.CsvRow += PriceOf(page, layout) + ",";
  item.CsvRow += "|||0|||,1000,7,2,0.1,0,0.1,0,0,1,1,";
  AppendQuoted(item.CsvRow, DateTimeText(item.run.context.services.clock.Now()));
}

}  // namespace taotu::csvpack
