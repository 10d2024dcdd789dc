// The shop link collector against the local test site: the three walkers and
// the window's own steps through a window that keeps what they write, then
// taotu-cli shop as a user runs it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>

#include "cli_test_fixture.h"
#include "fake_window.h"
#include "platform/codepage.h"
#include "platform/http.h"
#include "shoplinks/shop_link_collector.h"
#include "shoplinks/shop_link_session.h"
#include "shoplinks/shop_walkers.h"
#include "support/temp_dir.h"
#include "support/test_site.h"
#include "text/gbk_text.h"

namespace taotu {
namespace {

using shoplinks::WalkResult;
using testing::Answer;
using testing::TestSite;
using End = WalkResult::End;
using Ids = std::vector<std::string>;

std::string G(std::string_view utf8) { return platform::Utf8ToGbk(utf8); }

// A listing page site by site: its fixture, where the page count stands and
// how an item shows; and the link that the collector is to list for an id.
struct Site {
  const char* name;
  const char* domain;
  const char* fixture;
  std::string firstPath, pagePath;
  std::string (*countText)(int pages);  // what the site shows for a shop of that many pages
  std::string (*pager)(const std::string& countText);
  std::string (*item)(const std::string& id);
  std::string (*link)(const std::string& id);
  bool barHiddenAtEnd;

