// An item folder's name: the id from the address, the cleaned page title.
#include "item/item_naming.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "text/gbk_literal.h"

namespace taotu {
namespace {

using namespace text;

TEST(ItemIdOf, FirstIdKeyUpToTheNextAmpersand) {
  const struct {
    std::string address;
    std::optional<std::string> id;
  } cases[] = {
      {"http://item.taobao.com/item.htm?id=520001&spm=a", "520001"},
      {"http://detail.tmall.com/item.htm?spm=a&id=77", "77"},
      {"http://item.taobao.com/item.htm?itemid=5&id=6",
       "5"},  // the first "id=" counts, inside a longer key too
      {"http://item.taobao.com/item.htm?ID=5", std::nullopt},
      {"http://item.taobao.com/item.htm?id=", ""},
      {"http://detail.1688.com/offer/123.html", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(item::ItemIdOf(c.address), c.id) << c.address;
}

TEST(RawTitleOf, BetweenTheTagsOrNothing) {
  EXPECT_EQ(item::RawTitleOf("<html><title>T</title>"), "T");
  EXPECT_EQ(item::RawTitleOf("<title>T"), "T");
  EXPECT_EQ(item::RawTitleOf("no title"), std::nullopt);
  EXPECT_EQ(item::RawTitleOf("x<title>"), std::nullopt);  // nothing follows the tag
}

TEST(CleanTitle, ShopNamesRemovedAndUnsafeCharactersBlanked) {
  const struct {
    std::string raw, clean;
  } cases[] = {
      {"连衣裙-淘宝网", "连衣裙"},
      {"连衣裙-tmall.com天猫", "连衣裙"},
      {"a/b\\c|d*e&f.g@h>i<j《k》", "a b c d e f g h i j k "},
      {"夏季...新款-2024", "夏季新款2024"},
      {"款\"L\"码", "款)L)码"},  // the page's ")" come back
      {"a:b?c", "a:b?c"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(item::CleanTitle(platform::Utf8ToGbk(c.raw)), platform::Utf8ToGbk(c.clean)) << c.raw;
}

}  // namespace
}  // namespace taotu
