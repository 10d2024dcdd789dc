// 导出CSV数据包 end to end: where the package files land, what their rows
// hold when read back as Taobao Assistant reads them, and which items give
// no row at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <mutex>

#include "cli_test_fixture.h"
#include "csvpack/csv_header.h"
#include "fake_window.h"
#include "job/dispatcher.h"
#include "job/paths.h"
#include "platform/codepage.h"
#include "platform/file_system.h"
#include "support/csv_reader.h"

namespace taotu {
namespace {

using testing::Answer;
using testing::ReadCsvPackage;
using testing::ReadFileBytes;

const char* const kComposite = "岚川淘图CSV复合数据包.csv";
const char* const kIndependent = "岚川淘图CSV独立数据包.csv";

std::string ItemAddress(const std::string& id) { return "http://item.taobao.com/item.htm?id=" + id; }
std::string DescAddress(const std::string& id) { return "http://desc.alicdn.com/i/" + id; }

// An item page that names its description by descUrl; `extra` goes into
// the body as it is.
std::string ItemPage(const std::string& title, const std::string& descAddress,
                     const std::string& extra = "") {
  std::string page = "<html><head><title>" + title + "</title></head><body>";
  if (!descAddress.empty()) page += "<script>var g_config = {\"descUrl\":\"" + descAddress + "\"};</script>";
  return page + extra + "</body></html>";
}

// The description as the sites send it, wrapped in a script assignment.
std::string Wrapped(const std::string& html) { return "var desc='" + html + "';"; }

std::string Utf8(const std::string& gbk) { return platform::GbkToUtf8(gbk); }

// The package file's bytes after the header lines and their CR LF.
std::string AfterHeader(const std::string& bytes) {
  const std::string header = csvpack::CsvHeader() + "\r\n";
  EXPECT_TRUE(bytes.starts_with(header));
  return bytes.substr(std::min(bytes.size(), header.size()));
}

std::vector<std::string> CsvFilesOf(const std::vector<std::string>& files) {
  std::vector<std::string> csv;
  for (const std::string& f : files) {
    if (f.ends_with(".csv")) csv.push_back(f);
  }
  return csv;
}

class CsvExportTest : public testing::CliTest {
 protected:
  void ServeItem(const std::string& id, const std::string& title, const std::string& descriptionHtml,
                 const std::string& extra = "") {
    ServeGbkPage(ItemAddress(id), ItemPage(title, DescAddress(id), extra));
    ServeGbkPage(DescAddress(id), Wrapped(descriptionHtml));
  }
  void Fresh() {
    std::filesystem::remove_all(save);
    std::filesystem::create_directory(save);
  }
};

// Only the description step and the export run.
const std::vector<std::string> kExportOnly = {"--no-main", "--no-other"};

std::vector<std::string> Args(std::vector<std::string> flags, const std::vector<std::string>& entries) {
  flags.insert(flags.end(), entries.begin(), entries.end());
  return flags;
}

TEST_F(CsvExportTest, IndependentPackageIsTheHeaderAndOneRowWithoutALineBreak) {
  ServeItem("541001", "纯棉T恤", "<p>纯棉面料</p>");
  const testing::CliRun run =
      Download(Args({"--independent", "--no-main", "--no-other"}, {ItemAddress("541001")}));
  ASSERT_EQ(run.exitCode, 0) << run.out;

  // Nothing else is written: no composite file, no temporary left behind.
  EXPECT_EQ(JobFiles(), (std::vector<std::string>{"541001_岚川淘图/宝贝描述/详情.html",
                                                  "541001_岚川淘图/" + std::string(kIndependent)}));
  const std::string bytes = ReadFileBytes(JobPath() + "/541001_岚川淘图/" + kIndependent);
  const std::string row = AfterHeader(bytes);
  EXPECT_EQ(row.find("\r\n"), std::string::npos) << Utf8(row);

  const testing::CsvPackage package = ReadCsvPackage(bytes);
  ASSERT_EQ(package.error, "") << Utf8(bytes);
  EXPECT_EQ(package.version, "version 1.00");
  EXPECT_EQ(package.english.size(), 58u);
  EXPECT_EQ(package.chinese.size(), 58u);
  ASSERT_EQ(package.rows.size(), 1u);
  EXPECT_EQ(package.rows[0].size(), 58u);
  EXPECT_FALSE(package.endsWithLineBreak);
  EXPECT_EQ(Utf8(package.Field(0, "title")), "纯棉T恤");
  EXPECT_EQ(package.Field(0, "num_id"), "541001");
  EXPECT_EQ(Utf8(package.Field(0, "description")), "<p>纯棉面料</p>");
}

TEST_F(CsvExportTest, CompositePackageHoldsTheJobsItemsNewestFirst) {
  ServeItem("542001", "第一件", "<p>一</p>");
  ServeItem("542002", "第二件", "<p>二</p>");
  const testing::CliRun run = Download(Args(kExportOnly, {ItemAddress("542001"), ItemAddress("542002")}));
  ASSERT_EQ(run.exitCode, 0) << run.out;

  EXPECT_EQ(JobFiles(), (std::vector<std::string>{"542001_岚川淘图/宝贝描述/详情.html",
                                                  "542002_岚川淘图/宝贝描述/详情.html", kComposite}));
  const std::string bytes = ReadFileBytes(JobPath() + "/" + kComposite);
  const testing::CsvPackage package = ReadCsvPackage(bytes);
  ASSERT_EQ(package.error, "") << Utf8(bytes);
  EXPECT_TRUE(bytes.starts_with(csvpack::CsvHeader() + "\r\n"));
  // The reader ends records only at CR LF: each row, the last one too, has its own.
  EXPECT_TRUE(package.endsWithLineBreak);
  ASSERT_EQ(package.rows.size(), 2u);
  const struct {
    const char *id, *title, *description;
  } rows[] = {{"542002", "第二件", "<p>二</p>"}, {"542001", "第一件", "<p>一</p>"}};
  for (std::size_t r = 0; r < 2; ++r) {
    EXPECT_EQ(package.Field(r, "num_id"), rows[r].id);
    EXPECT_EQ(Utf8(package.Field(r, "title")), rows[r].title);
    EXPECT_EQ(Utf8(package.Field(r, "description")), rows[r].description);
  }
}

// What the detail page says, and what a CSV reader gets back from the
// description column.
TEST_F(CsvExportTest, DescriptionReadsBackAsTheDetailPage) {
  const std::string linked =
      R"("<p>say "hi" <a href="http://shop.taobao.com/x" target="_blank">buy</a> now</p>")";
  const struct {
    const char* what;
    std::vector<std::string> flags;
    std::string detail, readBack;
  } cases[] = {
      {"links removed", {}, linked, R"("<p>say "hi" buy now</p>")"},
      {"links kept", {"--keep-links"}, linked, linked},
      {"line breaks stay inside the field", {}, "\"a\r\nb\"\r\n", "\"a\r\nb\"\r\n"},
      // 纜 is C0 7C in GBK: its trail byte must not join the marker after it.
      {"a trail byte like the marker at the edge", {}, "<p>电缆</p>纜", "<p>电缆</p>纜"},
      // The format collapses every run of quotes the doubling made long.
      {"two quotes in a row", {}, R"(a ""b"" c)", R"(a "b" c)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Fresh();
    const std::string id = "54300" + std::to_string(&c - cases);
    ServeItem(id, "引号", c.detail);
    const testing::CliRun run = Download(Args(Args(kExportOnly, c.flags), {ItemAddress(id)}));
    ASSERT_EQ(run.exitCode, 0) << run.out;
    const auto lines = run.OutLines();
    EXPECT_EQ(
        std::count(lines.begin(), lines.end(), "（1/1）正在删除CSV数据包中的超链接，很快就可以完成了。"),
        c.flags.empty() ? 1 : 0);
    const std::string bytes = ReadFileBytes(JobPath() + "/" + kComposite);
    const testing::CsvPackage package = ReadCsvPackage(bytes);
    ASSERT_EQ(package.error, "") << Utf8(bytes);
    ASSERT_EQ(package.rows.size(), 1u);
    EXPECT_EQ(Utf8(package.Field(0, "description")), c.readBack);
    EXPECT_EQ(package.Field(0, "num_id"), id);  // the columns after it are still in place
  }
}

TEST_F(CsvExportTest, ItemsThatGiveNoRowWriteNoPackage) {
  const struct {
    const char* what;
    std::vector<std::string> flags;
    std::string entry;
    std::string extra;       // more page text
    int descriptionFetches;  // the item did run up to the export
    bool announced;          // the status line told of the export
    bool written;
  } cases[] = {
      {"an item of its own", kExportOnly, ItemAddress("544000"), "", 1, true, true},
      {"a 1688 offer without id=", kExportOnly, "http://detail.1688.com/offer/544001.html", "", 1, true,
       true},
      {"a ladder price", kExportOnly, ItemAddress("544002"), "<div class=\"price-title ladder-1\">", 1, false,
       false},
      {"neither id= nor the 1688 offer host", kExportOnly, "http://item.taobao.com/item.htm?x=544003", "", 1,
       true, false},
      {"--no-csv", {"--no-main", "--no-other", "--no-csv"}, ItemAddress("544004"), "", 1, false, false},
      // Some picture kind must stay on for the job to start.
      {"--no-detail", {"--no-other", "--no-detail"}, ItemAddress("544005"), "", 0, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Fresh();
    const std::string desc = "http://desc.alicdn.com/gate/" + std::to_string(&c - cases);
    ServeGbkPage(c.entry, ItemPage("门", desc, c.extra));
    ServeGbkPage(desc, Wrapped("<p>门</p>"));
    const testing::CliRun run = Download(Args(c.flags, {c.entry}));
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(site.RequestCount(desc), c.descriptionFetches);
    const auto lines = run.OutLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "（1/1）正在导出CSV数据包中……"), c.announced ? 1 : 0);
    EXPECT_EQ(CsvFilesOf(JobFiles()),
              c.written ? std::vector<std::string>{kComposite} : std::vector<std::string>{});
    if (c.written) {
      const testing::CsvPackage package = ReadCsvPackage(ReadFileBytes(JobPath() + "/" + kComposite));
      EXPECT_EQ(package.error, "");
      ASSERT_EQ(package.rows.size(), 1u);
      EXPECT_EQ(Utf8(package.Field(0, "description")), "<p>门</p>");
    }
  }
}

TEST_F(CsvExportTest, ItemWithoutADescriptionGetsAnEmptyOneNotTheLastItems) {
  const struct {
    const char* what;
    std::string page;
    bool descriptionFails;
    int exitCode;
  } cases[] = {
      {"the page names none", ItemPage("无描述", ""), false, 0},
      {"it fails to arrive", ItemPage("无描述", "http://desc.alicdn.com/i/gone"), true, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Fresh();
    const std::string first = "54500" + std::to_string(&c - cases) + "1";
    const std::string second = "54500" + std::to_string(&c - cases) + "2";
    ServeItem(first, "有描述", "<p>只属于第一件</p>");
    ServeGbkPage(ItemAddress(second), c.page);
    if (c.descriptionFails) site.Serve("http://desc.alicdn.com/i/gone", Answer(404, "gone"));
    const testing::CliRun run = Download(Args(kExportOnly, {ItemAddress(first), ItemAddress(second)}));
    ASSERT_EQ(run.exitCode, c.exitCode) << run.out;
    const testing::CsvPackage package = ReadCsvPackage(ReadFileBytes(JobPath() + "/" + kComposite));
    ASSERT_EQ(package.error, "");
    ASSERT_EQ(package.rows.size(), 2u);
    EXPECT_EQ(package.Field(0, "num_id"), second);
    EXPECT_EQ(package.Field(0, "description"), "");
    EXPECT_EQ(Utf8(package.Field(0, "title")), "无描述");
    EXPECT_EQ(package.Field(1, "num_id"), first);
    EXPECT_EQ(Utf8(package.Field(1, "description")), "<p>只属于第一件</p>");
  }
}

// Pages by address, in GBK as the sites send them; every other address 404.
class PageHttp final : public platform::HttpClient {
 public:
  void Serve(const std::string& address, const std::string& utf8) {
    std::lock_guard lock(mutex_);
    pages_[address] = platform::Utf8ToGbk(utf8);
  }
  platform::HttpResult Get(const std::string& address) override {
    std::lock_guard lock(mutex_);
    platform::HttpResult result;
    const auto it = pages_.find(address);
    if (it == pages_.end()) {
      result.status = 404;
      result.error = "HTTP 404";
      return result;
    }
    result.status = 200;
    result.body = it->second;
    return result;
  }

 private:
  std::mutex mutex_;
  std::map<std::string, std::string> pages_;
};

// Two jobs of one run on one JobControl, as two presses of 立即下载.
class CsvExportRunTest : public ::testing::Test {
 protected:
  CsvExportRunTest() : files(paths), clock({2014, 11, 10, 9, 5, 3}) {
    window.saveFolder = paths.FromNative(dir.Path());
    window.options.downloadMain = false;
    window.options.downloadOther = false;
  }

  void ServeItem(const std::string& id, const std::string& descriptionHtml) {
    http.Serve(ItemAddress(id), ItemPage("宝贝" + id, DescAddress(id)));
    http.Serve(DescAddress(id), Wrapped(descriptionHtml));
  }

  // Runs one job over `entries` and gives its composite package's bytes.
  std::string RunJob(job::JobControl& control, const std::vector<std::string>& entries) {
    std::string list;
    for (const std::string& e : entries) list += (list.empty() ? "" : "\r\n") + e;
    window.addressList = list;
    EXPECT_EQ(control.Start(), job::StartResult::Started);
    EXPECT_TRUE(window.RunJob(control));
    EXPECT_EQ(window.reportedFailures, 0);
    return ReadFileBytes(CompositePath(static_cast<int>(entries.size())));
  }

  std::string CompositePath(int count) const {
    return dir.Path() + "/" + platform::GbkToUtf8(job::JobFolderName(clock.Now(), count)) + "/" + kComposite;
  }

  testing::TempDir dir;
  platform::PathCodec paths;
  platform::NativeFileSystem files;
  testing::FixedClock clock;
  PageHttp http;
  testing::FakeWindow window;
};

// A description quoted at both edges reaches the file with three quotes at
// each edge of its field; converting that row a second time would leave two
// and break the whole package.
TEST_F(CsvExportRunTest, LaterJobListsItsRowsFirstThenEveryEarlierRowAsFirstWritten) {
  ServeItem("546001", "\"edge\"");
  ServeItem("546002", "<p>二</p>");
  ServeItem("546003", "\"c\" and \"d\"");
  job::JobControl control(window, {http, files, clock});

  const std::string first = RunJob(control, {ItemAddress("546001")});
  const testing::CsvPackage firstPackage = ReadCsvPackage(first);
  ASSERT_EQ(firstPackage.error, "") << Utf8(first);
  ASSERT_EQ(firstPackage.rows.size(), 1u);
  EXPECT_EQ(firstPackage.Field(0, "description"), "\"edge\"");

  const std::string second = RunJob(control, {ItemAddress("546002"), ItemAddress("546003")});
  const testing::CsvPackage package = ReadCsvPackage(second);
  ASSERT_EQ(package.error, "") << Utf8(second);
  EXPECT_TRUE(package.endsWithLineBreak);
  ASSERT_EQ(package.rows.size(), 3u);
  EXPECT_EQ(package.Field(0, "num_id"), "546003");
  EXPECT_EQ(package.Field(0, "description"), "\"c\" and \"d\"");
  EXPECT_EQ(package.Field(1, "num_id"), "546002");
  EXPECT_EQ(package.rows[2], firstPackage.rows[0]);
  // Byte for byte: the first job's row closes the second job's file.
  EXPECT_TRUE(second.ends_with(AfterHeader(first))) << Utf8(second);
  // The first job's file is that job's alone.
  EXPECT_EQ(ReadFileBytes(CompositePath(1)), first);
}

}  // namespace
}  // namespace taotu

namespace taotu {
namespace {

// The page text reads every ")" as a quote; values cut from it must not carry
// that quote into the file, where it would break the row for every reader.
TEST_F(CsvExportTest, BracketsInPageValuesKeepThePackageReadable) {
  ServeItem("547001", "T", "<p>d</p>",
            "<li>品牌:&nbsp;牌(A)</li><li>型号:&nbsp;X(1)</li><p class=\"tb-subtitle\">限时(包邮)</p>");
  ServeItem("547002", "U", "<p>e</p>");
  ASSERT_EQ(Download(Args(kExportOnly, {ItemAddress("547001"), ItemAddress("547002")})).exitCode, 0);
  const auto package = ReadCsvPackage(ReadFileBytes(JobPath() + "/" + kComposite));
  ASSERT_EQ(package.error, "");
  ASSERT_EQ(package.rows.size(), 2u);
  EXPECT_EQ(Utf8(package.Field(1, "subtitle")), "限时(包邮)");
  EXPECT_EQ(Utf8(package.Field(1, "inputValues")), "牌(A);型号;X(1);");
  EXPECT_EQ(Utf8(package.Field(1, "outer_id")), "X(1)");
}

}  // namespace
}  // namespace taotu

namespace taotu {
namespace {

// Rows that come quickly are written together; whatever is still waiting
// when the job ends reaches the file then, also after a last entry that is
// no item.
TEST_F(CsvExportTest, RowsWaitingAtTheEndOfTheJobReachTheFile) {
  ServeItem("548001", "A", "<p>a</p>");
  ServeItem("548002", "B", "<p>b</p>");
  site.ServePicture("http://img.alicdn.com/last.jpg", 10);
  ASSERT_EQ(Download(Args(kExportOnly,
                          {ItemAddress("548001"), ItemAddress("548002"), "http://img.alicdn.com/last.jpg"}))
                .exitCode,
            0);
  const auto package = ReadCsvPackage(ReadFileBytes(JobPath() + "/" + kComposite));
  ASSERT_EQ(package.error, "");
  ASSERT_EQ(package.rows.size(), 2u);
  EXPECT_EQ(package.Field(0, "num_id"), "548002");
  EXPECT_EQ(package.Field(1, "num_id"), "548001");
}

}  // namespace
}  // namespace taotu
