#include "shoplinks/shop_walkers.h"

#include <optional>
#include <string>
#include <vector>

#include "text/gbk_literal.h"
#include "text/gbk_text.h"

namespace taotu::shoplinks {

using namespace text;

namespace {

using End = WalkResult::End;

std::string FailureNote(const std::string& address, const platform::HttpResult& result) {
  return "页面获取失败："_gbk + address + " " + (result.timedOut ? "超时"_gbk : result.error);
}

// The number of listing pages that the first page shows after its marker.
long long PageCount(ShopWindowPort& window, const SiteWalk& site, std::string_view page) {
  const std::string piece = Between(page, site.pageCountMarker, "<");
  if (!site.countAfterSlash) return ToInteger(piece);
  const std::vector<std::string> parts = Split(piece, "/");
  if (parts.size() < 2) {
    // "1/" or "35": not the "page/pages" the site shows; nothing to walk.
    window.ShowNote("无法识别店铺页数："_gbk + piece);
    return 0;
  }
  return ToInteger(parts[1]);
}

int CollectLinks(ShopWalk& walk, const SiteWalk& site, std::string_view page) {
  const std::string text =
      site.deletedBeforeSplit.empty() ? std::string(page) : DeleteAll(page, site.deletedBeforeSplit);
  const std::vector<std::string> pieces = Split(text, site.itemLinkBase);
  int added = 0;
  // The piece before the first link holds no id.
  for (std::size_t k = 1; k < pieces.size(); ++k) {
    const int end = Find(pieces[k], site.idEnd);
    const std::string id = end < 0 ? pieces[k] : pieces[k].substr(0, end - 1);
    if (walk.session.AddLink(walk.window, id, site.itemLinkBase + id + site.linkTail)) ++added;
  }
  return added;
}

WalkResult Walk(ShopWalk& walk, const SiteWalk& site) {
  ShopWindowPort& window = walk.window;
  WalkResult result;
  const auto stopped = [&result] {
    result.end = End::Stopped;
    return result;
  };
  if (walk.session.StopRequested()) return stopped();

  window.SetProgressVisible(true);
  window.SetProgress(5);
  const std::string first = window.ShopAddress() + site.firstPagePath;
  const platform::HttpResult firstPage = walk.http.Get(first);
  if (walk.session.StopRequested()) return stopped();
  if (!firstPage.ok()) window.ShowNote(FailureNote(first, firstPage));
  const std::string_view firstText = firstPage.ok() ? UpToZero(firstPage.body) : std::string_view();

  long long pages = 1;
  if (Contains(firstText, site.pageCountMarker)) {
    pages = PageCount(window, site, firstText);
    window.SetProgress(10);
  } else if (site.pageCountRequired) {
    window.ShowMessage("网络超时，请重试！"_gbk);
    window.SetFetchButtonEnabled(true);
    result.end = End::NoPageCount;
    return result;
  }
  if (pages > kMaxListingPages) {
    window.ShowNote("店铺页数为 "_gbk + Decimal(pages) + "，只获取前 "_gbk + Decimal(kMaxListingPages) +
                    " 页"_gbk);
    pages = kMaxListingPages;
  }

  std::optional<std::string> previous;  // the last listing page, when it came
  for (int i = 1; i <= pages; ++i) {
    if (walk.session.StopRequested()) return stopped();
    const std::string address = window.ShopAddress() + site.pagePath + Decimal(i);
    const platform::HttpResult page = walk.http.Get(address);
    if (walk.session.StopRequested()) return stopped();
    if (!page.ok()) {
      window.ShowNote(FailureNote(address, page));
      ++result.pagesFailed;
      previous.reset();
    } else {
      std::string text(UpToZero(page.body));
      // A site that answers every page number past the end with its last
      // page would otherwise be walked up to the page count.
      if (previous == text) {
        window.ShowNote("第 "_gbk + Decimal(i) + " 页与上一页相同，不再往下获取"_gbk);
        break;
      }
      ++result.pagesFetched;
      result.linksAdded += CollectLinks(walk, site, text);
      previous = std::move(text);
    }
    window.SetProgress(window.Progress() + static_cast<int>(90 / pages));
  }

  window.SetProgress(100);
  if (site.hideBarAtEnd) window.SetProgressVisible(false);
  window.SetFetchButtonEnabled(true);
  return result;
}

}  // namespace

WalkResult TmallShopWalker(ShopWalk& walk) { return Walk(walk, WalkOf(ShopSite::Tmall)); }
WalkResult TaobaoShopWalker(ShopWalk& walk) { return Walk(walk, WalkOf(ShopSite::Taobao)); }
WalkResult Shop1688Walker(ShopWalk& walk) { return Walk(walk, WalkOf(ShopSite::Alibaba1688)); }

ShopWalker WalkerFor(ShopSite site) {
  switch (site) {
    case ShopSite::Tmall: return TmallShopWalker;
    case ShopSite::Taobao: return TaobaoShopWalker;
    case ShopSite::Alibaba1688: break;
  }
  return Shop1688Walker;
}

}  // namespace taotu::shoplinks