  std::string Shop(const std::string& name) const { return "http://" + name + "." + domain; }
  std::string FirstPage(const std::string& shop) const { return shop + firstPath; }
  std::string Page(const std::string& shop, int i) const { return shop + pagePath + std::to_string(i); }
};

const Site kTmall{
    "Tmall",
    "tmall.com",
    "tmall_search.html",
    "/search.htm?search=y",
    "/search.htm?search=y&pageNo=",
    [](int pages) { return "1/" + std::to_string(pages); },
    [](const std::string& count) { return "<b class=\"ui-page-s-len\">" + count + "</b>"; },
    [](const std::string& id) {
      const std::string href = "http://detail.tmall.com/item.htm?id=" + id + "&rn=5c1e&abbucket=3";
      return "<dl class=\"item\"><dt class=\"photo\"><a href=\"" + href +
             "\"><img src=\"http://img.alicdn.com/bao/" + id +
             ".jpg\"></a></dt>\n<dd class=\"detail\"><a href=\"" + href + "\">春装新款连衣裙</a></dd></dl>\n";
    },
    [](const std::string& id) { return "http://detail.tmall.com/item.htm?id=" + id; },
    true,
};

// With the link to the item's reviews, which carries "&on_comment=1".
const Site kTaobao{
    "Taobao",
    "taobao.com",
    "taobao_search.html",
    "/search.htm?search=y",
    "/search.htm?search=y&pageNo=",
    [](int pages) { return "1/" + std::to_string(pages); },
    [](const std::string& count) { return "<span class=\"page-info\">" + count + "</span>"; },
    [](const std::string& id) {
      const std::string href = "http://item.taobao.com/item.htm?id=" + id;
      return "<dl class=\"item\"><dd class=\"detail\"><a class=\"item-name\" href=\"" + href +
             "\">夏季雪纺衫</a></dd>\n<dd class=\"rates\"><a href=\"" + href +
             "&on_comment=1\">评价: 12</a></dd></dl>\n";
    },
    [](const std::string& id) { return "http://item.taobao.com/item.htm?id=" + id; },
    true,
};

const Site k1688{
    "1688",
    "1688.com",
    "1688_offerlist.html",
    "/page/offerlist.htm",
    "/page/offerlist.htm?pageNum=",
    [](int pages) { return std::to_string(pages); },
    [](const std::string& count) { return "<em class=\"page-count\">" + count + "</em>"; },
    [](const std::string& id) {
      return "<li><a href=\"http://detail.1688.com/offer/" + id +
             ".html\" title=\"男士夹克\">男士夹克 批发</a></li>\n";
    },
    [](const std::string& id) { return "http://detail.1688.com/offer/" + id + ".html"; },
    false,
};

const Site* const kSites[] = {&kTmall, &kTaobao, &k1688};

// The site's fixture with the page count shown as `countText` (no
// page-count marker at all without one) and the items of `ids`, in GBK.
std::string ListingPage(const Site& s, const std::optional<std::string>& countText, const Ids& ids) {
  std::string items;
  for (const std::string& id : ids) items += s.item(id);
  std::string page = testing::ReadFileBytes(std::string(TAOTU_TEST_DATA) + "/shops/" + s.fixture);
  page = text::ReplaceAll(page, "@PAGER@", countText ? s.pager(*countText) : "");
  return G(text::ReplaceAll(page, "@ITEMS@", items));
}

// A shop whose first page shows `countText` and lists the items of page 1,
// and whose listing page i lists pages[i - 1].
void ServeShop(TestSite& site, const Site& s, const std::string& shop,
               const std::optional<std::string>& countText, const std::vector<Ids>& pages) {
  site.Serve(s.FirstPage(shop), Answer(200, ListingPage(s, countText, pages.empty() ? Ids{} : pages[0])));
  for (std::size_t i = 0; i < pages.size(); ++i) {
    site.Serve(s.Page(shop, static_cast<int>(i) + 1), Answer(200, ListingPage(s, countText, pages[i])));
  }
}

// Page i of n lists ids "<base>i1" and "<base>i2".
std::vector<Ids> NumberedPages(int n, const std::string& base) {
  std::vector<Ids> pages;
  for (int i = 1; i <= n; ++i)
    pages.push_back({base + std::to_string(i) + "1", base + std::to_string(i) + "2"});
  return pages;
}

// The list text of 编辑框2 for these links, in GBK.
std::string ListText(const Site& s, const Ids& ids) {
  std::string list;
  for (const std::string& id : ids) list += s.link(id) + "\r\n";
  return G(list);
}

Ids Flatten(const std::vector<Ids>& pages) {
  Ids all;
  for (const Ids& page : pages) all.insert(all.end(), page.begin(), page.end());
  return all;
}

// The shop link window without a GUI: it keeps what the flow and the
// walkers write. The walkers run on the test's thread.
class ShopWindow final : public shoplinks::ShopWindowPort {
 public:
  std::string address, list, caption;
  std::vector<int> progress;  // every position set, in order
  std::vector<std::string> messages, notes;
  std::vector<bool> fetchButton;  // every enabled state set, in order
  bool barVisible = false;
  int calls = 0;                        // every call of the window
  std::function<void(int)> onProgress;  // after a position is set

  std::string ShopAddress() override { return ++calls, address; }
  void SetShopAddress(const std::string& text) override { ++calls, address = text; }
  std::string LinkList() override { return ++calls, list; }
  void SetLinkList(const std::string& text) override { ++calls, list = text; }
  void AppendLinkList(const std::string& text) override { ++calls, list += text; }
  void SetCountCaption(const std::string& text) override { ++calls, caption = text; }
  void SetProgressVisible(bool visible) override { ++calls, barVisible = visible; }
  void SetProgress(int position) override {
    ++calls;
    progress.push_back(position);
    if (onProgress) onProgress(position);
  }
  int Progress() override { return ++calls, progress.empty() ? 0 : progress.back(); }
  void SetFetchButtonEnabled(bool enabled) override { ++calls, fetchButton.push_back(enabled); }
  void ShowMessage(const std::string& text) override { ++calls, messages.push_back(text); }
  void ShowNote(const std::string& text) override { ++calls, notes.push_back(text); }

