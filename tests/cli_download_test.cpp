// taotu-cli download against the local test site, as a user runs it.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_test_fixture.h"

namespace taotu {
namespace {

using testing::Answer;
using testing::CliRun;
using testing::Reply;

using CliDownloadTest = testing::CliTest;
using testing::IsJobFolderName;

TEST_F(CliDownloadTest, ThreeEntriesRunInOrderAndEndWithTheFinalStatus) {
  for (const char* url :
       {"http://img.alicdn.com/1.jpg", "http://img.alicdn.com/2.gif", "http://img.alicdn.com/3.png"}) {
    site.ServePicture(url, 2000);
  }
  testing::WriteFileBytes(
      dir.Path() + "/list.txt",
      "http://img.alicdn.com/1.jpg\nhttp://img.alicdn.com/2.gif\nhttp://img.alicdn.com/3.png\n");
  const CliRun run = Download({"--list", dir.Path() + "/list.txt"});
  ASSERT_EQ(run.exitCode, 0) << run.err;

  const std::string folder = JobFolder();
  EXPECT_TRUE(IsJobFolderName(folder, 3)) << folder;
  const std::vector<std::string> expected = {
      "（）正在创建文件夹名为：" + folder,
      "（）文件夹：《" + folder + "》已创建成功！",
      "（1/3）正在下载，请稍等……",
      "http://img.alicdn.com/1.jpg",
      "（2/3）正在下载，请稍等……",
      "http://img.alicdn.com/2.gif",
      "（3/3）正在下载，请稍等……",
      "http://img.alicdn.com/3.png",
      "（3/3）全部下载完毕！",
  };
  EXPECT_EQ(run.OutLines(), expected);
  EXPECT_EQ(JobFiles(), (std::vector<std::string>{"1.jpg", "2.gif", "3.png"}));
  EXPECT_EQ(testing::ReadFileBytes(save + "/" + folder + "/2.gif"),
            testing::PictureBytes("http://img.alicdn.com/2.gif", 2000));
}

TEST_F(CliDownloadTest, RefusedStartsCreateNothing) {
  const struct {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"--no-main", "--no-detail", "--no-other", "http://img.alicdn.com/1.jpg"},
       "您还未选择要下载的是主图或细节图或其他图片呢！？"},
      {{}, "宝贝链接还未输入！"},
      {{"no-full-stop"}, "宝贝链接还未输入！"},
  };
  for (const auto& c : cases) {
    const CliRun run = Download(c.args);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out;
  }
  EXPECT_TRUE(std::filesystem::is_empty(save));
  EXPECT_TRUE(site.Requests().empty());
}

TEST_F(CliDownloadTest, WebpSuffixIsDroppedAtTheEndAndInTheMiddle) {
  site.ServePicture("http://img.alicdn.com/O1.jpg", 100);
  site.ServePicture("http://img.alicdn.com/a/p.png", 100);
  const CliRun run = Download({"http://img.alicdn.com/O1.jpg_.webp", "http://img.alicdn.com/a_.webp/p.png"});
  ASSERT_EQ(run.exitCode, 0) << run.out;
  EXPECT_EQ(JobFiles(), (std::vector<std::string>{"O1.jpg", "p.png"}));
  EXPECT_EQ(site.RequestCount("http://img.alicdn.com/O1.jpg"), 1);
  EXPECT_EQ(site.RequestCount("http://img.alicdn.com/a/p.png"), 1);
}

TEST_F(CliDownloadTest, SecondEntryOfTheSameNameIsLoggedButNotFetched) {
  site.ServePicture("http://img1.alicdn.com/x/1.jpg", 100);
  site.ServePicture("http://img2.alicdn.com/y/1.jpg", 200);
  const CliRun run = Download({"http://img1.alicdn.com/x/1.jpg", "http://img2.alicdn.com/y/1.jpg"});
  ASSERT_EQ(run.exitCode, 0);
  EXPECT_EQ(site.RequestCount("http://img2.alicdn.com/y/1.jpg"), 0);
  const auto lines = run.OutLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "http://img2.alicdn.com/y/1.jpg"), lines.end());
  EXPECT_EQ(testing::ReadFileBytes(save + "/" + JobFolder() + "/1.jpg").size(), 100u);
}

TEST_F(CliDownloadTest, SaveLocationWithOrWithoutFinalSeparator) {
  site.ServePicture("http://img.alicdn.com/1.jpg", 10);
  for (const std::string& given : {save + "/a", save + "/b/"}) {
    std::filesystem::create_directory(given);
    ASSERT_EQ(Download({"--save", given, "http://img.alicdn.com/1.jpg"}).exitCode, 0);
    const auto files = testing::ListFiles(given);
    ASSERT_EQ(files.size(), 1u) << given;
    const auto slash = files[0].find('/');
    EXPECT_TRUE(IsJobFolderName(files[0].substr(0, slash), 1)) << files[0];
    EXPECT_EQ(files[0].substr(slash), "/1.jpg");
  }
}

