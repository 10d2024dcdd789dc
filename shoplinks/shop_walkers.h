#pragma once
// The shop walkers: read a shop's page count, fetch its listing pages one by
// one and add each new item link to the shop link window's list. A walker
// runs on the calling thread; the window starts it on a thread of its own.
#include "platform/http.h"
#include "shoplinks/shop_link_session.h"
#include "shoplinks/shop_sites.h"
#include "shoplinks/shop_window_port.h"

namespace taotu::shoplinks {

// Listing pages beyond this are not fetched: no shop has that many, and a
// page that says so would keep the walk going for days.
inline constexpr int kMaxListingPages = 10000;

struct WalkResult {
  enum class End {
    Walked,       // the listing pages were walked (or some of them, see the notes)
    NoPageCount,  // "网络超时，请重试！": the first page failed or lacked the marker
    Stopped,      // the session was stopped; the window was left alone from then on
  };
  End end = End::Walked;
  int pagesFetched = 0;  // listing pages that came
  int pagesFailed = 0;   // listing pages that did not
  int linksAdded = 0;
};

struct ShopWalk {
  ShopWindowPort& window;
  ShopLinkSession& session;
  platform::HttpClient& http;
};

WalkResult TmallShopWalker(ShopWalk& walk);
WalkResult TaobaoShopWalker(ShopWalk& walk);
WalkResult Shop1688Walker(ShopWalk& walk);

using ShopWalker = WalkResult (*)(ShopWalk& walk);
ShopWalker WalkerFor(ShopSite site);

}  // namespace taotu::shoplinks
