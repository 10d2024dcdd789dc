// The text rules on GBK bytes, double-byte stepping above all.
#include <gtest/gtest.h>

#include "text/gbk_literal.h"
#include "text/gbk_text.h"

namespace taotu {
namespace {

using namespace text;

// GBK characters whose trail byte looks like ASCII.
const std::string kTrailBackslash = "\xD5\x5C";  // trail 0x5C "\\"
const std::string kTrailBar = "\xD5\x7C";        // trail 0x7C "|"
const std::string kTrailAt = "\xD5\x40";         // trail 0x40 "@"

TEST(Find, PositionsAndSteppingOverDoubleBytes) {
  const struct {
    std::string text, what;
    int from, position;
  } cases[] = {
      {"abcabc", "c", 1, 3},
      {"abcabc", "c", 4, 6},
      {"abcabc", "x", 1, -1},
      {"abc", "", 1, 1},
      {"", "", 1, -1},
      {"abc", "c", 9, -1},
      {kTrailBackslash, "\\", 1, -1},
      {kTrailBar + "|", "|", 1, 3},
      {kTrailAt + "@", "@", 1, 3},
      {"a" + kTrailBackslash + "\\", "\\", 1, 4},
      {"中国"_gbk, "国"_gbk, 1, 3},
      {"\xD6", "\xD6\xD0", 1, -1},                 // a lone lead byte at the end never reads past the text
      {"x" + kTrailBackslash + "\\", "\\", 3, 4},  // from inside a character: the next one
  };
  for (const auto& c : cases)
    EXPECT_EQ(Find(c.text, c.what, c.from), c.position) << c.text << " / " << c.what;
}

TEST(Split, PiecesKeptAndDropped) {
  using Pieces = std::vector<std::string>;
  const struct {
    std::string text, separator;
    Pieces pieces;
  } cases[] = {
      {"a||b|", "|", {"a", "", "b"}},
      {"", "|", {}},
      {"abc", "|", {"abc"}},
      {"|a", "|", {"", "a"}},
      {"|", "|", {""}},
      {"a\r\nb\r\n", "\r\n", {"a", "b"}},
      {"a" + kTrailBar + "|b", "|", {"a" + kTrailBar, "b"}},
      {"id=1&id=2", "id=", {"", "1&", "2"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Split(c.text, c.separator), c.pieces) << c.text;
}

TEST(ReplaceAll, LeftToRightResumingAfterEach) {
  const struct {
    std::string text, from, to, result;
  } cases[] = {
      {"\r\n\r\n\r\n", "\r\n\r\n", "\r\n", "\r\n\r\n"},
      {"aaa", "a", "aa", "aaaaaa"},
      {"x", "", "y", "x"},
      {"a" + kTrailBackslash + "\\b", "\\", " ", "a" + kTrailBackslash + " b"},
      {"\xD6\xD0", "\xD6", "X", "X\xD0"},  // a match of a lone lead byte keeps the byte after it
  };
  for (const auto& c : cases) EXPECT_EQ(ReplaceAll(c.text, c.from, c.to), c.result) << c.text;
  EXPECT_EQ(DeleteAll("a_.webpb_.webp", "_.webp"), "ab");
}

TEST(Between, AfterStartUpToEnd) {
  EXPECT_EQ(Between("<title>T</title>", "<title>", "</title>"), "T");
  EXPECT_EQ(Between("x<title>T", "<title>", "</title>"), "T");
  EXPECT_EQ(Between("no title", "<title>", "</title>"), "");
  EXPECT_EQ(Between("a=1;b=2;", "b=", ";"), "2");
}

TEST(TrimBlanks, AsciiAndIdeographicBlanksOnly) {
  const std::string wide = "\xA1\xA1";
  EXPECT_EQ(TrimBlanks("  a b  "), "a b");
  EXPECT_EQ(TrimBlanks(wide + " a" + wide), "a");
  EXPECT_EQ(TrimBlanks("\ta\t"), "\ta\t");
  EXPECT_EQ(TrimBlanks(wide + wide), "");
  // "\xB0\xA1" ends in a byte 0xA1 that is no blank's first half.
  EXPECT_EQ(TrimBlanks("\xB0\xA1\xA1\xA1"), "\xB0\xA1");
}

TEST(Numbers, LeadingNumberOrZero) {
  const struct {
    std::string text;
    double number;
  } cases[] = {{"8.2", 8.2},    {"  12abc", 12}, {"abc", 0}, {"", 0},
               {"-3.5x", -3.5}, {"8.20", 8.2},   {".5", 0.5}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(ToNumber(c.text), c.number) << c.text;
  EXPECT_EQ(ToInteger("19.99"), 19);
  EXPECT_EQ(Decimal(2014), "2014");
  EXPECT_EQ(Decimal(0), "0");
}

TEST(LeftRight, BytesAndWholeWhenShorter) {
  EXPECT_EQ(Right("a.jpg", 4), ".jpg");
  EXPECT_EQ(Right("jpg", 4), "jpg");
  EXPECT_EQ(Left("abc", 2), "ab");
  EXPECT_EQ(Left("abc", 9), "abc");
  EXPECT_EQ(UpToZero(std::string("ab\0cd", 5)), "ab");
}

}  // namespace
}  // namespace taotu
