// Code pages at the program's edges.
#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <thread>
#include <vector>

#include "support/exact_bytes.h"

namespace taotu {
namespace {

using namespace platform;
using std::string_literals::operator""s;

const std::string kBad = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

using testing::Exact;

std::string Repeat(std::string_view piece, int times) {
  std::string out;
  while (times-- > 0) out += piece;
  return out;
}

TEST(Codepage, GbkBothWays) {
  const struct {
    std::string utf8, gbk;
  } cases[] = {
      {"", ""},
      {"abc\r\n\x7F", "abc\r\n\x7F"},
      {"a\0b"s, "a\0b"s},
      {"中国", "\xD6\xD0\xB9\xFA"},
      {"啊", "\xB0\xA1"},
      {"丂", "\x81\x40"},  // the first double-byte code
      {"誠諀誁", "\xD5\x5C\xD5\x7C\xD5\x40"},
      {"€", "\x80"},  // code page 936, not plain GBK
      {"　·", "\xA1\xA1\xA1\xA4"},
      // Longer than one pass of the converter's buffer.
      {Repeat("中", 5000), Repeat("\xD6\xD0", 5000)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToGbk(Exact(c.utf8)), c.gbk) << c.utf8;
    EXPECT_EQ(GbkToUtf8(Exact(c.gbk)), c.utf8) << c.utf8;
    EXPECT_TRUE(Utf8SurvivesGbk(c.utf8)) << c.utf8;
  }
}

TEST(Codepage, Utf8ToGbkMarksWhatItCannotCarry) {
  const struct {
    std::string utf8, gbk;
    bool survives;
  } cases[] = {
      {"宝贝/1.jpg", "\xB1\xA6\xB1\xB4/1.jpg", true},
      {"?", "?", true},
      {"\xF0\x9F\x98\x80", "?", false},  // one "?" per character
      {"aกb", "a?b", false},
      {"\xEF\xBF\xBD", "?", false},
      {"中\xF0\x9F\x98\x80国", "\xD6\xD0?\xB9\xFA", false},
      // One "?" per malformed byte.
      {"a\xFFz", "a?z", false},
      {"\xE4\xB8", "??", false},
      {"\xE4\xB8z", "??z", false},
      {"\xC0\xAF", "??", false},
      {"\xED\xA0\x80", "???", false},
      {"\xF4\x90\x80\x80", "????", false},
      {Repeat("中", 3000) + "\xF0\x9F\x98\x80" + Repeat("国", 3000),
       Repeat("\xD6\xD0", 3000) + "?" + Repeat("\xB9\xFA", 3000), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToGbk(Exact(c.utf8)), c.gbk) << c.utf8;
    EXPECT_EQ(Utf8SurvivesGbk(Exact(c.utf8)), c.survives) << c.utf8;
  }
}

TEST(Codepage, GbkToUtf8ReplacesEachBadByte) {
  const struct {
    std::string gbk, utf8;
  } cases[] = {
      // A lone lead byte at the end.
      {"a\xD6", "a" + kBad},
      {"\xD6\xD0\xD6", "中" + kBad},
      // A lead byte before a byte that cannot trail: that byte stays itself.
      {"\xD6\x30", kBad + "0"},
      {"\xD6\x7F", kBad + "\x7F"},
      {"\xD6\x0A", kBad + "\n"},
      {"\x81\xFF", kBad + kBad},
      // 0xFF starts nothing.
      {"\xFF", kBad},
      {"\xFFz", kBad + "z"},
      // A well-formed pair that GBK leaves unassigned.
      {"\xA2\xA0z", kBad + kBad + "z"},
  };
  for (const auto& c : cases) EXPECT_EQ(GbkToUtf8(Exact(c.gbk)), c.utf8) << ::testing::PrintToString(c.gbk);
}

TEST(Codepage, EveryDoubleByteCodeRoundTrips) {
  int assigned = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const std::string gbk{static_cast<char>(lead), static_cast<char>(trail)};
      const std::string utf8 = GbkToUtf8(gbk);
      if (utf8 == kBad + kBad) continue;
      ++assigned;
      EXPECT_EQ(Utf8ToUtf16(utf8).size(), 1u) << ::testing::PrintToString(gbk);  // one BMP character
      EXPECT_EQ(Utf8ToGbk(utf8), gbk) << ::testing::PrintToString(gbk);
    }
  }
  // GB2312's first level alone holds 3755 characters (B0 A1 to D7 F9).
  for (int lead = 0xB0; lead <= 0xD7; ++lead) {
    for (int trail = 0xA1; trail <= (lead == 0xD7 ? 0xF9 : 0xFE); ++trail) {
      const std::string gbk{static_cast<char>(lead), static_cast<char>(trail)};
      EXPECT_EQ(GbkToUtf8(gbk).find(kBad), std::string::npos) << ::testing::PrintToString(gbk);
    }
  }
  EXPECT_GT(assigned, 20000);
}

