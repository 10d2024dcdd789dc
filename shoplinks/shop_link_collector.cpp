#include "shoplinks/shop_link_collector.h"

#include <vector>

#include "job/hosts.h"
#include "text/gbk_literal.h"
#include "text/gbk_text.h"

namespace taotu::shoplinks {

using namespace text;

const std::string& ExampleCaption() {
  static const std::string caption = "店铺地址输入示例：\r\n天猫店铺：http://lanchuan."_gbk +
                                     std::string(job::kTmallDomain) + "\r\n淘宝店铺：http://lanchuan."_gbk +
                                     std::string(job::kTaobaoDomain) + "\r\n1688店铺：http://lanchuan."_gbk +
                                     std::string(job::k1688Domain);
  return caption;
}

AddressCheck CheckShopAddress(std::string_view typed) {
  AddressCheck check;
  check.address = typed;
  if (typed.empty()) {
    check.message = "店铺地址不能不输入的！"_gbk;
    return check;
  }
  if (!Contains(check.address, "http://")) check.address = "http://" + check.address;
  const auto refused = [&check] {
    check.message = "请输入正确的店铺地址？！\r\n\r\n"_gbk + ExampleCaption();
    return check;
  };
  if (!Contains(check.address, job::kTmallDomain) && !Contains(check.address, job::k1688Domain) &&
      !Contains(check.address, job::kTaobaoDomain)) {
    return refused();
  }
  // The third piece is the host of "http://host/...". Without one there is
  // no shop to walk; the refused text keeps its added scheme.
  const std::vector<std::string> pieces = Split(check.address, "/");
  if (pieces.size() < 3 || pieces[2].empty()) return refused();
  check.address = "http://" + pieces[2];
  check.accepted = true;
  // The host alone decides: a domain word only in the path leads to 1688.
  if (Contains(check.address, job::kTmallDomain)) {
    check.site = ShopSite::Tmall;
  } else if (Contains(check.address, job::kTaobaoDomain)) {
    check.site = ShopSite::Taobao;
  } else {
    check.site = ShopSite::Alibaba1688;
  }
  return check;
}

std::optional<ShopWalker> PrepareWalk(ShopWindowPort& window) {
  window.SetFetchButtonEnabled(false);
  const std::string typed = window.ShopAddress();
  const AddressCheck check = CheckShopAddress(typed);
  if (check.address != typed) window.SetShopAddress(check.address);
  if (!check.accepted) {
    window.ShowMessage(check.message);
    window.SetFetchButtonEnabled(true);
    return std::nullopt;
  }
  return WalkerFor(check.site);
}

void ClearShopWindow(ShopWindowPort& window) {
  window.SetShopAddress("");
  window.SetLinkList("");
}

bool HandOverLinks(ShopWindowPort& window, job::MainWindowPort& main) {
  const std::string links = window.LinkList();
  if (links.empty()) {
    window.ShowMessage("您还未获取一个链接呢！"_gbk);
    return false;
  }
  main.SetAddressList(links);
  return true;
}

}  // namespace taotu::shoplinks
