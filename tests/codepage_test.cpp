// Code pages at the program's edges.
#include "platform/codepage.h"

#include <gtest/gtest.h>

namespace taotu {
namespace {

using namespace platform;

TEST(Codepage, GbkRoundTripAndReplacements) {
  EXPECT_EQ(Utf8ToGbk("中国 abc"), "\xD6\xD0\xB9\xFA abc");
  EXPECT_EQ(GbkToUtf8("\xD6\xD0\xB9\xFA abc"), "中国 abc");
  EXPECT_EQ(GbkToUtf8("\x80"), "€");                 // Windows code page 936
  EXPECT_EQ(GbkToUtf8("a\xD6"), "a\xEF\xBF\xBD");    // a lone lead byte at the end
  EXPECT_EQ(GbkToUtf8("\xD6 a"), "\xEF\xBF\xBD a");  // a blank is no trail byte
  EXPECT_EQ(Utf8ToGbk("\xF0\x9F\x98\x80"), "?");
  EXPECT_TRUE(Utf8SurvivesGbk("宝贝/1.jpg"));
  EXPECT_FALSE(Utf8SurvivesGbk("\xF0\x9F\x98\x80"));
}

TEST(Codepage, Utf8Validity) {
  const struct {
    std::string bytes;
    bool valid;
  } cases[] = {
      {"", true},
      {"abc", true},
      {"中", true},
      {"\xC0\xAF", false},      // overlong "/"
      {"\xED\xA0\x80", false},  // a surrogate
      {"\xE4\xB8", false},      // cut short
      {"\xFF", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
}

TEST(Codepage, Utf16Units) {
  EXPECT_EQ(Utf8ToUtf16("a中\xF0\x9F\x98\x80"), (std::u16string{u'a', u'\x4E2D', u'\xD83D', u'\xDE00'}));
  EXPECT_EQ(Utf16ToGbk(u"a中"), "a\xD6\xD0");
  EXPECT_EQ(Utf16ToGbk(std::u16string{u'\xD83D', u'\xDE00'}), "?");
}

}  // namespace
}  // namespace taotu
