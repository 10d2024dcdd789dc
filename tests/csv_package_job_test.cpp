// taotu-cli on a Taobao Assistant CSV package: every picture it names.
#include "cli_test_fixture.h"

namespace taotu {
namespace {

using CsvPackageJobTest = testing::CliTest;

// UTF-16 little-endian with a byte-order mark, as Taobao Assistant writes.
std::string Ucs2Le(std::string_view utf8) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : platform::Utf8ToUtf16(utf8)) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

// Three description pictures in the description column, five addresses in
// the picture column, one marker right before its end character.
const char* const kPackage =
    "version 1.00\r\ntitle,description,picture\r\n宝贝名称,宝贝描述,新图片\r\n"
    "\"连衣裙\",\"<p><img src=\"\"http://img.alicdn.com/d/1.jpg\"\"><img "
    "src=\"\"http://img.alicdn.com/d/2.gif\"\">"
    "<img src=\"\"http://img.alicdn.com/d/3.png\"\"></p>\",\""
    "a:1:0:|http://img.alicdn.com/m/1.jpg;b:1:1:|http://img.alicdn.com/m/2.jpg;"
    "c:1:2:|http://img.alicdn.com/m/3.jpg;d:2:0:1627207:28320|http://img.alicdn.com/m/4.jpg;"
    "e:2:0:1627207:28321|http://img.alicdn.com/m/5.jpg;f|http://;\"\r\n";

const char* const kDescriptionPictures[] = {"http://img.alicdn.com/d/1.jpg", "http://img.alicdn.com/d/2.gif",
                                            "http://img.alicdn.com/d/3.png"};
const char* const kMainPictures[] = {"http://img.alicdn.com/m/1.jpg", "http://img.alicdn.com/m/2.jpg",
                                     "http://img.alicdn.com/m/3.jpg", "http://img.alicdn.com/m/4.jpg",
                                     "http://img.alicdn.com/m/5.jpg"};

TEST_F(CsvPackageJobTest, PicturesOfBothColumnsIntoTheirFoldersOnceAJob) {
  for (const char* url : kDescriptionPictures) site.ServePicture(url, 20);
  for (const char* url : kMainPictures) site.ServePicture(url, 30);
  const std::string package = dir.Path() + "/店铺.CSV.d/shop.csv";
  testing::WriteFileBytes(package, Ucs2Le(kPackage));

  const testing::CliRun run = Download({package, package});
  ASSERT_EQ(run.exitCode, 0) << run.out;  // "|http://;" names nothing and is passed over
  std::vector<std::string> logged;
  for (const std::string& line : run.OutLines()) {
    if (line.starts_with("http://")) logged.push_back(line);
  }
  std::vector<std::string> expected(std::begin(kDescriptionPictures), std::end(kDescriptionPictures));
  expected.insert(expected.end(), std::begin(kMainPictures), std::end(kMainPictures));
  EXPECT_EQ(logged, expected);  // the second listing downloads and logs nothing
  EXPECT_EQ(testing::ListFiles(JobPath()),
            (std::vector<std::string>{
                "shopCSV文件淘图/宝贝主图及属性图/1.jpg", "shopCSV文件淘图/宝贝主图及属性图/2.jpg",
                "shopCSV文件淘图/宝贝主图及属性图/3.jpg", "shopCSV文件淘图/宝贝主图及属性图/4.jpg",
                "shopCSV文件淘图/宝贝主图及属性图/5.jpg", "shopCSV文件淘图/宝贝详情/1.jpg",
                "shopCSV文件淘图/宝贝详情/2.gif", "shopCSV文件淘图/宝贝详情/3.png"}));
  for (const char* url : kMainPictures) EXPECT_EQ(site.RequestCount(url), 1) << url;
  EXPECT_EQ(run.OutLines().back(), "（2/2）全部下载完毕！");
}

TEST_F(CsvPackageJobTest, UnreadableOrNonUcs2FilesAreHandled) {
  site.ServePicture("http://img.alicdn.com/m/1.jpg", 30);
  testing::WriteFileBytes(dir.Path() + "/utf8.csv",
                          "title,picture\r\n\"a\",\"x:1:0:|http://img.alicdn.com/m/1.jpg;\"\r\n");
  testing::WriteFileBytes(dir.Path() + "/odd.csv", std::string("\xFF\xFE\x41", 3));
  const testing::CliRun run =
      Download({dir.Path() + "/utf8.csv", dir.Path() + "/odd.csv", dir.Path() + "/missing.csv"});
  EXPECT_EQ(run.exitCode, 1);
  const auto lines = run.OutLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "http://img.alicdn.com/m/1.jpg"), lines.end());
  EXPECT_TRUE(std::filesystem::exists(JobPath() + "/utf8CSV文件淘图/宝贝主图及属性图/1.jpg"));
  EXPECT_TRUE(std::filesystem::is_directory(JobPath() + "/oddCSV文件淘图"));
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& l) { return l.starts_with("下载失败："); }),
            1);
  EXPECT_EQ(lines.back(), "（3/3）全部下载完毕！");
}

}  // namespace
}  // namespace taotu
