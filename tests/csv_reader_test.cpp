// The reader the package tests rely on: it must accept exactly RFC 4180 CSV
// with CR LF records, and say where anything else goes wrong.
#include "support/csv_reader.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "support/exact_bytes.h"

namespace taotu::testing {
namespace {

using Records = std::vector<std::vector<std::string>>;

// GBK bytes: 宝贝名称 价格 描述, and 丂 whose trail byte is '@'.
const std::string kTitleZh = "\xb1\xa6\xb1\xb4\xc3\xfb\xb3\xc6";
const std::string kPriceZh = "\xbc\xdb\xb8\xf1";
const std::string kDescZh = "\xc3\xe8\xca\xf6";
const std::string kKao = "\x81\x40";

TEST(ParseCsv, WellFormed) {
  const struct {
    std::string bytes;
    Records records;
    bool endsWithLineBreak;
  } cases[] = {
      {"", {}, false},
      {"a", {{"a"}}, false},
      {"a\r\n", {{"a"}}, true},
      {"a,b\r\nc,d", {{"a", "b"}, {"c", "d"}}, false},
      {",,\r\n", {{"", "", ""}}, true},
      {"\r\n\r\n", {{""}, {""}}, true},
      {"\"\",x,\"\"", {{"", "x", ""}}, false},
      {"\"a,b\",\"c\r\nd\"\r\n", {{"a,b", "c\r\nd"}}, true},
      {"\"lone\rcr and \nlf\"", {{"lone\rcr and \nlf"}}, false},
      {"\"say \"\"hi\"\"\"", {{"say \"hi\""}}, false},
      {"\"\"\"a\"\"\"", {{"\"a\""}}, false},
      {"\"\"\"\"", {{"\""}}, false},
      {"\"\"\"\"\"\"\r\n\"\"\"\",\"\"\"\"", {{"\"\""}, {"\"", "\""}}, false},
      {kTitleZh + "," + kKao + "\r\n\"" + kPriceZh + "\r\n" + kKao + "\"",
       {{kTitleZh, kKao}, {kPriceZh + "\r\n" + kKao}},
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    const CsvParse parse = ParseCsv(Exact(c.bytes));
    EXPECT_EQ(parse.error, "");
    EXPECT_EQ(parse.records, c.records);
    EXPECT_EQ(parse.endsWithLineBreak, c.endsWithLineBreak);
  }
}

TEST(ParseCsv, MalformedSaysWhereAndKeepsTheRecordsBefore) {
  const struct {
    std::string bytes;
    std::size_t offset;
    Records before;
  } cases[] = {
      {"a\nb", 1, {}},                     // bare LF
      {"\"a\"\n", 3, {}},                  // bare LF after a quoted field
      {"a\n\nb", 1, {}},                   // two bare LFs are no CR LF either
      {"a\r\nb\rc", 4, {{"a"}}},           // bare CR
      {"a,b\r", 3, {}},                    // CR at the end
      {"ab\"c", 2, {}},                    // quote inside an unquoted field
      {"a\"\"", 1, {}},                    // even a doubled one
      {"x\r\n \"a\"", 4, {{"x"}}},         // a space before the quote makes it unquoted
      {"\"a\"b", 3, {}},                   // text after a closing quote
      {"x,\"a\" ,y", 5, {}},               // a space after it
      {"\"a\"x\ny", 3, {}},                // even just before a line end
      {"\"abc", 0, {}},                    // never closed
      {"x\r\ny,\"a\"\"\r\n", 5, {{"x"}}},  // the last quote is escaped, so still open
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    const CsvParse parse = ParseCsv(Exact(c.bytes));
    EXPECT_EQ(parse.error.substr(0, parse.error.find(':')), "byte " + std::to_string(c.offset))
        << parse.error;
    EXPECT_EQ(parse.records, c.before);
  }
}

// Whatever a writer quotes, and however little, must read back as written.
TEST(ParseCsv, ReadsBackAwkwardFields) {
  const std::string pieces[] = {
      "", "a", ",", "\"", "\"\"", "\r\n", "\r", "\n", " ", "\"\"\"abc\"\"\"", kTitleZh + kKao};
  auto quoted = [](const std::string& field) {
    std::string out = "\"";
    for (char ch : field) out += ch == '"' ? std::string("\"\"") : std::string(1, ch);
    return out + "\"";
  };
  for (bool always : {true, false}) {
    SCOPED_TRACE(always ? "every field quoted" : "fields quoted when they must be");
    auto write = [&](const std::string& field) {
      return always || field.find_first_of(",\"\r\n") != std::string::npos ? quoted(field) : field;
    };
    Records records;
    std::string bytes;
    for (const auto& p : pieces) {
      for (const auto& q : pieces) {
        records.push_back({p, p + q, q});
        bytes += write(p) + "," + write(p + q) + "," + write(q) + "\r\n";
      }
    }
    const CsvParse parse = ParseCsv(Exact(bytes));
    EXPECT_EQ(parse.error, "");
    EXPECT_EQ(parse.records, records);
    EXPECT_TRUE(parse.endsWithLineBreak);
  }
}

TEST(ReadCsvPackage, FieldsByEnglishName) {
  const std::string bytes = "version 1.00\r\ntitle,price,description\r\n" + kTitleZh + "," + kPriceZh + "," +
                            kDescZh + "\r\n\"A, \"\"b\"\"\",1.5,\"<p>\r\n</p>\"\r\n" + kKao + ",,\r\n";
  const CsvPackage package = ReadCsvPackage(Exact(bytes));
  EXPECT_EQ(package.error, "");
  EXPECT_TRUE(package.endsWithLineBreak);
  EXPECT_EQ(package.version, "version 1.00");
  EXPECT_EQ(package.english, (std::vector<std::string>{"title", "price", "description"}));
  EXPECT_EQ(package.chinese, (std::vector<std::string>{kTitleZh, kPriceZh, kDescZh}));
  ASSERT_EQ(package.rows.size(), 2u);

  const struct {
    std::size_t row;
    std::string name, field;
  } cases[] = {
      {0, "title", "A, \"b\""}, {0, "price", "1.5"}, {0, "description", "<p>\r\n</p>"},
      {1, "title", kKao},       {1, "price", ""},    {1, "description", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(package.Field(c.row, c.name), c.field) << c.row << " " << c.name;
  EXPECT_THROW(package.Field(0, "Title"), std::out_of_range);
  EXPECT_THROW(package.Field(2, "title"), std::out_of_range);
}

TEST(ReadCsvPackage, ShapeProblemsAreReported) {
  const std::string header = "version 1.00\r\na,b,c\r\nA,B,C\r\n";
  const struct {
    std::string bytes, error;  // error: a part the message must have, or "" for none
    std::size_t rows;
  } cases[] = {
      {header, "", 0},
      {header + "1,2,3", "", 1},
      {header + "1,2,3\r\n1,2\r\n", "row 1 has 2 fields", 2},
      {header + "1,2,3,4\r\n", "row 0 has 4 fields", 1},
      {header + "\r\n", "row 0 has 1 fields", 1},
      {"version 1.00\r\na,b,c\r\nA,B\r\n", "line 2 has 3 fields", 0},
      {"version,1.00\r\na,b,c\r\nA,B,C\r\n", "line 1 has 2 fields", 0},
      {"version 1.00\r\na,b,c\r\n", "2 lines", 0},
      {"", "0 lines", 0},
      {header + "1,2,3\r\n1,2\"\r\n", "byte ", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    const CsvPackage package = ReadCsvPackage(Exact(c.bytes));
    if (c.error.empty())
      EXPECT_EQ(package.error, "");
    else
      EXPECT_NE(package.error.find(c.error), std::string::npos) << package.error;
    EXPECT_EQ(package.rows.size(), c.rows);
  }

  // A short row is still there to look at, but has no field where it ends.
  const CsvPackage shortRow = ReadCsvPackage(Exact(header + "1,2,3\r\n1,2\r\n"));
  EXPECT_EQ(shortRow.Field(1, "b"), "2");
  EXPECT_THROW(shortRow.Field(1, "c"), std::out_of_range);
}

}  // namespace
}  // namespace taotu::testing
