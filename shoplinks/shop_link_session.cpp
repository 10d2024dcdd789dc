#include "shoplinks/shop_link_session.h"

#include "shoplinks/shop_sites.h"
#include "text/gbk_literal.h"
#include "text/gbk_text.h"

namespace taotu::shoplinks {

using namespace text;

std::string CountCaption(int count) { return "共获得 "_gbk + Decimal(count) + " 个宝贝链接！"_gbk; }

bool CollectedIds::Contains(std::string_view listText, const std::string& id) {
  if (listText.size() != listBytes_) {
    ids_.clear();
    for (const std::string& line : Split(listText, "\r\n")) ids_.emplace(IdOfLink(line));
    listBytes_ = listText.size();
  }
  return ids_.contains(id);
}

void CollectedIds::Added(const std::string& id, std::size_t lineBytes) {
  ids_.insert(id);
  listBytes_ += lineBytes;
}

bool ShopLinkSession::AddLink(ShopWindowPort& window, const std::string& id, const std::string& link) {
  if (id.empty() || ids_.Contains(window.LinkList(), id)) return false;
  const std::string line = link + "\r\n";
  window.SetCountCaption(CountCaption(++count_));
  window.AppendLinkList(line);
  ids_.Added(id, line.size());
  return true;
}

}  // namespace taotu::shoplinks