TEST_F(CliDownloadTest, FailedDownloadLeavesNoFileAndIsFetchedAgainLater) {
  site.Serve("http://img1.alicdn.com/1.jpg", Answer(404, "<html>not here</html>"));
  site.ServePicture("http://img2.alicdn.com/1.jpg", 300);
  site.Serve("http://img.alicdn.com/gone.png", Answer(404, "<html>not here</html>"));
  const CliRun run = Download(
      {"http://img1.alicdn.com/1.jpg", "http://img2.alicdn.com/1.jpg", "http://img.alicdn.com/gone.png"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(JobFiles(), std::vector<std::string>{"1.jpg"});
  EXPECT_EQ(testing::ReadFileBytes(save + "/" + JobFolder() + "/1.jpg").size(), 300u);
  const auto lines = run.OutLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "下载失败：http://img1.alicdn.com/1.jpg HTTP 404"),
            lines.end());
  EXPECT_EQ(lines.back(), "（3/3）全部下载完毕！");
  EXPECT_NE(run.err.find("2 个下载失败"), std::string::npos) << run.err;
}

TEST_F(CliDownloadTest, HangingServerEndsWithinTheTimeouts) {
  site.Serve("http://img.alicdn.com/hang.jpg", Answer(200, "x", Reply::Fault::Hang));
  const auto start = std::chrono::steady_clock::now();
  testing::CliOptions options;
  options.deadline = std::chrono::seconds(30);
  const CliRun run = Download({"http://img.alicdn.com/hang.jpg"}, options);
  EXPECT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
  EXPECT_TRUE(JobFiles().empty());
}

TEST_F(CliDownloadTest, LastPieceCannotClimbOutOfTheJobFolder) {
  const std::string evil = "http://img.alicdn.com/..\\..\\evil.jpg";
  site.ServePicture(evil, 10);
  const CliRun run = Download({evil});
  ASSERT_EQ(run.exitCode, 0) << run.out;
  for (const std::string& file : testing::ListFiles(dir.Path())) {
    EXPECT_TRUE(file.starts_with("save/" + JobFolder() + "/")) << file;
  }
  EXPECT_EQ(JobFiles().size(), 1u);
}

TEST_F(CliDownloadTest, EntriesFromStandardInputThenArguments) {
  site.ServePicture("http://img.alicdn.com/1.jpg", 10);
  site.ServePicture("http://img.alicdn.com/2.jpg", 10);
  testing::CliOptions options;
  options.stdinText = "http://img.alicdn.com/1.jpg\r\n\r\n";
  const CliRun run = Download({"--list", "-", "http://img.alicdn.com/2.jpg"}, options);
  ASSERT_EQ(run.exitCode, 0);
  EXPECT_TRUE(IsJobFolderName(JobFolder(), 2)) << JobFolder();
  EXPECT_EQ(JobFiles(), (std::vector<std::string>{"1.jpg", "2.jpg"}));
}

TEST_F(CliDownloadTest, ListFilesInUtf8OrGbkNameTheSamePicture) {
  // GBK bytes of the name go on the wire percent-encoded, as they stand.
  site.ServePicture("http://img.alicdn.com/%B1%A6%B1%B4.jpg", 10);
  const struct {
    std::string name, bytes;
  } lists[] = {
      {"utf8.txt", "\xEF\xBB\xBFhttp://img.alicdn.com/宝贝.jpg\n"},
      {"gbk.txt", "http://img.alicdn.com/\xB1\xA6\xB1\xB4.jpg\r\n"},
  };
  for (const auto& list : lists) {
    const std::string folder = save + "/" + list.name;
    std::filesystem::create_directory(folder);
    testing::WriteFileBytes(dir.Path() + "/" + list.name, list.bytes);
    const CliRun run = Download({"--save", folder, "--list", dir.Path() + "/" + list.name});
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_NE(run.out.find("\nhttp://img.alicdn.com/宝贝.jpg\n"), std::string::npos) << run.out;
    const auto files = testing::ListFiles(folder);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(files[0].ends_with("/宝贝.jpg")) << files[0];
  }
}

TEST_F(CliDownloadTest, HelpVersionAndBadUsage) {
  EXPECT_EQ(testing::RunCli(TAOTU_CLI_PATH, {"--help"}).exitCode, 0);
  const CliRun version = testing::RunCli(TAOTU_CLI_PATH, {"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_NE(version.out.find("8.2"), std::string::npos);
  EXPECT_EQ(testing::RunCli(TAOTU_CLI_PATH, {"download", "--no-such-flag"}).exitCode, 2);
  EXPECT_EQ(testing::RunCli(TAOTU_CLI_PATH, {}).exitCode, 2);
}

}  // namespace
}  // namespace taotu
