// The text rules on GBK bytes, double-byte stepping above all.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <limits>
#include <memory>

#include "support/exact_bytes.h"
#include "text/gbk_literal.h"
#include "text/gbk_text.h"

namespace taotu {
namespace {

using namespace text;
using Pieces = std::vector<std::string>;

using testing::Exact;

// 誠 D5 5C, 諀 D5 7C and 誁 D5 40 end in the bytes of "\\", "|" and "@";
// 啊 B0 A1 ends in the first byte of the double-byte blank A1 A1.

TEST(Find, PositionsFromAndDoubleByteStepping) {
  const struct {
    std::string text, what;
    int from, position;
  } cases[] = {
      {"abcabc", "c", 1, 3},
      {"abcabc", "c", 4, 6},
      {"abcabc", "c", 7, -1},
      {"abcabc", "bc", 3, 5},
      {"abcabc", "x", 1, -1},
      {"ab", "abc", 1, -1},
      {"abc", "C", 1, -1},
      {"abc", "a", 0, 1},
      {"abc", "a", -5, 1},
      {"abc", "c", 9, -1},
      // An empty search text: found at `from` while that lies inside the text.
      {"abc", "", 1, 1},
      {"abc", "", 3, 3},
      {"abc", "", 4, -1},
      {"", "", 1, -1},
      {"", "a", 1, -1},
      // Trail bytes are never matched.
      {"誠"_gbk, "\\", 1, -1},
      {"誠\\"_gbk, "\\", 1, 3},
      {"諀|"_gbk, "|", 1, 3},
      {"誁@"_gbk, "@", 1, 3},
      {"a誠b\\"_gbk, "\\", 1, 5},
      {"中国"_gbk, "国"_gbk, 1, 3},
      {"中国"_gbk, "\xD0\xB9", 1, -1},  // trail of one character and lead of the next
      {"\x80\\", "\\", 1, -1},          // 0x80 counts as a lead byte too
      // A start inside a character moves on to the next character.
      {"誠\\"_gbk, "\\", 2, 3},
      {"x誠\\"_gbk, "\\", 3, 4},
      // A lone lead byte at the end is a character of its own.
      {"a\xD6", "\xD6", 1, 2},
      {"ab\xD6", "b", 1, 2},
      {"\xD6", "\xD6\xD0", 1, -1},
      {"a\xD6", "x", 1, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Find(Exact(c.text), c.what, c.from), c.position)
        << "'" << c.text << "' / '" << c.what << "' from " << c.from;
  }
}

TEST(Contains, StepsOverDoubleBytesLikeFind) {
  const struct {
    std::string text, what;
    bool found;
  } cases[] = {
      {"a\\b", "\\", true}, {"誠"_gbk, "\\", false}, {"諀"_gbk, "|", false}, {"誁"_gbk, "@", false},
      {"a", "", true},      {"", "", false},         {"\xD6", "\xD6", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Contains(Exact(c.text), c.what), c.found) << c.text << " / " << c.what;
}

TEST(Split, PiecesKeptAndDropped) {
  const struct {
    std::string text, separator;
    Pieces pieces;
  } cases[] = {
      {"a||b|", "|", {"a", "", "b"}},
      {"", "|", {}},
      {"abc", "|", {"abc"}},
      {"|a", "|", {"", "a"}},
      {"|", "|", {""}},
      {"||", "|", {"", ""}},
      {"a||", "|", {"a", ""}},
      {"a\r\nb\r\n\r\n", "\r\n", {"a", "b", ""}},
      {"aaa", "aa", {"", "a"}},  // no overlapping matches
      {"aaaa", "aa", {"", ""}},
      {"id=1&id=2", "id=", {"", "1&", "2"}},
      {"中a中b"_gbk, "中"_gbk, {"", "a", "b"}},
      {"諀|b"_gbk, "|", {"諀"_gbk, "b"}},
      {"誠\\x\\"_gbk, "\\", {"誠"_gbk, "x"}},
      {"中国"_gbk, "\xD0\xB9", {"中国"_gbk}},
      {"a|\xD6", "|", {"a", "\xD6"}},
      // An empty separator separates nothing.
      {"abc", "", {"abc"}},
      {"", "", {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Split(Exact(c.text), c.separator), c.pieces) << c.text << " / " << c.separator;
}

TEST(ReplaceAll, LeftToRightResumingAfterEach) {
  const struct {
    std::string text, from, to, result;
  } cases[] = {
      {"\r\n\r\n\r\n", "\r\n\r\n", "\r\n", "\r\n\r\n"},
      {"aaaa", "aa", "a", "aa"},
      {"aaa", "a", "aa", "aaaaaa"},  // the replacement is not searched again
      {"abc", "abc", "", ""},
      {"", "a", "b", ""},
      {"x", "", "y", "x"},
      {"a.JPG", ".jpg", ".png", "a.JPG"},
      {"中中"_gbk, "中"_gbk, "国"_gbk, "国国"_gbk},
      {"誠\\"_gbk, "\\", "/", "誠/"_gbk},
      {"諀|"_gbk, "|", ",", "諀,"_gbk},
      {"誁@"_gbk, "@", "#", "誁#"_gbk},
      {"中国"_gbk, "\xD0\xB9", "X", "中国"_gbk},
      {"a\xD6", "\xD6", "X", "aX"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceAll(Exact(c.text), c.from, c.to), c.result) << c.text << " / " << c.from;
  }
}

TEST(ReplaceAll, DeleteAllIsReplacingWithNothing) {
  const struct {
    std::string text, what, result;
  } cases[] = {
      {"a_.webpb_.webp", "_.webp", "ab"},
      {"&#20013;&#22269;", "&#", "20013;22269;"},
      {"&&##", "&#", "&#"},  // one pass: what the deletion joins stays
      {"誠\\\\"_gbk, "\\", "誠"_gbk},
      {"abc", "", "abc"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DeleteAll(Exact(c.text), c.what), c.result) << c.text << " / " << c.what;
}

TEST(Between, AfterFirstStartUpToNextEnd) {
  const struct {
    std::string text, start, end, result;
  } cases[] = {
      {"<title>T</title>", "<title>", "</title>", "T"},
      {"x<title>T", "<title>", "</title>", "T"},  // no end: to the end of the text
      {"no title", "<title>", "</title>", ""},
      {"", "<", ">", ""},
      {"a=1;b=2;", "b=", ";", "2"},
      {"[a][b]", "[", "]", "a"},
      {"</b><b>x</b>", "<b>", "</b>", "x"},  // an end before the start does not count
      {"<b></b>", "<b>", "</b>", ""},
      {"abab", "ab", "ab", ""},
      {"aXa", "a", "a", "X"},
      {"abc", "c", "x", ""},
      {"a=b", "=", "", "b"},  // an empty end reads to the end
      {"誠\\x\\y"_gbk, "\\", "\\", "x"},
      {"k=諀|v|"_gbk, "=", "|", "諀"_gbk},
      {"誁a@b@"_gbk, "@", "@", "b"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Between(Exact(c.text), c.start, c.end), c.result)
        << c.text << " / " << c.start << " / " << c.end;
  }
}

TEST(TrimBlanks, AsciiBlankAndA1A1Only) {
  const struct {
    std::string text, result;
  } cases[] = {
      {"  a b  ", "a b"},
      {"　 a　"_gbk, "a"},
      {"中　文"_gbk, "中　文"_gbk},
      {"   ", ""},
      {"　　"_gbk, ""},
      {"", ""},
      {"\ta\t", "\ta\t"},
      {"\r\na\r\n", "\r\na\r\n"},
      {"啊　"_gbk, "啊"_gbk},
      // 啊 and a lone A1: its trail byte and the A1 are no blank together.
      {"a啊"_gbk + "\xA1", "a啊"_gbk + "\xA1"},
      {"\xB0\xA1\xA1\xA1", "\xB0\xA1"},
      {"　"_gbk + "\xA1", "\xA1"},
      {"a\xA1", "a\xA1"},
      {" \xD6", "\xD6"},
  };
  for (const auto& c : cases) EXPECT_EQ(TrimBlanks(Exact(c.text)), c.result) << c.text;
}

TEST(Numbers, LeadingNumberAndItsIntegerPart) {
  const std::string many(400, '9');
  const struct {
    std::string text;
    double number;
    long long integer;
  } cases[] = {
      {"8.2", 8.2, 8},
      {"19.99", 19.99, 19},
      {"0.1", 0.1, 0},
      {"3.14159元"_gbk, 3.14159, 3},
      {"  12abc", 12, 12},
      {"\t7", 7, 7},
      {"+2.5", 2.5, 2},
      {"-3.5x", -3.5, -3},
      {"007", 7, 7},
      {".5", 0.5, 0},
      {"5.", 5, 5},
      {"1e3", 1, 1},
      {"1,000", 1, 1},
      {"520123456789012345", 520123456789012345.0, 520123456789012345},
      {"abc", 0, 0},
      {"", 0, 0},
      {"-", 0, 0},
      {".", 0, 0},
      {"- 5", 0, 0},
      {"\r\n5", 0, 0},     // blanks are space and tab only
      {"１２"_gbk, 0, 0},  // full-width digits are no digits
      {"99999999999999999999", 1e20, LLONG_MAX},
      {"-99999999999999999999", -1e20, LLONG_MIN},
      {many, std::numeric_limits<double>::infinity(), LLONG_MAX},
      {"0." + many, 1, 0},
      {"-0." + std::string(400, '0') + "1", 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToNumber(Exact(c.text)), c.number) << c.text;
    EXPECT_EQ(ToInteger(Exact(c.text)), c.integer) << c.text;
  }
}

TEST(Numbers, DecimalIsPlainAndReadsBack) {
  const struct {
    long long number;
    std::string text;
  } cases[] = {
      {0, "0"},
      {7, "7"},
      {-5, "-5"},
      {2014, "2014"},
      {LLONG_MAX, "9223372036854775807"},
      {LLONG_MIN, "-9223372036854775808"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Decimal(c.number), c.text);
    EXPECT_EQ(ToInteger(Decimal(c.number)), c.number);
  }
}

TEST(Bytes, LeftRightEndsWithAndUpToZero) {
  const struct {
    std::string text;
    std::size_t n;
    std::string left, right;
  } cuts[] = {
      {"a.jpg", 4, "a.jp", ".jpg"},
      {"jpg", 4, "jpg", "jpg"},
      {"abc", 0, "", ""},
      {"", 2, "", ""},
      {"中国"_gbk, 2, "中"_gbk, "国"_gbk},
      {"中国"_gbk, 1, "\xD6", "\xFA"},  // bytes, not characters
  };
  for (const auto& c : cuts) {
    EXPECT_EQ(Left(c.text, c.n), c.left) << c.text << " " << c.n;
    EXPECT_EQ(Right(c.text, c.n), c.right) << c.text << " " << c.n;
  }

  const struct {
    std::string text, ending;
    bool ends;
  } endings[] = {
      {"a.jpg", ".jpg", true}, {"a.JPG", ".jpg", false}, {"jpg", ".jpg", false},
      {"x", "", true},         {"", ".jpg", false},      {"宝贝.csv"_gbk, ".csv", true},
  };
  for (const auto& c : endings) EXPECT_EQ(EndsWith(c.text, c.ending), c.ends) << c.text << " / " << c.ending;

  const struct {
    std::string bytes, text;
  } zeros[] = {
      {std::string("ab\0cd", 5), "ab"},
      {std::string("\0x", 2), ""},
      {"abc", "abc"},
      {"", ""},
  };
  for (const auto& c : zeros) EXPECT_EQ(UpToZero(Exact(c.bytes)), c.text);
}

}  // namespace
}  // namespace taotu
