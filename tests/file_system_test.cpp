// GBK paths with backslashes become native paths; writes are atomic.
#include "platform/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/codepage.h"
#include "support/temp_dir.h"
#include "text/gbk_literal.h"

namespace taotu {
namespace {

using namespace text;

TEST(PathCodec, BackslashesBecomeSeparatorsAfterDecoding) {
  platform::PathCodec codec;
  EXPECT_EQ(codec.ToNative("/tmp/out\\J\\a.jpg"), "/tmp/out/J/a.jpg");
  EXPECT_EQ(codec.ToNative("/tmp/out/\\J"), "/tmp/out/J");
  EXPECT_EQ(codec.ToNative("/tmp/"_gbk + "数据"_gbk + "\\x"), "/tmp/数据/x");
}

TEST(PathCodec, FolderGbkCannotSpellSurvivesTheRoundTrip) {
  platform::PathCodec codec;
  const std::string picked = "/tmp/\xF0\x9F\x98\x80 shop\xFF";  // an emoji and a stray byte
  const std::string gbk = codec.FromNative(picked);
  EXPECT_EQ(codec.ToNative(gbk), picked);
  EXPECT_EQ(codec.ToNative(gbk + "\\J\\1.jpg"), picked + "/J/1.jpg");
  EXPECT_EQ(codec.FromNative("/tmp/plain"), "/tmp/plain");
}

class NativeFileSystemTest : public ::testing::Test {
 protected:
  NativeFileSystemTest() : files(codec), root(codec.FromNative(dir.Path())) {}
  testing::TempDir dir;
  platform::PathCodec codec;
  platform::NativeFileSystem files;
  std::string root;
};

TEST_F(NativeFileSystemTest, OneLevelAtATime) {
  EXPECT_FALSE(files.MakeDirectory(root + "\\a\\b"));
  EXPECT_TRUE(files.MakeDirectory(root + "\\a"));
  EXPECT_FALSE(files.MakeDirectory(root + "\\a"));
  EXPECT_TRUE(files.MakeDirectory(root + "\\a\\b"));
  EXPECT_FALSE(files.IsFile(root + "\\a"));  // a folder is not a file
}

TEST_F(NativeFileSystemTest, WriteReplacesWholeAndLeavesNoTemporaryFile) {
  const std::string path = root + "\\" + "图.jpg"_gbk;
  ASSERT_TRUE(files.WriteFile(path, "first, longer"));
  ASSERT_TRUE(files.WriteFile(path, std::string("x\0y", 3)));
  EXPECT_EQ(files.ReadFile(path), std::string("x\0y", 3));
  EXPECT_TRUE(files.IsFile(path));
  EXPECT_EQ(testing::ListFiles(dir.Path()), std::vector<std::string>{"图.jpg"});
}

TEST_F(NativeFileSystemTest, FailedWriteLeavesNothing) {
  EXPECT_FALSE(files.WriteFile(root + "\\missing\\a.jpg", "bytes"));
  ASSERT_EQ(::chmod(dir.Path().c_str(), 0500), 0);
  if (::geteuid() != 0) {
    EXPECT_FALSE(files.WriteFile(root + "\\a.jpg", "bytes"));
  }
  ::chmod(dir.Path().c_str(), 0700);
  EXPECT_TRUE(testing::ListFiles(dir.Path()).empty());
  EXPECT_EQ(files.ReadFile(root + "\\nothing"), std::nullopt);
}

}  // namespace
}  // namespace taotu
