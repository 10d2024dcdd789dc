#include "job/address_list.h"

#include "text/gbk_literal.h"
#include "text/gbk_text.h"

namespace taotu::job {

using namespace text;

const std::string& ListHint() { return "复制淘宝、天猫、阿里的商品连接地址粘贴到此文本框里，每行一个。"_gbk; }

std::vector<std::string> JobListOf(std::string_view listText) { return Split(listText, "\r\n"); }

std::string CollapseBlankLines(std::string_view listText) {
  std::string text(listText);
  for (int pass = 0; pass < 99; ++pass) {
    text = ReplaceAll(text, "\r\n\r\n", "\r\n");
    if (!Contains(text, "\r\n\r\n")) break;
  }
  return text;
}

std::string ListAfterFocusIn(std::string_view listText) {
  return listText == ListHint() ? std::string() : std::string(listText);
}

std::string ListAfterFocusOut(std::string_view listText) {
  return listText.empty() ? ListHint() : CollapseBlankLines(listText);
}

std::optional<std::string> ListAfterDrop(std::string_view dropped, std::string_view listText,
                                         platform::FileSystem& files) {
  if (Right(dropped, 4) == ".txt") {
    const std::optional<std::string> bytes = files.ReadFile(std::string(dropped));
    return bytes ? std::string(UpToZero(*bytes)) : std::string();
  }
  if (Right(dropped, 4) == ".csv") {
    std::string list = ListAfterFocusIn(listText);
    if (!list.empty()) list += "\r\n";
    list += dropped;
    return list;
  }
  return std::nullopt;
}

}  // namespace taotu::job
