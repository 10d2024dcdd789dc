#include "shoplinks/shop_sites.h"

#include "job/hosts.h"

namespace taotu::shoplinks {
namespace {

SiteWalk Tmall() {
  SiteWalk walk;
  walk.firstPagePath = "/search.htm?search=y";
  walk.pagePath = "/search.htm?search=y&pageNo=";
  walk.pageCountMarker = "ui-page-s-len\">";
  walk.countAfterSlash = true;
  walk.pageCountRequired = true;
  walk.itemLinkBase = "http://" + std::string(job::kTmallItemHost) + "/item.htm?id=";
  walk.idEnd = "&";
  walk.hideBarAtEnd = true;
  return walk;
}

SiteWalk Taobao() {
  SiteWalk walk = Tmall();
  walk.pageCountMarker = "page-info\">";
  // A review link carries this right after the id; without it the review
  // link ends at the same quote as the item link.
  walk.deletedBeforeSplit = "&on_comment=1";
  walk.itemLinkBase = "http://" + std::string(job::kTaobaoItemHost) + "/item.htm?id=";
  walk.idEnd = "\"";
  return walk;
}

SiteWalk Alibaba1688() {
  SiteWalk walk;
  walk.firstPagePath = "/page/offerlist.htm";
  walk.pagePath = "/page/offerlist.htm?pageNum=";
  walk.pageCountMarker = "page-count\">";
  walk.itemLinkBase = "http://" + std::string(job::k1688OfferHost) + "/offer/";
  walk.idEnd = ".html";
  walk.linkTail = ".html";
  return walk;
}

}  // namespace

const SiteWalk& WalkOf(ShopSite site) {
  static const SiteWalk tmall = Tmall(), taobao = Taobao(), alibaba = Alibaba1688();
  switch (site) {
    case ShopSite::Tmall: return tmall;
    case ShopSite::Taobao: return taobao;
    case ShopSite::Alibaba1688: break;
  }
  return alibaba;
}

std::string_view IdOfLink(std::string_view line) {
  for (ShopSite site : {ShopSite::Tmall, ShopSite::Taobao, ShopSite::Alibaba1688}) {
    const SiteWalk& walk = WalkOf(site);
    if (!line.starts_with(walk.itemLinkBase)) continue;
    std::string_view id = line.substr(walk.itemLinkBase.size());
    if (!walk.linkTail.empty() && id.ends_with(walk.linkTail)) id.remove_suffix(walk.linkTail.size());
    return id;
  }
  return line;
}

}  // namespace taotu::shoplinks
