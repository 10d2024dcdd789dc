#include <gtest/gtest.h>

#include "platform/md5.h"
#include "platform/regex.h"

namespace taotu {
namespace {

TEST(Regex, ShortestMatchesInOrder) {
  const platform::Regex links("http(.*?)\"");
  EXPECT_EQ(links.FindAll("<a href=\"http://a/1.jpg\"><img src=\"https://b/2.png\">"),
            (std::vector<std::string>{"http://a/1.jpg\"", "https://b/2.png\""}));
  EXPECT_TRUE(links.FindAll("http://no-quote").empty());
  // "." stops at a line break, so a match never runs across lines.
  EXPECT_EQ(links.FindAll("http://a\n\"http://b\""), std::vector<std::string>{"http://b\""});
}

TEST(Regex, LargePageWithoutStackTrouble) {
  std::string page(8 << 20, 'x');
  page += "http://a/1.jpg\"";
  EXPECT_EQ(platform::Regex("http(.*?)\"").FindAll(page).size(), 1u);
  EXPECT_THROW(platform::Regex("(unclosed"), std::invalid_argument);
}

TEST(Md5Hex, KnownDigests) {
  EXPECT_EQ(platform::Md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(platform::Md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
}

}  // namespace
}  // namespace taotu