  // The positions the bar showed, a position set again counted once.
  std::vector<int> Positions() const {
    std::vector<int> shown;
    for (int p : progress) {
      if (shown.empty() || shown.back() != p) shown.push_back(p);
    }
    return shown;
  }
};

// One opening of the window: its controls and ShopLinkCount.
struct Dialog {
  ShopWindow window;
  shoplinks::ShopLinkSession session;
};

// Sets an environment variable (or removes it) for one test.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
  }
  ~ScopedEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class ShopWalkTest : public ::testing::Test {
 protected:
  ShopWalkTest() {
    platform::HttpLimits limits;
    limits.connectTimeout = std::chrono::seconds(2);
    limits.stallTimeout = std::chrono::seconds(1);
    limits.totalTimeout = std::chrono::seconds(5);
    http = platform::MakeHttpClient(limits);
  }

  // 获取 on the typed address, then the walker it chose, to its end.
  std::optional<WalkResult> Fetch(Dialog& dialog, const std::string& typed) {
    dialog.window.address = G(typed);
    const auto walker = shoplinks::PrepareWalk(dialog.window);
    if (!walker) return std::nullopt;
    shoplinks::ShopWalk walk{dialog.window, dialog.session, *http};
    return (*walker)(walk);
  }

  TestSite site;
  ScopedEnv proxy{"http_proxy", site.ProxyUrl()}, upperProxy{"HTTP_PROXY", std::nullopt},
      noProxy{"no_proxy", std::nullopt}, upperNoProxy{"NO_PROXY", std::nullopt};
  std::unique_ptr<platform::HttpClient> http;
};

TEST_F(ShopWalkTest, SevenPageShopIsListedOnceInPageOrder) {
  for (const Site* s : kSites) {
    SCOPED_TRACE(s->name);
    const std::string shop = s->Shop("seven");
    std::vector<Ids> pages = NumberedPages(7, "5200");
    pages[3].push_back(pages[0][0]);  // an item seen again on a later page
    ServeShop(site, *s, shop, s->countText(7), pages);
    site.Serve(s->Page(shop, 8), Answer(200, ListingPage(*s, s->countText(7), {"52009"})));

    Dialog dialog;
    const auto result = Fetch(dialog, "seven." + std::string(s->domain) + "/index.htm?spm=a1z10.1");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->end, End::Walked);
    EXPECT_EQ(result->pagesFetched, 7);
    EXPECT_EQ(result->linksAdded, 14);

    const ShopWindow& w = dialog.window;
    EXPECT_EQ(w.address, shop);
    EXPECT_EQ(w.list, ListText(*s, Flatten(NumberedPages(7, "5200"))));
    EXPECT_EQ(w.caption, G("共获得 14 个宝贝链接！"));
    EXPECT_EQ(dialog.session.LinkCount(), 14);
    EXPECT_EQ(w.progress, (std::vector<int>{5, 10, 22, 34, 46, 58, 70, 82, 94, 100}));
    EXPECT_EQ(w.barVisible, !s->barHiddenAtEnd);
    EXPECT_EQ(w.fetchButton, (std::vector<bool>{false, true}));
    EXPECT_TRUE(w.messages.empty());
    EXPECT_TRUE(w.notes.empty());

    EXPECT_EQ(site.RequestCount(s->FirstPage(shop)), 1);
    for (int i = 1; i <= 7; ++i) EXPECT_EQ(site.RequestCount(s->Page(shop, i)), 1) << i;
    EXPECT_EQ(site.RequestCount(s->Page(shop, 8)), 0);
  }
}

