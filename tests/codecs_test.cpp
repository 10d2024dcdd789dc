// The conversions the CSV package needs.
#include "text/codecs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "support/exact_bytes.h"
#include "text/gbk_literal.h"

namespace taotu {
namespace {

using namespace text;
using std::string_literals::operator""s;  // byte strings with zero bytes in them

using testing::Exact;

TEST(DateTimeText, NoLeadingZeros) {
  const struct {
    platform::LocalDateTime time;
    std::string text;
  } cases[] = {
      {{2014, 11, 10, 9, 5, 3}, "2014-11-10 9:5:3"},
      {{2015, 1, 1, 0, 0, 0}, "2015-1-1 0:0:0"},
      {{1999, 12, 31, 23, 59, 59}, "1999-12-31 23:59:59"},
      {{2020, 2, 29, 10, 0, 30}, "2020-2-29 10:0:30"},
  };
  for (const auto& c : cases) EXPECT_EQ(DateTimeText(c.time), c.text);
}

TEST(DecodeNumericRefs, PiecesAndTheCallersText) {
  const struct {
    std::string in, result, after;
  } cases[] = {
      {"&#20013;&#22269;", "中国"_gbk, "20013;22269;"},
      {"&#20013;65", "中A"_gbk, "20013;65"},  // text after the last separator is one more number
      {"abc&#20013;", "", "abc20013;"},       // text before the first reference spoils it
      {"&#20013;abc", "中"_gbk, "20013;abc"},
      {"&#x4E2D;", "", "x4E2D;"},
      {"no refs", "", "no refs"},
      {"", "", ""},
      {"&#20013", "中"_gbk, "20013"},
      {"&#20013;;&#65;", "中A"_gbk, "20013;;65;"},
      {"&# 20013;&#+65;&#65.9;", "中AA"_gbk, " 20013;+65;65.9;"},
      {"&#8364;&#12288;", "€　"_gbk, "8364;12288;"},
      {"&#0;&#65;", "A", "0;65;"},
      {"&#3585;", "?", "3585;"},                   // Thai, not in GBK
      {"&#55357;&#56832;", "??", "55357;56832;"},  // each half of a pair stands alone
      {"&#65536;&#1114111;", "??", "65536;1114111;"},
      {"&#1114112;&#-65;&#99999999999999999999;&#66;", "B", "1114112;-65;99999999999999999999;66;"},
      {"&&##65;", "", "&#65;"},  // one deletion pass; "&#65" reads as no number
  };
  for (const auto& c : cases) {
    std::string s = c.in;
    EXPECT_EQ(DecodeNumericRefs(s), c.result) << c.in;
    EXPECT_EQ(s, c.after) << c.in;
  }
}

TEST(DecodeNumericRefs, OtherPrefixAndSeparatorStepOverDoubleBytes) {
  const struct {
    std::string in, prefix, separator, result, after;
  } cases[] = {
      {"#65,#66,", "#", ",", "AB", "65,66,"},
      {"&#20013,&#22269,", "&#", ",", "中国"_gbk, "20013,22269,"},
      // 誁 ends in "@", 誠 in "\\": neither is a prefix or a separator.
      {"誁65"_gbk, "@", ";", "", "誁65"_gbk},
      {"@65;誁"_gbk, "@", ";", "A", "65;誁"_gbk},
      {"@65誠\\66"_gbk, "@", "\\", "AB", "65誠\\66"_gbk},
  };
  for (const auto& c : cases) {
    std::string s = c.in;
    EXPECT_EQ(DecodeNumericRefs(s, c.prefix, c.separator), c.result) << c.in;
    EXPECT_EQ(s, c.after) << c.in;
  }
}

TEST(PercentDecode, BytesOut) {
  const struct {
    std::string in, bytes;
  } cases[] = {
      {"%E5%BA%97", "\xE5\xBA\x97"},
      {"%e5%Ba%97", "\xE5\xBA\x97"},
      {"a%20b", "a b"},
      {"a+b", "a+b"},
      {"%FF%80", "\xFF\x80"},
      {"%2541", "%41"},  // decoded once
      {"中%41"_gbk, "中A"_gbk},
      {"", ""},
      // The result ends at a decoded zero byte.
      {"x%00y", "x"},
      {"%00", ""},
      // A "%" without two hexadecimal digits stays and the walk goes on.
      {"100%", "100%"},
      {"%", "%"},
      {"%4", "%4"},
      {"%4g", "%4g"},
      {"%g4", "%g4"},
      {"% 41", "% 41"},
      {"%0x41", "%0x41"},
      {"%%41", "%A"},
  };
  for (const auto& c : cases) EXPECT_EQ(PercentDecode(Exact(c.in)), c.bytes) << c.in;
}

TEST(PercentDecode, ThenUtf8ToAnsiGivesTheNick) {
  const struct {
    std::string in, nick;
  } cases[] = {
      {"%E5%BA%97", "店"_gbk},
      {"%E5%BA%97%E4%B8%BB", "店主"_gbk},
      {"a%20b", "a b"},
      {"a+b", "a+b"},
      // What is not UTF-8, or not in GBK, comes out as "?".
      {"%E5%BA", "??"},
      {"%F0%9F%98%80", "?"},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToAnsi(PercentDecode(c.in)), c.nick) << c.in;
}

TEST(Utf8ToAnsi, LackingAndMalformed) {
  const struct {
    std::string utf8, gbk;
  } cases[] = {
      {"", ""},
      {"abc\r\n", "abc\r\n"},
      {"店铺", "店铺"_gbk},
      {"€　·", "\x80\xA1\xA1\xA1\xA4"},
      {"a\xF0\x9F\x98\x80z", "a?z"},  // an emoji
      {"aกb", "a?b"},
      {"\xEF\xBF\xBD", "?"},  // U+FFFD itself
      // One "?" per malformed byte.
      {"a\xFFz", "a?z"},
      {"\x80", "?"},
      {"\xE5\xBA", "??"},
      {"\xE5\xBAz", "??z"},
      {"\xC0\xAF", "??"},  // an overlong "/" is no "/"
      {"\xED\xA0\x80", "???"},
      // The UTF-16 step stops at the first zero unit.
      {"a\0b"s, "a"},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToAnsi(Exact(c.utf8)), c.gbk) << c.utf8;
}

TEST(Utf16ToAnsi, LittleEndianUpToTheFirstZeroUnit) {
  const struct {
    std::string bytes, gbk;
  } cases[] = {
      {"\x2D\x4E\x41\x00"s, "中A"_gbk},
      {"\x2D\x4E\x41\x00\x00\x00\x42\x00"s, "中A"_gbk},
      {"\x00\x00\x41\x00"s, ""},
      {"", ""},
      {"\x41", ""},
      {"\x41\x00\x42"s, "A"},  // an odd last byte is no unit
      {"\xAC\x20\x00\x30"s, "€　"_gbk},
      {"\x3D\xD8\x00\xDE"s, "?"},  // a surrogate pair GBK lacks
      {"\x00\xD8\x41\x00"s, "?A"},
      {"\x00\xDC"s, "?"},
      {"\x00\xD8"s, "?"},
      {"\x01\x0E", "?"},
  };
  for (const auto& c : cases) {
    const std::string gbk = Utf16ToAnsi(Exact(c.bytes));
    EXPECT_EQ(gbk, c.gbk) << ::testing::PrintToString(c.bytes);
    EXPECT_LE(gbk.size(), c.bytes.size());
  }
}

TEST(Ucs2ToGbk, ByteOrderMarkSetsTheOrder) {
  const struct {
    std::string bytes, gbk;
  } cases[] = {
      {"\xFF\xFE\x2D\x4E\x22\x00"s, "中\""_gbk},
      {"\xFE\xFF\x4E\x2D\x00\x22"s, "中\""_gbk},
      {"\x4E\x2D\x00\x22"s, "中\""_gbk},  // big-endian without a mark
      {"\xFF\xFEv\x00r\x00\t\x00"s, "vr\t"},
      {"", ""},
      {"\xFF", ""},
      {"\xFF\xFE", ""},
      {"\xFE\xFF", ""},
      {"\xFF\xFE\x41\x00\x42"s, "A"},
      {"\x00\x41\x00\x00\x00\x42"s, "A\0B"s},  // zero units stay
      {"\xFF\xFE\x3D\xD8\x00\xDE\x41\x00"s, "?A"},
      {"\xFE\xFF\xD8\x00\x00\x41"s, "?A"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Ucs2ToGbk(Exact(c.bytes)), c.gbk) << ::testing::PrintToString(c.bytes);
}

}  // namespace
}  // namespace taotu
