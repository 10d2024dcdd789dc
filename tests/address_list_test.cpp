// The address list's own rules: hint, blank lines, dropped files.
#include "job/address_list.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "support/temp_dir.h"
#include "text/gbk_literal.h"

namespace taotu {
namespace {

using namespace text;

TEST(AddressList, HintHoldsNoAsciiFullStop) {
  EXPECT_EQ(job::ListHint().find('.'), std::string::npos);
  EXPECT_EQ(job::ListAfterFocusOut(job::ListAfterFocusIn(job::ListHint())), job::ListHint());
  EXPECT_EQ(job::ListAfterFocusIn("a.jpg"), "a.jpg");
}

TEST(AddressList, CollapsingBlankLines) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"a\r\n\r\n\r\nb", "a\r\nb"},
      {"\r\na\r\nb\r\n", "\r\na\r\nb\r\n"},  // a leading and a single final break stay
      {"a\r\n\r\n\r\n\r\n\r\nb\r\n\r\n", "a\r\nb\r\n"},
      {"a\nb", "a\nb"},
  };
  for (const auto& c : cases) EXPECT_EQ(job::ListAfterFocusOut(c.in), c.out);
  EXPECT_EQ(job::ListAfterFocusOut(""), job::ListHint());
}

TEST(AddressList, JobListKeepsEmptyEntriesButNoFinalOne) {
  EXPECT_EQ(job::JobListOf("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(job::JobListOf("\r\na"), (std::vector<std::string>{"", "a"}));
  EXPECT_TRUE(job::JobListOf("").empty());
  EXPECT_EQ(job::JobListOf(" a "), (std::vector<std::string>{" a "}));
}

TEST(AddressList, DroppedFiles) {
  testing::TempDir dir;
  platform::PathCodec paths;
  platform::NativeFileSystem files(paths);
  testing::WriteFileBytes(dir.Path() + "/list.txt",
                          std::string("http://a/1.jpg\r\nhttp://a/2.jpg\0tail", 35));
  const std::string txt = paths.FromNative(dir.Path() + "/list.txt");

  EXPECT_EQ(job::ListAfterDrop(txt, "old", files), "http://a/1.jpg\r\nhttp://a/2.jpg");
  EXPECT_EQ(job::ListAfterDrop(paths.FromNative(dir.Path() + "/missing.txt"), "old", files), "");
  EXPECT_EQ(job::ListAfterDrop("/x/a.csv", job::ListHint(), files), "/x/a.csv");
  EXPECT_EQ(job::ListAfterDrop("/x/b.csv", "/x/a.csv", files), "/x/a.csv\r\n/x/b.csv");
  EXPECT_EQ(job::ListAfterDrop("/x/LIST.TXT", "old", files), std::nullopt);
  EXPECT_EQ(job::ListAfterDrop("/x/a.csv\r\n/x/b.csv\r\n", "old", files), std::nullopt);
}

}  // namespace
}  // namespace taotu