TEST_F(ShopWalkTest, PageCountIsReadAfterTheMarker) {
  const struct {
    const Site* site;
    std::string countText;
    int pages;
  } cases[] = {
      {&kTmall, "1/3", 3},  {&kTmall, "2/4/9", 4}, {&kTmall, "1/ 2 ", 2}, {&kTmall, "1/2.9", 2},
      {&kTmall, "1/共", 0}, {&kTmall, "1//3", 0},  {&kTmall, "3", 0},     {&kTmall, "1/", 0},
      {&kTaobao, "1/3", 3}, {&kTaobao, "3/1", 1},  {&k1688, "3", 3},      {&k1688, " 2", 2},
      {&k1688, "1/3", 1},   {&k1688, "共3", 0},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.site->name) + " " + c.countText);
    const std::string shop = c.site->Shop("count" + std::to_string(++n));
    ServeShop(site, *c.site, shop, c.countText, NumberedPages(4, "610"));
    Dialog dialog;
    const auto result = Fetch(dialog, shop);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->end, End::Walked);
    for (int i = 1; i <= 5; ++i)
      EXPECT_EQ(site.RequestCount(c.site->Page(shop, i)), i <= c.pages ? 1 : 0) << i;
    EXPECT_EQ(dialog.session.LinkCount(), 2 * c.pages);
    EXPECT_EQ(dialog.window.progress.back(), 100);
    if (c.pages == 0) {
      EXPECT_EQ(dialog.window.progress, (std::vector<int>{5, 10, 100}));
    }
    EXPECT_TRUE(dialog.window.messages.empty());
  }
}

TEST_F(ShopWalkTest, ShopOfMoreThanNinetyPagesStaysAtTenUntilTheEnd) {
  for (const Site* s : kSites) {
    SCOPED_TRACE(s->name);
    const std::string shop = s->Shop("big");
    ServeShop(site, *s, shop, s->countText(91), NumberedPages(91, "7"));
    Dialog dialog;
    const auto result = Fetch(dialog, shop);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->pagesFetched, 91);
    EXPECT_EQ(dialog.window.Positions(), (std::vector<int>{5, 10, 100}));
    EXPECT_EQ(dialog.window.caption, G("共获得 182 个宝贝链接！"));
    EXPECT_EQ(site.RequestCount(s->Page(shop, 92)), 0);
  }
}

TEST_F(ShopWalkTest, FirstPageWithoutPageCount) {
  const struct {
    const Site* site;
    bool served;  // else the first page does not come
  } cases[] = {{&kTmall, true}, {&kTmall, false}, {&kTaobao, true}, {&kTaobao, false}};
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.site->name) + (c.served ? " without marker" : " not served"));
    const std::string shop = c.site->Shop("nocount" + std::to_string(++n));
    if (c.served) ServeShop(site, *c.site, shop, std::nullopt, NumberedPages(2, "8"));
    Dialog dialog;
    const auto result = Fetch(dialog, shop);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->end, End::NoPageCount);
    const ShopWindow& w = dialog.window;
    EXPECT_EQ(w.messages, std::vector<std::string>{G("网络超时，请重试！")});
    EXPECT_EQ(w.progress, std::vector<int>{5});
    EXPECT_TRUE(w.barVisible);
    EXPECT_EQ(w.fetchButton, (std::vector<bool>{false, true}));
    EXPECT_EQ(w.list, "");
    EXPECT_EQ(w.caption, "");
    EXPECT_EQ(site.RequestCount(c.site->Page(shop, 1)), 0);
    // A page that did not come says why.
    const std::vector<std::string> notes =
        c.served ? std::vector<std::string>{}
                 : std::vector<std::string>{G("页面获取失败：" + c.site->FirstPage(shop) + " HTTP 404")};
    EXPECT_EQ(w.notes, notes);
  }
}

TEST_F(ShopWalkTest, Shop1688WithoutPageCountWalksItsFirstPage) {
  for (const bool served : {true, false}) {
    SCOPED_TRACE(served ? "without marker" : "first page not served");
    const std::string shop = k1688.Shop(served ? "nocount" : "gone");
    const std::vector<Ids> pages = NumberedPages(2, "9");
    ServeShop(site, k1688, shop, std::nullopt, pages);
    if (!served) site.Serve(k1688.FirstPage(shop), Answer(404, "<html>gone</html>"));
    Dialog dialog;
    const auto result = Fetch(dialog, shop);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->end, End::Walked);
    EXPECT_TRUE(dialog.window.messages.empty());
    EXPECT_EQ(dialog.window.progress, (std::vector<int>{5, 95, 100}));
    EXPECT_TRUE(dialog.window.barVisible);
    EXPECT_EQ(dialog.window.list, ListText(k1688, pages[0]));
    EXPECT_EQ(site.RequestCount(k1688.Page(shop, 2)), 0);
    EXPECT_EQ(dialog.window.notes.size(), served ? 0u : 1u);
  }
}

