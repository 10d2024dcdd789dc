#pragma once
// What the shop link window and its walkers share while the window is open:
// ShopLinkCount and the ids of the listed links.
#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>

#include "shoplinks/shop_window_port.h"

namespace taotu::shoplinks {

// "共获得 " + count + " 个宝贝链接！"
std::string CountCaption(int count);

// The ids of the links in the list text, so that a duplicate is the same id
// and never a piece of a longer one. Only a walker appends to the list and
// only 清空 empties it, so a list whose size is not what the walker left
// has been emptied (or changed) and its ids are read again from its lines.
class CollectedIds {
 public:
  bool Contains(std::string_view listText, const std::string& id);
  // After the walker appended a line of `lineBytes` for `id` to the list.
  void Added(const std::string& id, std::size_t lineBytes);

 private:
  std::unordered_set<std::string> ids_;
  std::size_t listBytes_ = 0;
};

class ShopLinkSession {
 public:
  // ShopLinkCount: every link added since the window was opened; 清空
  // leaves it.
  int LinkCount() const { return count_; }

  // Appends link + "\r\n" to the list and shows the new count, unless the
  // id is empty or already listed. True when added.
  bool AddLink(ShopWindowPort& window, const std::string& id, const std::string& link);

  // The window is going away: a running walker stops at its next page and
  // touches the window no more.
  void RequestStop() { stop_ = true; }
  bool StopRequested() const { return stop_; }

 private:
  std::atomic<int> count_{0};
  std::atomic<bool> stop_{false};
  CollectedIds ids_;  // only the walker's thread touches it
};

}  // namespace taotu::shoplinks
