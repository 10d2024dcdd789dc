// Column 21: the detail page the description step left in the scratch text.
#include "csvpack/csv_item.h"
#include "text/gbk_literal.h"
#include "text/gbk_text.h"

namespace taotu::csvpack {

using namespace text;

std::string RemoveHyperlinks(const std::string& text) {
  std::string t = text;
  const std::vector<std::string> pieces = Split(text, "<a ");
  for (std::size_t i = 1; i < pieces.size(); ++i) {
    if (pieces[i].empty()) continue;          // "<a " right after "<a "
    if (!Contains(pieces[i], ">")) continue;  // such a tag never closes
    t = DeleteAll(t, "<a " + Split(pieces[i], ">")[0] + ">");
  }
  return DeleteAll(t, "</a>");
}

void AppendDescriptionField(CsvItem& item) {
  item::ItemRun& run = item.run;
  // An item without a description of its own gets none, not the last item's.
  if (!run.DescriptionFound) {
    AppendQuoted(item.CsvRow, "");
    return;
  }
  if (run.IsOn(job::Option::RemoveHyperlinks)) {
    run.SetStatus("正在删除CSV数据包中的超链接，很快就可以完成了。"_gbk);
    run.window.SetScratchText(RemoveHyperlinks(run.window.ScratchText()));
  }
  AppendQuoted(item.CsvRow, ReplaceAll(run.window.ScratchText(), "\"", "\"\""));
}

}  // namespace taotu::csvpack