TEST_F(ShopWalkTest, IdsAreWholeIdsAndEmptyOnesAreSkipped) {
  for (const Site* s : kSites) {
    SCOPED_TRACE(s->name);
    const std::string shop = s->Shop("prefix");
    ServeShop(site, *s, shop, s->countText(2), {{"1234", "12", "", "123"}, {"12", "1234", "234", "12345"}});
    Dialog dialog;
    ASSERT_TRUE(Fetch(dialog, shop));
    EXPECT_EQ(dialog.window.list, ListText(*s, {"1234", "12", "123", "234", "12345"}));
    EXPECT_EQ(dialog.session.LinkCount(), 5);
  }
}

TEST_F(ShopWalkTest, TwoWalksAddUpInOneList) {
  const std::string first = kTmall.Shop("first"), second = kTmall.Shop("second"), third = k1688.Shop("third");
  ServeShop(site, kTmall, first, "1/1", {{"101", "102"}});
  ServeShop(site, kTmall, second, "1/2", {{"102"}, {"201"}});
  ServeShop(site, k1688, third, "1", {{"301"}});
  Dialog dialog;
  ASSERT_TRUE(Fetch(dialog, first));
  EXPECT_EQ(dialog.window.caption, G("共获得 2 个宝贝链接！"));
  ASSERT_TRUE(Fetch(dialog, second));
  ASSERT_TRUE(Fetch(dialog, third));
  EXPECT_EQ(dialog.window.list, ListText(kTmall, {"101", "102", "201"}) + ListText(k1688, {"301"}));
  EXPECT_EQ(dialog.window.caption, G("共获得 4 个宝贝链接！"));
  EXPECT_EQ(dialog.session.LinkCount(), 4);
  EXPECT_EQ(dialog.window.fetchButton, (std::vector<bool>{false, true, false, true, false, true}));
}

TEST_F(ShopWalkTest, ClearEmptiesAddressAndListButKeepsTheCount) {
  const std::string shop = kTaobao.Shop("again");
  ServeShop(site, kTaobao, shop, "1/1", {{"101", "102"}});
  Dialog dialog;
  ASSERT_TRUE(Fetch(dialog, shop));
  shoplinks::ClearShopWindow(dialog.window);
  EXPECT_EQ(dialog.window.address, "");
  EXPECT_EQ(dialog.window.list, "");
  EXPECT_EQ(dialog.window.caption, G("共获得 2 个宝贝链接！"));
  EXPECT_EQ(dialog.session.LinkCount(), 2);
  // The cleared links count as new again, and the count goes on.
  ASSERT_TRUE(Fetch(dialog, shop));
  EXPECT_EQ(dialog.window.list, ListText(kTaobao, {"101", "102"}));
  EXPECT_EQ(dialog.window.caption, G("共获得 4 个宝贝链接！"));
}

