// The conversions the CSV package needs.
#include "text/codecs.h"

#include <gtest/gtest.h>

#include "text/gbk_literal.h"

namespace taotu {
namespace {

using namespace text;

TEST(DateTimeText, NoLeadingZeros) {
  EXPECT_EQ(DateTimeText({2014, 11, 10, 9, 5, 3}), "2014-11-10 9:5:3");
  EXPECT_EQ(DateTimeText({2015, 1, 1, 0, 0, 0}), "2015-1-1 0:0:0");
}

TEST(DecodeNumericRefs, PiecesAndTheCallersText) {
  const struct {
    std::string in, result, after;
  } cases[] = {
      {"&#20013;&#22269;", "中国"_gbk, "20013;22269;"},
      {"&#20013;65", "中A"_gbk, "20013;65"},
      {"abc&#20013;", "", "abc20013;"},
      {"&#20013;abc", "中"_gbk, "20013;abc"},
      {"&#x4E2D;", "", "x4E2D;"},
      {"no refs", "", "no refs"},
      {"", "", ""},
      {"&#0;&#65;", "A", "0;65;"},
      {"&#128512;", "?", "128512;"},  // beyond 16 bits, and GBK lacks it anyway
      {"&#-5;&#99999999999999;&#66;", "B", "-5;99999999999999;66;"},
  };
  for (const auto& c : cases) {
    std::string s = c.in;
    EXPECT_EQ(DecodeNumericRefs(s), c.result) << c.in;
    EXPECT_EQ(s, c.after) << c.in;
  }
}

TEST(PercentDecode, ThenUtf8ToAnsi) {
  const struct {
    std::string in, result;
  } cases[] = {
      {"%E5%BA%97", "店"_gbk}, {"a%20b", "a b"}, {"a+b", "a+b"},   {"x%00y", "x"},
      {"100%", "100%"},        {"%4", "%4"},     {"%zz1", "%zz1"}, {"%e5%ba%97", "店"_gbk},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToAnsi(PercentDecode(c.in)), c.result) << c.in;
}

TEST(Utf8ToAnsi, EmptyLackingAndMalformed) {
  EXPECT_EQ(Utf8ToAnsi(""), "");
  EXPECT_EQ(Utf8ToAnsi("店铺"), "店铺"_gbk);
  EXPECT_EQ(Utf8ToAnsi("a\xF0\x9F\x98\x80"), "a?");  // an emoji GBK lacks
  EXPECT_EQ(Utf8ToAnsi("a\xFF"
                       "b"),
            "a?b");
  EXPECT_EQ(Utf8ToAnsi("\xE5\xBA"), "??");  // a cut sequence, one "?" per byte
}

TEST(Utf16ToAnsi, UpToTheFirstZeroUnit) {
  EXPECT_EQ(Utf16ToAnsi(std::string("\x2D\x4E\x41\x00\x00\x00\x42\x00", 8)), "中A"_gbk);
  EXPECT_EQ(Utf16ToAnsi(std::string("\x41\x00\x42", 3)), "A");  // an odd last byte is no unit
  EXPECT_EQ(Utf16ToAnsi(std::string("\x00\xD8", 2)), "?");      // a lone surrogate
}

TEST(Ucs2ToGbk, ByteOrderMarkSetsTheOrder) {
  const std::string le = std::string("\xFF\xFE\x2D\x4E\x22\x00", 6);
  const std::string be = std::string("\xFE\xFF\x4E\x2D\x00\x22", 6);
  const std::string none = std::string("\x4E\x2D\x00\x22", 4);
  for (const std::string& bytes : {le, be, none}) EXPECT_EQ(Ucs2ToGbk(bytes), "中\""_gbk);
  EXPECT_EQ(Ucs2ToGbk(""), "");
}

}  // namespace
}  // namespace taotu
