// Names from pages and addresses never leave their folder.
#include "platform/file_names.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "text/gbk_literal.h"

namespace taotu {
namespace {

using namespace text;
using platform::SafeNamePiece;

TEST(SafeNamePiece, KeepsWhatTheFileSystemAccepts) {
  for (std::string name : {"a.jpg?v=2", "O1.jpg", "x:y*z", "..a", "...", "a b"}) {
    EXPECT_EQ(SafeNamePiece(name), name);
  }
  EXPECT_EQ(SafeNamePiece("宝贝.jpg"_gbk), "宝贝.jpg"_gbk);
  // A trail byte 0x5C belongs to its character, it is no separator.
  EXPECT_EQ(SafeNamePiece("\xD5\x5C.jpg"), "\xD5\x5C.jpg");
}

TEST(SafeNamePiece, NeverClimbsOut) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"..", "_.."},
      {".", "_."},
      {"", "_"},
      {"..\\..\\etc", ".._.._etc"},
      {"a/b", "a_b"},
      {"/etc/passwd", "_etc_passwd"},
      {std::string("a\0b\r\n\x7f", 6), "a_b___"},
  };
  for (const auto& c : cases) EXPECT_EQ(SafeNamePiece(c.in), c.out);
}

TEST(SafeNamePiece, LongNamesAreCutOnACharacterBoundaryKeepingTheExtension) {
  std::string title;
  for (int i = 0; i < 200; ++i) title += "宝"_gbk;  // 3 UTF-8 bytes each
  const std::string safe = SafeNamePiece(title + ".jpg");
  const std::string native = platform::GbkToUtf8(safe);
  EXPECT_LE(native.size(), 255u);
  EXPECT_GE(native.size(), 250u);
  EXPECT_TRUE(safe.ends_with(".jpg"));
  EXPECT_EQ(platform::Utf8ToGbk(native), safe);  // no half character
}

}  // namespace
}  // namespace taotu
