#pragma once
// The three shop sites and what a walk over each one's listing pages needs.
#include <string>
#include <string_view>

namespace taotu::shoplinks {

enum class ShopSite { Tmall, Taobao, Alibaba1688 };

// One site's listing pages and link form. All text is GBK (ASCII here).
struct SiteWalk {
  std::string firstPagePath;    // added to the shop address: the page with the page count
  std::string pagePath;         // added to the shop address, then the page number
  std::string pageCountMarker;  // right before the page count
  // Tmall and Taobao show "1/35" and the count is the part after the "/";
  // 1688 shows the count alone.
  bool countAfterSlash = false;
  // Without the marker Tmall and Taobao give up, 1688 walks one page.
  bool pageCountRequired = false;
  std::string deletedBeforeSplit;  // "" when the page is taken as fetched
  std::string itemLinkBase;        // what precedes an id; the link starts with it
  std::string idEnd;
  std::string linkTail;  // after the id in the collected link
  bool hideBarAtEnd = false;
};

const SiteWalk& WalkOf(ShopSite site);

// The id of a line of the link list: the text after the ItemLinkBase of its
// site (without the 1688 ".html"); a line of no known form is its own id.
std::string_view IdOfLink(std::string_view line);

}  // namespace taotu::shoplinks
