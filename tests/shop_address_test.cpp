// The shop link window's address check and the duplicate test of its list.
#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "shoplinks/shop_link_collector.h"
#include "shoplinks/shop_link_session.h"
#include "text/gbk_text.h"

namespace taotu {
namespace {

using shoplinks::AddressCheck;
using shoplinks::CheckShopAddress;
using shoplinks::ShopSite;

std::string G(std::string_view utf8) { return platform::Utf8ToGbk(utf8); }

TEST(ShopAddressTest, AcceptedAddressesAreCutBackToSchemeAndHost) {
  const struct {
    std::string typed, address;
    ShopSite site;
  } cases[] = {
      {"http://lanchuan.tmall.com", "http://lanchuan.tmall.com", ShopSite::Tmall},
      {"lanchuan.taobao.com", "http://lanchuan.taobao.com", ShopSite::Taobao},
      {"http://lanchuan.1688.com/page/offerlist.htm?tracelog=x", "http://lanchuan.1688.com",
       ShopSite::Alibaba1688},
      {"lanchuan.tmall.com/search.htm?q=连衣裙&s=1/2", "http://lanchuan.tmall.com", ShopSite::Tmall},
      {"http://shop.taobao.com/", "http://shop.taobao.com", ShopSite::Taobao},
      // The domain test reads the whole text, the site choice the host alone.
      {"http://www.example.com/tmall.com", "http://www.example.com", ShopSite::Alibaba1688},
      {"http://www.example.com/?taobao.com", "http://www.example.com", ShopSite::Alibaba1688},
      // Tmall is asked for first.
      {"http://tmall.com.taobao.com", "http://tmall.com.taobao.com", ShopSite::Tmall},
  };
  for (const auto& c : cases) {
    const AddressCheck check = CheckShopAddress(G(c.typed));
    EXPECT_TRUE(check.accepted) << c.typed;
    EXPECT_EQ(check.address, G(c.address)) << c.typed;
    EXPECT_EQ(check.site, c.site) << c.typed;
    EXPECT_EQ(check.message, "") << c.typed;
  }
}

TEST(ShopAddressTest, RefusedAddressesKeepTheAddedScheme) {
  const std::string wrong =
      "请输入正确的店铺地址？！\r\n\r\n" + platform::GbkToUtf8(shoplinks::ExampleCaption());
  const struct {
    std::string typed, address, message;
  } cases[] = {
      {"", "", "店铺地址不能不输入的！"},
      {"www.jd.com", "http://www.jd.com", wrong},
      {"http://www.jd.com/item/taobao", "http://www.jd.com/item/taobao", wrong},
      {"TMALL.COM", "http://TMALL.COM", wrong},
      // A domain but no host to walk.
      {"lanchuan.tmall.comhttp://", "lanchuan.tmall.comhttp://", wrong},
      {"http:///lanchuan.taobao.com", "http:///lanchuan.taobao.com", wrong},
  };
  for (const auto& c : cases) {
    const AddressCheck check = CheckShopAddress(G(c.typed));
    EXPECT_FALSE(check.accepted) << c.typed;
    EXPECT_EQ(check.address, G(c.address)) << c.typed;
    EXPECT_EQ(check.message, G(c.message)) << c.typed;
  }
}

// Each example in the caption is an address the window takes as it stands,
// for the site its line names.
TEST(ShopAddressTest, ExampleCaptionNamesOneWorkingAddressPerSite) {
  const std::vector<std::string> lines = text::Split(shoplinks::ExampleCaption(), "\r\n");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], G("店铺地址输入示例："));
  const struct {
    std::string label;
    ShopSite site;
  } sites[] = {{"天猫店铺：", ShopSite::Tmall},
               {"淘宝店铺：", ShopSite::Taobao},
               {"1688店铺：", ShopSite::Alibaba1688}};
  for (std::size_t i = 0; i < 3; ++i) {
    const std::string label = G(sites[i].label);
    ASSERT_TRUE(lines[i + 1].starts_with(label)) << platform::GbkToUtf8(lines[i + 1]);
    const std::string address = lines[i + 1].substr(label.size());
    const AddressCheck check = CheckShopAddress(address);
    EXPECT_TRUE(check.accepted) << address;
    EXPECT_EQ(check.address, address);
    EXPECT_EQ(check.site, sites[i].site) << address;
  }
}

TEST(ShopAddressTest, CountCaption) {
  EXPECT_EQ(shoplinks::CountCaption(0), G("共获得 0 个宝贝链接！"));
  EXPECT_EQ(shoplinks::CountCaption(1207), G("共获得 1207 个宝贝链接！"));
}

// A list holds a duplicate only of a whole id, whichever link form it has.
TEST(ShopDuplicateTest, ListedIdsAreWholeIds) {
  const std::string list =
      "http://detail.tmall.com/item.htm?id=1234\r\n"
      "http://item.taobao.com/item.htm?id=567\r\n"
      "http://detail.1688.com/offer/890.html\r\n";
  const struct {
    std::string id;
    bool listed;
  } cases[] = {
      {"1234", true}, {"123", false}, {"234", false},      {"12345", false},   {"567", true}, {"56", false},
      {"890", true},  {"89", false},  {"890.html", false}, {"id=1234", false}, {"", false},
  };
  for (const auto& c : cases) {
    shoplinks::CollectedIds ids;
    EXPECT_EQ(ids.Contains(list, c.id), c.listed) << c.id;
  }
}

TEST(ShopDuplicateTest, AnEmptiedListMakesItsIdsNewAgain) {
  shoplinks::CollectedIds ids;
  std::string list;
  for (const std::string id : {"12", "123"}) {
    ASSERT_FALSE(ids.Contains(list, id)) << id;
    const std::string line = "http://detail.tmall.com/item.htm?id=" + id + "\r\n";
    list += line;
    ids.Added(id, line.size());
  }
  EXPECT_TRUE(ids.Contains(list, "12"));
  EXPECT_TRUE(ids.Contains(list, "123"));
  EXPECT_FALSE(ids.Contains("", "12"));
  // A line the walker did not add since (the list emptied, then one link
  // put in again) is read from the list.
  EXPECT_TRUE(ids.Contains("http://detail.tmall.com/item.htm?id=123\r\n", "123"));
  EXPECT_FALSE(ids.Contains("http://detail.tmall.com/item.htm?id=123\r\n", "12"));
}

}  // namespace
}  // namespace taotu