TEST(Codepage, Utf8ValidityAndUnits) {
  const char16_t r = u'\xFFFD';
  const struct {
    std::string bytes;
    bool valid;
    std::u16string units;
  } cases[] = {
      {"", true, u""},
      {"a\0b"s, true, u"a\0b"s},
      {"\x7F", true, {0x7F}},
      {"\xC2\x80", true, {0x80}},
      {"\xDF\xBF", true, {0x7FF}},
      {"\xE0\xA0\x80", true, {0x800}},
      {"\xE4\xB8\xAD", true, u"中"},
      {"\xED\x9F\xBF", true, {0xD7FF}},
      {"\xEE\x80\x80", true, {0xE000}},
      {"\xEF\xBF\xBF", true, {0xFFFF}},
      {"\xF0\x90\x80\x80", true, {0xD800, 0xDC00}},
      {"\xF0\x9F\x98\x80", true, {0xD83D, 0xDE00}},
      {"\xF4\x8F\xBF\xBF", true, {0xDBFF, 0xDFFF}},
      // Malformed: U+FFFD for each byte.
      {"\x80", false, {r}},
      {"\xFF", false, {r}},
      {"\xC0\xAF", false, {r, r}},  // overlong
      {"\xC1\xBF", false, {r, r}},
      {"\xE0\x9F\xBF", false, {r, r, r}},
      {"\xF0\x8F\xBF\xBF", false, {r, r, r, r}},
      {"\xED\xA0\x80", false, {r, r, r}},  // surrogates
      {"\xED\xBF\xBF", false, {r, r, r}},
      {"\xF4\x90\x80\x80", false, {r, r, r, r}},  // beyond U+10FFFF
      {"\xF8\x88\x80\x80\x80", false, {r, r, r, r, r}},
      {"\xE4\xB8", false, {r, r}},  // cut short
      {"\xE4\xB8z", false, {r, r, u'z'}},
      {"a\xF0\x9F\x98", false, {u'a', r, r, r}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsValidUtf8(Exact(c.bytes)), c.valid) << ::testing::PrintToString(c.bytes);
    EXPECT_EQ(Utf8ToUtf16(Exact(c.bytes)), c.units) << ::testing::PrintToString(c.bytes);
  }
}

TEST(Codepage, Utf16ToGbkMarksLoneSurrogates) {
  const struct {
    std::u16string units;
    std::string gbk;
  } cases[] = {
      {u"", ""},
      {u"a中", "a\xD6\xD0"},
      {u"\0a"s, "\0a"s},
      {{0x20AC, 0x3000}, "\x80\xA1\xA1"},
      {{0xD83D, 0xDE00}, "?"},
      {{0xD83D, 0xDE00, 0xD83D, 0xDE00}, "??"},
      {{0xD800, u'a'}, "?a"},
      {{0xDC00, 0xD800}, "??"},
      {{0xD800}, "?"},
      {{0xDE00}, "?"},
      {{0x0E01}, "?"},
      {{0xFEFF, u'a'}, "?a"},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf16ToGbk(c.units), c.gbk) << ::testing::PrintToString(c.gbk);
}

TEST(Codepage, ThreadsConvertSideBySide) {
  const std::string utf8 = Repeat("宝贝z\xF0\x9F\x98\x80\xFF", 200);
  const std::string gbk = Utf8ToGbk(utf8);
  const std::string back = GbkToUtf8(gbk);
  std::vector<int> mismatches(8);
  std::vector<std::thread> threads;
  for (int& count : mismatches) {
    threads.emplace_back([&] {
      for (int i = 0; i < 200; ++i) count += (Utf8ToGbk(utf8) != gbk) + (GbkToUtf8(gbk) != back);
    });
  }
  for (std::thread& t : threads) t.join();
  for (int count : mismatches) EXPECT_EQ(count, 0);
  EXPECT_EQ(gbk, Repeat("\xB1\xA6\xB1\xB4z??", 200));
}

}  // namespace
}  // namespace taotu
