#include "item/item_naming.h"

#include <vector>

#include "job/hosts.h"
#include "text/gbk_literal.h"
#include "text/gbk_text.h"

namespace taotu::item {

using namespace text;

std::optional<std::string> ItemIdOf(std::string_view address) {
  if (!Contains(address, "id=")) return std::nullopt;
  const std::vector<std::string> afterKey = Split(std::string(address) + "&", "id=");
  if (afterKey.size() < 2) return std::string();
  const std::vector<std::string> id = Split(afterKey[1], "&");
  return id.empty() ? std::string() : id[0];
}

std::optional<std::string> RawTitleOf(std::string_view pageText) {
  if (!Contains(pageText, "<title>")) return std::nullopt;
  const std::vector<std::string> afterTag = Split(pageText, "<title>");
  if (afterTag.size() < 2) return std::nullopt;
  const std::vector<std::string> title = Split(afterTag[1], "</title>");
  return title.empty() ? std::string() : title[0];
}

std::string CleanTitle(std::string_view rawTitle) {
  std::string title = DeleteAll(rawTitle, "-淘宝网"_gbk);
  title = DeleteAll(title, job::TmallTitleSuffix());
  title = DeleteAll(title, "...");
  title = DeleteAll(title, "-");
  for (const std::string& c : {std::string("/"), std::string("\\"), std::string("|"), std::string("\\"),
                               std::string("*"), std::string("&"), std::string("."), std::string("\\"),
                               std::string("@"), std::string(">"), std::string("<"), "《"_gbk, "》"_gbk}) {
    title = ReplaceAll(title, c, " ");
  }
  return ReplaceAll(title, "\"", ")");
}

}  // namespace taotu::item