TEST_F(ShopWalkTest, WalkIsBoundedByAnAbsurdPageCountAndByARepeatedPage) {
  // A site that answers page 3 with page 2.
  const std::string repeated = kTmall.Shop("repeated");
  ServeShop(site, kTmall, repeated, "1/5", {{"1"}, {"2"}, {"2"}, {"4"}});
  Dialog dialog;
  ASSERT_TRUE(Fetch(dialog, repeated));
  EXPECT_EQ(dialog.window.notes, std::vector<std::string>{G("第 3 页与上一页相同，不再往下获取")});
  EXPECT_EQ(dialog.window.list, ListText(kTmall, {"1", "2"}));
  EXPECT_EQ(dialog.window.progress, (std::vector<int>{5, 10, 28, 46, 100}));
  EXPECT_EQ(site.RequestCount(kTmall.Page(repeated, 4)), 0);
  EXPECT_FALSE(dialog.window.barVisible);

  for (const std::string count : {"99999999", "99999999999999999999999"}) {
    SCOPED_TRACE(count);
    const std::string shop = k1688.Shop("absurd" + std::to_string(count.size()));
    ServeShop(site, k1688, shop, count, {{"1"}, {"2"}, {"2"}});
    Dialog absurd;
    ASSERT_TRUE(Fetch(absurd, shop));
    const std::string shown = count.size() > 18 ? "9223372036854775807" : count;
    EXPECT_EQ(absurd.window.notes, (std::vector<std::string>{G("店铺页数为 " + shown + "，只获取前 10000 页"),
                                                             G("第 3 页与上一页相同，不再往下获取")}));
    EXPECT_EQ(absurd.window.Positions(), (std::vector<int>{5, 10, 100}));
    EXPECT_EQ(absurd.window.list, ListText(k1688, {"1", "2"}));
  }
}

TEST_F(ShopWalkTest, ListingPageThatFailsIsNotedAndSkipped) {
  const std::string shop = kTmall.Shop("flaky");
  ServeShop(site, kTmall, shop, "1/4", {{"1"}, {"2"}, {"3"}, {"4"}});
  site.Serve(kTmall.Page(shop, 2), Answer(404, "<html>gone</html>"));
  site.Serve(kTmall.Page(shop, 3), Answer(200, "", testing::Reply::Fault::Hang));
  Dialog dialog;
  const auto result = Fetch(dialog, shop);
  ASSERT_TRUE(result);
  EXPECT_EQ(result->end, End::Walked);
  EXPECT_EQ(result->pagesFetched, 2);
  EXPECT_EQ(result->pagesFailed, 2);
  EXPECT_EQ(dialog.window.notes,
            (std::vector<std::string>{G("页面获取失败：" + kTmall.Page(shop, 2) + " HTTP 404"),
                                      G("页面获取失败：" + kTmall.Page(shop, 3) + " 超时")}));
  EXPECT_TRUE(dialog.window.messages.empty());
  EXPECT_EQ(dialog.window.list, ListText(kTmall, {"1", "4"}));
  EXPECT_EQ(dialog.window.progress, (std::vector<int>{5, 10, 32, 54, 76, 98, 100}));
}

