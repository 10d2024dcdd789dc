// The job's start, dispatch and end, with a fake window and fake HTTP.
#include "job/dispatcher.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>

#include "fake_window.h"
#include "job/address_list.h"
#include "job/job_state.h"
#include "job/paths.h"
#include "platform/codepage.h"
#include "platform/file_system.h"
#include "support/temp_dir.h"
#include "text/gbk_literal.h"

namespace taotu {
namespace {

using namespace text;
using job::WorkerKind;

TEST(ChooseWorker, ByExactEnding) {
  const struct {
    std::string entry;
    WorkerKind kind;
  } cases[] = {
      {"http://img.alicdn.com/a.jpg", WorkerKind::DirectImage},
      {"http://img.alicdn.com/a.gif", WorkerKind::DirectImage},
      {"http://img.alicdn.com/a.png", WorkerKind::DirectImage},
      {"http://img.alicdn.com/a.jpg_.webp", WorkerKind::DirectImage},
      {".jpg", WorkerKind::DirectImage},
      {"/home/u/shop.csv", WorkerKind::CsvPackage},
      {"http://img.alicdn.com/a.JPG", WorkerKind::ItemPage},
      {"/home/u/shop.Csv", WorkerKind::ItemPage},
      {"http://img.alicdn.com/a.jpg ", WorkerKind::ItemPage},
      {"https://item.taobao.com/item.htm?id=1", WorkerKind::ItemPage},
      {"jpg", WorkerKind::ItemPage},
      {"", WorkerKind::None},
  };
  for (const auto& c : cases) EXPECT_EQ(job::ChooseWorker(c.entry), c.kind) << c.entry;
}

TEST(JobFolderName, DigitsWithoutLeadingZerosThenCount) {
  EXPECT_EQ(job::JobFolderName({2014, 11, 10, 9, 5, 3}, 5), "20141110953共淘图5个地址"_gbk);
  EXPECT_EQ(job::JobFolderName({2026, 1, 2, 23, 59, 0}, 12), "20261223590共淘图12个地址"_gbk);
}

TEST(JoinPath, OneBackslashBetween) {
  EXPECT_EQ(job::JoinPath("C:\\", "J"), "C:\\J");
  EXPECT_EQ(job::JoinPath("C:\\out", "J"), "C:\\out\\J");
  // A character whose trail byte is 0x5C is not a final backslash.
  const std::string folder = "D:\\\xD5\x5C";
  ASSERT_EQ(folder.back(), '\\');
  EXPECT_EQ(job::JoinPath(folder, "J"), folder + "\\J");
}

class DispatcherTest : public ::testing::Test {
 protected:
  DispatcherTest() : files(paths), clock({2014, 11, 10, 9, 5, 3}) {
    window.saveFolder = paths.FromNative(dir.Path());
  }

  std::string JobFolderNative(int count) const {
    return dir.Path() + "/" + platform::GbkToUtf8(job::JobFolderName({2014, 11, 10, 9, 5, 3}, count));
  }

  testing::TempDir dir;
  platform::PathCodec paths;
  platform::NativeFileSystem files;
  testing::FixedClock clock;
  testing::EchoHttp http;
  testing::FakeWindow window;
};

TEST_F(DispatcherTest, RefusedStartsChangeNothingButTheMessage) {
  const struct {
    std::string list;
    bool anyPictureKind;
    job::StartResult result;
    std::string message;
  } cases[] = {
      {"http://a/b.jpg", false, job::StartResult::NoPictureKind,
       "您还未选择要下载的是主图或细节图或其他图片呢！？"_gbk},
      {job::ListHint(), true, job::StartResult::NoAddress, "宝贝链接还未输入！"_gbk},
      {"no full stop here", true, job::StartResult::NoAddress, "宝贝链接还未输入！"_gbk},
  };
  for (const auto& c : cases) {
    testing::FakeWindow w;
    w.saveFolder = window.saveFolder;
    w.addressList = c.list;
    w.options.downloadMain = w.options.downloadDetail = w.options.downloadOther = c.anyPictureKind;
    job::JobControl control(w, {http, files, clock});
    EXPECT_EQ(control.Start(), c.result);
    EXPECT_EQ(w.messages, std::vector<std::string>{c.message});
    EXPECT_TRUE(w.statuses.empty());
    EXPECT_TRUE(w.listEnabled);
    EXPECT_FALSE(control.Running());
  }
  EXPECT_TRUE(testing::ListFiles(dir.Path()).empty());
}

TEST_F(DispatcherTest, EmptyEntriesAreSkippedAndTheJobEnds) {
  window.addressList = "\r\nhttp://img.alicdn.com/a.jpg\r\n\r\nhttp://img.alicdn.com/b.jpg\r\n";
  job::JobControl control(window, {http, files, clock});
  ASSERT_EQ(control.Start(), job::StartResult::Started);
  EXPECT_EQ(control.State().Count, 4);
  ASSERT_TRUE(window.RunJob(control));
  EXPECT_EQ(window.statuses.back(), "（4/4）全部下载完毕！"_gbk);
  EXPECT_EQ(testing::ListFiles(JobFolderNative(4)), (std::vector<std::string>{"a.jpg", "b.jpg"}));
  EXPECT_EQ(control.State().JobFolder, "");
  EXPECT_TRUE(window.listEnabled);
  EXPECT_TRUE(window.startEnabled);
  EXPECT_EQ(window.counters.back(), job::CounterRestingText());
}

TEST_F(DispatcherTest, EveryWorkerResetsTheBarBeforeHandingBack) {
  window.addressList = "http://img.alicdn.com/a.jpg\r\nhttp://img.alicdn.com/b.jpg";
  job::JobControl control(window, {http, files, clock});
  ASSERT_EQ(control.Start(), job::StartResult::Started);
  ASSERT_TRUE(window.RunJob(control));
  EXPECT_EQ(window.progress, (std::vector<int>{50, 100, 0, 50, 100, 0}));
}

// A worker that holds the job until released, to try a second start.
std::promise<void> release;
void HoldingWorker(job::WorkerContext& context) {
  release.get_future().wait();
  job::CompleteEntry(context);
}

TEST_F(DispatcherTest, SecondStartWhileAJobRunsIsRefused) {
  release = std::promise<void>();
  window.addressList = "item.htm";
  job::Workers workers;
  workers.itemPage = HoldingWorker;
  job::JobControl control(window, {http, files, clock}, workers);
  ASSERT_EQ(control.Start(), job::StartResult::Started);
  control.Tick();  // the worker now holds the job
  EXPECT_EQ(control.Start(), job::StartResult::Busy);
  EXPECT_EQ(control.State().Count, 1);
  release.set_value();
  ASSERT_TRUE(window.RunJob(control));
  EXPECT_EQ(window.statuses.back(), "（1/1）全部下载完毕！"_gbk);
}

TEST_F(DispatcherTest, UnhandledKindsAreReportedAsFailures) {
  window.addressList = "/data/shop.csv";
  job::Workers workers = job::DefaultWorkers();
  workers.csvPackage = nullptr;
  job::JobControl control(window, {http, files, clock}, workers);
  ASSERT_EQ(control.Start(), job::StartResult::Started);
  ASSERT_TRUE(window.RunJob(control));
  ASSERT_EQ(window.logLines.size(), 1u);
  EXPECT_TRUE(window.logLines[0].starts_with("下载失败：/data/shop.csv"_gbk));
  EXPECT_EQ(window.reportedFailures, 1);
}

}  // namespace
}  // namespace taotu
