#pragma once
// The shop link window's own steps: 获取 (address check, normalisation and
// the walker for its site), 清空 and 确定.
#include <optional>
#include <string>
#include <string_view>

#include "job/main_window_port.h"
#include "shoplinks/shop_sites.h"
#include "shoplinks/shop_walkers.h"
#include "shoplinks/shop_window_port.h"

namespace taotu::shoplinks {

// The caption of 标签3: a heading and one example shop address per site.
const std::string& ExampleCaption();

struct AddressCheck {
  bool accepted = false;
  std::string address;                    // what 编辑框1 holds afterwards
  std::string message;                    // when refused
  ShopSite site = ShopSite::Alibaba1688;  // when accepted
};

// Steps 2 to 6 of 获取 on the typed text: "http://" added when missing, a
// text with none of the three domains (or without a host) refused, the rest
// cut back to "http://" + host, the site chosen by the host.
AddressCheck CheckShopAddress(std::string_view typed);

// 获取 up to the start of the walk: 按钮1 disabled, the address checked and
// written back. The walker to start, or nullopt when refused (the message
// shown, 按钮1 enabled again).
std::optional<ShopWalker> PrepareWalk(ShopWindowPort& window);

// 清空: address and list emptied; ShopLinkCount and 标签4 stay.
void ClearShopWindow(ShopWindowPort& window);

// 确定: the list replaces the main window's address list. False, after the
// message, when the list is empty and the window stays open; true when the
// window is to close.
bool HandOverLinks(ShopWindowPort& window, job::MainWindowPort& main);

}  // namespace taotu::shoplinks