TEST_F(ShopWalkTest, FetchButtonRefusesOrNormalisesBeforeAnyWalk) {
  const std::string wrong =
      "请输入正确的店铺地址？！\r\n\r\n" + platform::GbkToUtf8(shoplinks::ExampleCaption());
  const struct {
    std::string typed;
    std::optional<std::string> message;  // none: accepted
    std::string address;
  } cases[] = {
      {"", "店铺地址不能不输入的！", ""},
      {"www.jd.com/shop", wrong, "http://www.jd.com/shop"},
      {"lanchuan.tmall.com/search.htm?q=裙", std::nullopt, "http://lanchuan.tmall.com"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    ShopWindow window;
    window.address = G(c.typed);
    const bool started = shoplinks::PrepareWalk(window).has_value();
    EXPECT_EQ(started, !c.message);
    EXPECT_EQ(window.address, G(c.address));
    EXPECT_EQ(window.messages,
              c.message ? std::vector<std::string>{G(*c.message)} : std::vector<std::string>{});
    // A refused address enables 获取 again; a walk does it at its end.
    EXPECT_EQ(window.fetchButton, (c.message ? std::vector<bool>{false, true} : std::vector<bool>{false}));
  }
  EXPECT_TRUE(site.Requests().empty());
}

TEST_F(ShopWalkTest, ConfirmReplacesTheMainListOnlyWithLinks) {
  testing::FakeWindow main;
  main.addressList = "http://img.alicdn.com/old.jpg\r\n";
  Dialog dialog;
  EXPECT_FALSE(shoplinks::HandOverLinks(dialog.window, main));
  EXPECT_EQ(dialog.window.messages, std::vector<std::string>{G("您还未获取一个链接呢！")});
  EXPECT_EQ(main.addressList, "http://img.alicdn.com/old.jpg\r\n");

  const std::string shop = k1688.Shop("confirm");
  ServeShop(site, k1688, shop, "1", {{"31", "32"}});
  ASSERT_TRUE(Fetch(dialog, shop));
  EXPECT_TRUE(shoplinks::HandOverLinks(dialog.window, main));
  EXPECT_EQ(main.addressList, ListText(k1688, {"31", "32"}));
}

TEST_F(ShopWalkTest, StoppedWalkLeavesTheWindowAlone) {
  const std::string shop = kTmall.Shop("closed");
  ServeShop(site, kTmall, shop, "1/3", NumberedPages(3, "4"));
  Dialog dialog;
  int callsAtStop = -1;
  dialog.window.onProgress = [&](int position) {
    if (position != 40) return;  // after the first listing page
    dialog.session.RequestStop();
    callsAtStop = dialog.window.calls;
  };
  const auto result = Fetch(dialog, shop);
  ASSERT_TRUE(result);
  EXPECT_EQ(result->end, End::Stopped);
  EXPECT_EQ(dialog.window.calls, callsAtStop);
  EXPECT_EQ(dialog.window.fetchButton, std::vector<bool>{false});
  EXPECT_EQ(dialog.window.list, ListText(kTmall, NumberedPages(1, "4")[0]));
  EXPECT_EQ(site.RequestCount(kTmall.Page(shop, 2)), 0);
}

class ShopCliTest : public testing::CliTest {
 protected:
  testing::CliRun Shop(std::vector<std::string> addresses) {
    addresses.insert(addresses.begin(), "shop");
    testing::CliOptions options;
    options.env = {
        {"http_proxy", site.ProxyUrl()}, {"TAOTU_STALL_TIMEOUT", "2"}, {"TAOTU_CONNECT_TIMEOUT", "2"}};
    options.workDir = save;
    return testing::RunCli(TAOTU_CLI_PATH, addresses, options);
  }
};

std::vector<std::string> LinkLines(const Site& s, const Ids& ids) {
  std::vector<std::string> lines;
  for (const std::string& id : ids) lines.push_back(s.link(id));
  return lines;
}

// The lines of `all` that are in `wanted`, in their order.
std::vector<std::string> LinesAmong(const std::vector<std::string>& all,
                                    const std::vector<std::string>& wanted) {
  std::vector<std::string> found;
  for (const std::string& line : all) {
    if (std::find(wanted.begin(), wanted.end(), line) != wanted.end()) found.push_back(line);
  }
  return found;
}

TEST_F(ShopCliTest, LinksOfEveryShopOnStdoutCountsOnStderr) {
  ServeShop(site, kTmall, kTmall.Shop("a"), "1/2", {{"101"}, {"102"}});
  ServeShop(site, k1688, k1688.Shop("b"), "1", {{"301"}});
  ServeShop(site, kTaobao, kTaobao.Shop("c"), "1/1", {{"102", "201"}});
  const testing::CliRun run = Shop({"a.tmall.com/shop/view_shop.htm", "http://b.1688.com/", "c.taobao.com"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  // The Taobao 102 is the Tmall item already listed.
  EXPECT_EQ(run.out,
            "http://detail.tmall.com/item.htm?id=101\nhttp://detail.tmall.com/item.htm?id=102\n"
            "http://detail.1688.com/offer/301.html\nhttp://item.taobao.com/item.htm?id=201\n");
  const std::vector<std::string> counts = {"共获得 2 个宝贝链接！", "共获得 3 个宝贝链接！",
                                           "共获得 4 个宝贝链接！"};
  EXPECT_EQ(LinesAmong(run.ErrLines(), counts), counts) << run.err;
}

TEST_F(ShopCliTest, RefusedAddressFetchesNothing) {
  const std::string good = "http://a.tmall.com";
  ServeShop(site, kTmall, good, "1/1", {{"101"}});
  const struct {
    std::vector<std::string> addresses;
    std::string message;
  } cases[] = {
      {{""}, "店铺地址不能不输入的！"},
      {{"www.jd.com"}, "请输入正确的店铺地址？！"},
      {{good, "www.jd.com"}, "请输入正确的店铺地址？！"},
      {{}, ""},
  };
  for (const auto& c : cases) {
    const testing::CliRun run = Shop(c.addresses);
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
  // The message as the window shows it, line by line.
  std::vector<std::string> message = {"请输入正确的店铺地址？！", ""};
  for (const std::string& line : text::Split(shoplinks::ExampleCaption(), "\r\n")) {
    message.push_back(platform::GbkToUtf8(line));
  }
  EXPECT_EQ(Shop({"www.jd.com"}).ErrLines(), message);
  EXPECT_TRUE(site.Requests().empty());
}

TEST_F(ShopCliTest, ExitStatusSaysWhetherEveryPageCountCame) {
  ServeShop(site, kTmall, kTmall.Shop("nocount"), std::nullopt, {{"101"}});
  ServeShop(site, k1688, k1688.Shop("nocount"), std::nullopt, {{"301"}});
  ServeShop(site, kTaobao, kTaobao.Shop("empty"), "1/0", {});
  const struct {
    std::vector<std::string> addresses;
    int exitCode;
    std::vector<std::string> out;
  } cases[] = {
      {{"nocount.tmall.com", "nocount.1688.com"}, 1, LinkLines(k1688, {"301"})},
      {{"nocount.1688.com"}, 0, LinkLines(k1688, {"301"})},
      {{"empty.taobao.com"}, 0, {}},
  };
  for (const auto& c : cases) {
    const testing::CliRun run = Shop(c.addresses);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    EXPECT_EQ(run.OutLines(), c.out);
    const auto err = run.ErrLines();
    EXPECT_EQ(std::count(err.begin(), err.end(), "网络超时，请重试！"), c.exitCode) << run.err;
  }
}

TEST_F(ShopCliTest, ShopPipedIntoDownloadIsOneJob) {
  const Ids ids = {"4101", "4102"};
  ServeShop(site, kTmall, kTmall.Shop("whole"), "1/2", {{ids[0]}, {ids[1]}});
  for (const std::string& id : ids) {
    ServeGbkPage(kTmall.link(id), "<html><head><title>春装连衣裙" + id +
                                      "-tmall.com天猫</title></head><body><ul id=\"J_UlThumb\"><li><img "
                                      "src=\"http://img.alicdn.com/bao/" +
                                      id + ".jpg_60x60q90.jpg\"></li></ul></body></html>");
    site.ServePicture("http://img.alicdn.com/bao/" + id + ".jpg", 64);
  }
  const testing::CliRun shop = Shop({"whole.tmall.com"});
  ASSERT_EQ(shop.exitCode, 0) << shop.err;

  testing::CliOptions options;
  options.stdinText = shop.out;
  const testing::CliRun download = Download({"--no-detail", "--no-other", "--list", "-"}, options);
  ASSERT_EQ(download.exitCode, 0) << download.out << download.err;
  EXPECT_TRUE(testing::IsJobFolderName(JobFolder(), 2)) << JobFolder();
  EXPECT_EQ(download.OutLines().back(), "（2/2）全部下载完毕！");
  for (const std::string& id : ids) {
    EXPECT_EQ(testing::ReadFileBytes(JobPath() + "/" + id + "_岚川淘图/主图及属性图/1.jpg"),
              testing::PictureBytes("http://img.alicdn.com/bao/" + id + ".jpg", 64));
  }
}

}  // namespace
}  // namespace taotu
