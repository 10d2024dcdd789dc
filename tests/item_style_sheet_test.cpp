// taotu-cli on 下载其他图: the style sheets an item page loads, and the
// pictures they name with an absolute http address, into 其他图片.
#include <algorithm>
#include <filesystem>
#include <utility>

#include "cli_test_fixture.h"

namespace taotu {
namespace {

using ItemStyleSheetTest = testing::CliTest;
using testing::Answer;
using testing::PictureBytes;
using testing::ReadFileBytes;

// Only this step: --no-detail also leaves the CSV package out.
std::vector<std::string> Args(std::vector<std::string> entries, std::vector<std::string> flags = {}) {
  std::vector<std::string> args = {"--no-main", "--no-detail"};
  args.insert(args.end(), flags.begin(), flags.end());
  args.insert(args.end(), entries.begin(), entries.end());
  return args;
}

// An item page loading `sheets`, with a script and a picture around them
// that are not style sheets.
std::string Page(const std::vector<std::string>& sheets) {
  std::string html =
      "<html><head><title>纯棉T恤-淘宝网</title>"
      "<script src=\"http://g.alicdn.com/kg/detail.js\"></script>";
  for (const std::string& sheet : sheets) html += "<link rel=\"stylesheet\" href=\"" + sheet + "\">";
  return html + "</head><body><img src=\"http://img.alicdn.com/bao/main.jpg\"></body></html>";
}

std::string Sheet(const std::vector<std::string>& pictures) {
  std::string css;
  int n = 0;
  for (const std::string& picture : pictures) {
    css += ".p" + std::to_string(++n) + "{background:url(" + picture + ") no-repeat;}\n";
  }
  return css;
}

std::vector<std::string> UrlsFrom(const std::vector<testing::RecordedRequest>& requests) {
  std::vector<std::string> urls;
  for (const auto& request : requests) urls.push_back(request.url);
  return urls;
}

// The download log's picture addresses, without status and failure lines.
std::vector<std::string> LoggedAddresses(const testing::CliRun& run) {
  std::vector<std::string> addresses;
  for (const std::string& line : run.OutLines()) {
    if (line.starts_with("http")) addresses.push_back(line);
  }
  return addresses;
}

TEST_F(ItemStyleSheetTest, FetchesThePageAgainThenEachStyleSheetInPageOrder) {
  const std::string item = "http://item.taobao.com/item.htm?id=541001";
  // Page order, not name order; the query after ".css" stays on the address.
  const std::string first = "http://g.alicdn.com/kg/z.css";
  const std::string second = "http://g.alicdn.com/kg/a.css?t=20141110&v=2";
  const std::string firstPicture = "http://img.alicdn.com/css/z.png";
  const std::string secondPicture = "http://img.alicdn.com/css/a.gif";
  ServeGbkPage(item, Page({first, second}));
  ServeGbkPage(first, Sheet({firstPicture}));
  ServeGbkPage(second, Sheet({secondPicture}));
  site.ServePicture(firstPicture, 50);
  site.ServePicture(secondPicture, 60);

  const testing::CliRun run = Download(Args({item}));
  ASSERT_EQ(run.exitCode, 0) << run.out;
  EXPECT_EQ(UrlsFrom(site.Requests()),
            (std::vector<std::string>{item, item, first, firstPicture, second, secondPicture}));
  const std::string folder = JobPath() + "/541001_岚川淘图/其他图片";
  EXPECT_EQ(testing::ListFiles(folder), (std::vector<std::string>{"1.gif", "1.png"}));
  EXPECT_EQ(ReadFileBytes(folder + "/1.png"), PictureBytes(firstPicture, 50));
  EXPECT_EQ(ReadFileBytes(folder + "/1.gif"), PictureBytes(secondPicture, 60));
  EXPECT_EQ(run.OutLines().back(), "（1/1）全部下载完毕！");
}

// Each sheet numbers from 1; a name already present is logged but neither
// fetched nor counted, so the next picture takes the same number.
TEST_F(ItemStyleSheetTest, SecondStyleSheetNumbersFromOneAndSkipsPresentNames) {
  const std::string item = "http://item.taobao.com/item.htm?id=542001";
  const std::string sheetA = "http://g.alicdn.com/kg/a.css", sheetB = "http://g.alicdn.com/kg/b.css";
  const std::vector<std::string> fromA = {"http://img.alicdn.com/a/bg.jpg",
                                          "http://img.alicdn.com/a/icon.gif",
                                          "http://img.alicdn.com/a/logo.png"};
  const std::vector<std::string> fromB = {"http://img.alicdn.com/b/bg.jpg", "http://img.alicdn.com/b/tab.png",
                                          "http://img.alicdn.com/b/star.gif"};
  ServeGbkPage(item, Page({sheetA, sheetB}));
  ServeGbkPage(sheetA, Sheet(fromA));
  ServeGbkPage(sheetB, Sheet(fromB));
  for (const auto& pictures : {fromA, fromB}) {
    for (const std::string& picture : pictures) site.ServePicture(picture, 30 + picture.size());
  }

  const testing::CliRun run = Download(Args({item}));
  ASSERT_EQ(run.exitCode, 0) << run.out;
  std::vector<std::string> logged = fromA;
  logged.insert(logged.end(), fromB.begin(), fromB.end());
  EXPECT_EQ(LoggedAddresses(run), logged);

  const std::string folder = JobPath() + "/542001_岚川淘图/其他图片";
  EXPECT_EQ(testing::ListFiles(folder), (std::vector<std::string>{"1.jpg", "1.png", "2.gif", "3.png"}));
  const std::pair<const char*, std::string> expected[] = {
      {"1.jpg", fromA[0]}, {"2.gif", fromA[1]}, {"3.png", fromA[2]}, {"1.png", fromB[1]}};
  for (const auto& [name, source] : expected) {
    EXPECT_EQ(ReadFileBytes(folder + "/" + name), PictureBytes(source, 30 + source.size())) << name;
  }
  EXPECT_EQ(site.RequestCount(fromB[0]), 0);  // 1.jpg present
  EXPECT_EQ(site.RequestCount(fromB[1]), 1);
  EXPECT_EQ(site.RequestCount(fromB[2]), 0);  // 2.gif present
}

TEST_F(ItemStyleSheetTest, TakesOnlyAbsoluteHttpPictureAddresses) {
  const struct {
    const char* what;
    std::string css;    // one rule of the sheet
    std::string taken;  // the address fetched, "" when none
  } cases[] = {
      {"single quotes", "url('http://img.alicdn.com/q/single.jpg')", "http://img.alicdn.com/q/single.jpg"},
      {"double quotes", "url(\"http://img.alicdn.com/q/double.png\")", "http://img.alicdn.com/q/double.png"},
      {"bare", "url(http://img.alicdn.com/q/bare.gif)", "http://img.alicdn.com/q/bare.gif"},
      {"relative", "url(../img/relative.jpg)", ""},
      {"site-relative", "url(/q/rooted.jpg)", ""},
      {"protocol-relative", "url(//img.alicdn.com/q/schemeless.jpg)", ""},
      {"https", "url(https://img.alicdn.com/q/secure.jpg)", ""},
      {"not a picture", "url(http://at.alicdn.com/font/iconfont.woff)", ""},
  };
  const std::string item = "http://item.taobao.com/item.htm?id=543001";
  const std::string sheet = "http://g.alicdn.com/kg/mixed.css";
  std::string css;
  std::vector<std::string> taken;
  for (const auto& c : cases) {
    css += std::string(".r{background:") + c.css + ";}\n";
    if (c.taken.empty()) continue;
    taken.push_back(c.taken);
    site.ServePicture(c.taken, 40);
  }
  ServeGbkPage(item, Page({sheet}));
  ServeGbkPage(sheet, css);

  const testing::CliRun run = Download(Args({item}));
  ASSERT_EQ(run.exitCode, 0) << run.out;
  EXPECT_EQ(LoggedAddresses(run), taken);
  std::vector<std::string> urls = {item, item, sheet};
  urls.insert(urls.end(), taken.begin(), taken.end());
  EXPECT_EQ(UrlsFrom(site.Requests()), urls);
  const std::string folder = JobPath() + "/543001_岚川淘图/其他图片";
  EXPECT_EQ(testing::ListFiles(folder), (std::vector<std::string>{"1.jpg", "2.png", "3.gif"}));
  EXPECT_EQ(ReadFileBytes(folder + "/1.jpg"), PictureBytes(cases[0].taken, 40));
}

// Without a folder per item the job folder takes the last pieces, query and
// all; a second sheet naming the same last piece finds it present.
TEST_F(ItemStyleSheetTest, FlatPutsPicturesInTheJobFolderUnderTheirLastPiece) {
  const std::string item = "http://item.taobao.com/item.htm?id=544001";
  const std::string sheetA = "http://g.alicdn.com/kg/a.css", sheetB = "http://g.alicdn.com/kg/b.css";
  const std::string banner = "http://img.alicdn.com/a/T1banner.jpg",
                    logo = "http://img.alicdn.com/a/logo.png?v=2";
  const std::string sameName = "http://img.alicdn.com/b/T1banner.jpg";
  ServeGbkPage(item, Page({sheetA, sheetB}));
  ServeGbkPage(sheetA, Sheet({banner, logo}));
  ServeGbkPage(sheetB, Sheet({sameName}));
  site.ServePicture(banner, 70);
  site.ServePicture(logo, 71);
  site.ServePicture(sameName, 72);

  const testing::CliRun run = Download(Args({item}, {"--flat"}));
  ASSERT_EQ(run.exitCode, 0) << run.out;
  EXPECT_EQ(JobFiles(), (std::vector<std::string>{"T1banner.jpg", "logo.png?v=2"}));
  EXPECT_EQ(ReadFileBytes(JobPath() + "/T1banner.jpg"), PictureBytes(banner, 70));
  EXPECT_EQ(ReadFileBytes(JobPath() + "/logo.png?v=2"), PictureBytes(logo, 71));
  EXPECT_EQ(site.RequestCount(sameName), 0);
  EXPECT_FALSE(std::filesystem::exists(JobPath() + "/其他图片"));
}

// A failure is reported and leaves no file, and the step goes on: a later
// picture whose number would have been the failed one's is fetched again.
TEST_F(ItemStyleSheetTest, FailedFetchIsReportedLeavesNoFileAndTheJobEnds) {
  const std::string sheetA = "http://g.alicdn.com/kg/a.css", sheetB = "http://g.alicdn.com/kg/b.css";
  const std::string bad = "http://img.alicdn.com/a/broken.jpg", good = "http://img.alicdn.com/a/good.jpg";
  const std::string fromB = "http://img.alicdn.com/b/bg.jpg";
  const struct {
    const char* what;
    testing::Reply sheetAReply;
    testing::Reply badReply;
    std::string failed;
    std::vector<std::pair<std::string, std::string>> files;  // name, picture it holds
  } cases[] = {
      {"style sheet 404", Answer(404, "gone"), Answer(200, ""), sheetA, {{"1.jpg", fromB}}},
      {"style sheet cut short",
       Answer(200, Sheet({good}), testing::Reply::Fault::ResetMidBody),
       Answer(200, ""),
       sheetA,
       {{"1.jpg", fromB}}},
      {"picture 404",
       Answer(200, Sheet({bad, good})),
       Answer(404, "gone"),
       bad,
       {{"1.jpg", fromB}, {"2.jpg", good}}},
      {"picture cut short",
       Answer(200, Sheet({bad, good})),
       Answer(200, PictureBytes(bad, 4000), testing::Reply::Fault::ShortBody),
       bad,
       {{"1.jpg", fromB}, {"2.jpg", good}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(save);
    std::filesystem::create_directory(save);
    const std::string id = "54500" + std::to_string(&c - cases);
    const std::string item = "http://item.taobao.com/item.htm?id=" + id;
    ServeGbkPage(item, Page({sheetA, sheetB}));
    site.Serve(sheetA, c.sheetAReply);
    ServeGbkPage(sheetB, Sheet({fromB}));
    site.Serve(bad, c.badReply);
    site.ServePicture(good, 80);
    site.ServePicture(fromB, 81);

    const testing::CliRun run = Download(Args({item}));
    EXPECT_EQ(run.exitCode, 1) << run.out;
    const std::vector<std::string> lines = run.OutLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "（1/1）全部下载完毕！");
    EXPECT_EQ(
        std::count_if(lines.begin(), lines.end(),
                      [&](const std::string& line) { return line.starts_with("下载失败：" + c.failed); }),
        1)
        << run.out;
    const std::string folder = JobPath() + "/" + id + "_岚川淘图/其他图片";
    std::vector<std::string> names;
    for (const auto& [name, source] : c.files) {
      names.push_back(name);
      EXPECT_EQ(ReadFileBytes(folder + "/" + name), PictureBytes(source, source == good ? 80 : 81)) << name;
    }
    EXPECT_EQ(testing::ListFiles(folder), names);
  }
}

}  // namespace
}  // namespace taotu
