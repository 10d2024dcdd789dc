// taotu-cli on the item pages of the three sites: the CSV data package row
// read back column by column, and the .tbi pictures beside it.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "cli_test_fixture.h"
#include "platform/md5.h"
#include "support/csv_reader.h"

namespace taotu {
namespace {

using testing::Answer;

const std::string kComposite = "岚川淘图CSV复合数据包";
const std::string kIndependent = "岚川淘图CSV独立数据包";

std::string Page(const std::string& name) {
  return testing::ReadFileBytes(std::string(TAOTU_TEST_DATA) + "/pages/" + name);
}

// Main pictures are named by the lower-case digest of their file name,
// property pictures by the upper-case one.
std::string MainName(const std::string& fileName) { return platform::Md5Hex(fileName); }
std::string PropertyName(const std::string& fileName) {
  std::string name = platform::Md5Hex(fileName);
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

// A package file read as UTF-8, with its shape checked: 58 columns, one row
// per item.
testing::CsvPackage ReadPackage(const std::string& path, std::size_t rows) {
  const testing::CsvPackage package =
      testing::ReadCsvPackage(platform::GbkToUtf8(testing::ReadFileBytes(path)));
  EXPECT_EQ(package.error, "") << path;
  EXPECT_EQ(package.english.size(), 58u);
  EXPECT_EQ(package.rows.size(), rows) << path;
  return package;
}

// The province and the city: the first and the last two GBK characters (4
// bytes) of the location.
std::pair<std::string, std::string> ProvinceAndCity(const std::string& utf8) {
  const std::string gbk = platform::Utf8ToGbk(utf8);
  const std::size_t n = std::min<std::size_t>(4, gbk.size());
  return {platform::GbkToUtf8(gbk.substr(0, n)), platform::GbkToUtf8(gbk.substr(gbk.size() - n))};
}

using Columns = std::vector<std::pair<std::string, std::string>>;

// The columns every row carries whatever the page says.
const Columns kFixedColumns = {
    {"stuff_status", "0"},
    {"item_type", "1"},
    {"auction_increment", "0"},
    {"num", "1000"},
    {"valid_thru", "7"},
    {"freight_payer", "2"},
    {"post_fee", "0.1"},
    {"ems_fee", "0"},
    {"express_fee", "0.1"},
    {"has_invoice", "0"},
    {"has_warranty", "0"},
    {"approve_status", "1"},
    {"has_showcase", "1"},
    {"postage_id", "0"},
    {"has_discount", "0"},
    {"upload_fail_msg", "200"},
    {"auction_point", "0"},
    {"video", ""},
    {"inputPids", "20000"},
    {"auto_fill", "0"},
    {"local_cid", "0"},
    {"navigation_type", "2"},
    {"syncStatus", "1"},
    {"is_lighting_consigment", "20"},
    {"is_xinpin", "248"},
    {"foodparame", ""},
    {"features", ""},
    {"buyareatype", "0"},
    {"global_stock_type", "-1"},
    {"global_stock_country", ""},
    {"sub_stock_type", "2"},
    {"item_size", ""},
    {"item_weight", ""},
    {"sell_promise", "1"},
    {"custom_design_flag", ""},
    {"wireless_desc", ""},
    {"barcode", ""},
    {"sku_barcode", ";"},
    {"newprepay", "1"},
};

void ExpectColumns(const testing::CsvPackage& package, std::size_t row, const Columns& expected) {
  for (const auto& [name, value] : expected) EXPECT_EQ(package.Field(row, name), value) << name;
}

// "2014-11-10 9:5:3": local time, no leading zeros, taken while the run was
// under way.
void ExpectLocalTimeWithin(const std::string& text, std::time_t before, std::time_t after) {
  std::tm tm{};
  ASSERT_EQ(std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &tm.tm_year, &tm.tm_mon, &tm.tm_mday, &tm.tm_hour,
                        &tm.tm_min, &tm.tm_sec),
            6)
      << text;
  const std::string reformatted = std::to_string(tm.tm_year) + "-" + std::to_string(tm.tm_mon) + "-" +
                                  std::to_string(tm.tm_mday) + " " + std::to_string(tm.tm_hour) + ":" +
                                  std::to_string(tm.tm_min) + ":" + std::to_string(tm.tm_sec);
  EXPECT_EQ(text, reformatted);
  tm.tm_year -= 1900;
  tm.tm_mon -= 1;
  tm.tm_isdst = -1;
  const std::time_t t = std::mktime(&tm);
  EXPECT_GE(t, before - 1) << text;
  EXPECT_LE(t, after + 1) << text;
}

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

using CsvLayoutTest = testing::CliTest;

// Layout B: location fetched from the delivery address, a price range, two
// thumbnails, one coloured swatch and one named one, and a skuMap of two.
TEST_F(CsvLayoutTest, TaobaoPageRowColumnByColumn) {
  const std::string entry = "http://item.taobao.com/item.htm?id=520001";
  ServeGbkPage(entry, Page("taobao_item.html"));
  ServeGbkPage("http://dsc.taobaocdn.com/i1/520001/desc.js", "var desc='<p>纯棉</p>';");
  ServeGbkPage("http://detail.taobao.com/deliver.htm?id=520001",
               R"({"sendCity":"浙江杭州","postage":"10.00"})");
  const std::string thumb1 = "http://img.alicdn.com/bao/uploaded/i1/T1a.jpg";
  const std::string thumb2 = "http://img.alicdn.com/bao/uploaded/i2/T1b.png";
  const std::string swatch = "http://img.alicdn.com/bao/uploaded/i3/red.jpg";  // without "_30x30.jpg"
  site.ServePicture(thumb1, 40);
  site.ServePicture(thumb2, 50);
  site.ServePicture(swatch, 60);

  const std::time_t before = std::time(nullptr);
  const testing::CliRun run = Download({"--no-main", "--no-other", entry});
  const std::time_t after = std::time(nullptr);
  ASSERT_EQ(run.exitCode, 0) << run.out << run.err;

  const testing::CsvPackage package = ReadPackage(JobPath() + "/" + kComposite + ".csv", 1);
  ASSERT_EQ(package.rows.size(), 1u);
  const auto [province, city] = ProvinceAndCity("浙江杭州");
  ExpectColumns(package, 0, kFixedColumns);
  ExpectColumns(package, 0,
                {
                    // "(蓝)" reaches the page text as "(蓝\""; "..." and "-淘宝网" go, "/" is a blank.
                    {"title", "韩版T恤(蓝)女装 夏"},
                    {"cid", "50000671"},
                    {"seller_cids", "62345678"},
                    {"location_state", province},
                    {"location_city", city},
                    {"price", "25.00"},
                    {"description", "<p>纯棉</p>"},
                    {"cateProps", "1627207:28321;1627207:28320;"},
                    {"propAlias", "1627207:28321:蓝色;1627207:28320:红色;"},
                    {"skuProps", "38.00:12::1627207:28321;25.00:5::1627207:28320;"},
                    {"picture", MainName("T1a.jpg") + ":1:0:|;" + MainName("T1b.png") + ":1:1:|;" +
                                    PropertyName("red.jpg") + ":2:0:1627207:28320|;"},
                    {"picture_status", "2;2;2;"},  // a swatch among the three entries
                    {"inputValues", "Apple;型号;A1586;"},
                    {"outer_id", "A1586"},
                    {"num_id", "520001"},
                    {"user_name", "店主"},
                    {"subtitle", "新款韩版包邮"},
                });
  EXPECT_EQ(province, "浙江");
  EXPECT_EQ(city, "杭州");
  ExpectLocalTimeWithin(package.Field(0, "list_time"), before, after);
  ExpectLocalTimeWithin(package.Field(0, "modified"), before, after);

  const std::string pictures = JobPath() + "/" + kComposite + "/";
  EXPECT_EQ(testing::ListFiles(pictures), Sorted({MainName("T1a.jpg") + ".tbi", MainName("T1b.png") + ".tbi",
                                                  PropertyName("red.jpg") + ".tbi"}));
  EXPECT_EQ(testing::ReadFileBytes(pictures + MainName("T1a.jpg") + ".tbi"),
            testing::PictureBytes(thumb1, 40));
  EXPECT_EQ(testing::ReadFileBytes(pictures + MainName("T1b.png") + ".tbi"),
            testing::PictureBytes(thumb2, 50));
  EXPECT_EQ(testing::ReadFileBytes(pictures + PropertyName("red.jpg") + ".tbi"),
            testing::PictureBytes(swatch, 60));
}

// Layout A: region, "&yen;" price, "_50x50.jpg" thumbnails, swatches without
// pictures, a model without a brand, a plain nick, a "<p>" selling point.
TEST_F(CsvLayoutTest, TmallPageRowColumnByColumn) {
  const std::string entry = "http://detail.tmall.com/item.htm?id=42000001";
  ServeGbkPage(entry, Page("tmall_item.html"));
  ServeGbkPage("http://dsc.tmall.com/desc/42.htm", "<div>详情</div>");
  const std::vector<std::string> thumbs = {"http://img.alicdn.com/imgextra/i1/TB1x.jpg",
                                           "http://img.alicdn.com/imgextra/i2/TB2y.jpg",
                                           "http://img.alicdn.com/imgextra/i3/TB3z.jpg"};
  for (const std::string& thumb : thumbs) site.ServePicture(thumb, 30);

  const testing::CliRun run = Download({"--no-main", "--no-other", entry});
  ASSERT_EQ(run.exitCode, 0) << run.out << run.err;

  const testing::CsvPackage package = ReadPackage(JobPath() + "/" + kComposite + ".csv", 1);
  ASSERT_EQ(package.rows.size(), 1u);
  ExpectColumns(package, 0, kFixedColumns);
  ExpectColumns(package, 0,
                {
                    // The Tmall suffix goes before "." and "-" are touched.
                    {"title", "Apple 苹果 iPhone 6"},
                    {"cid", "1512"},
                    {"seller_cids", "63000001"},
                    {"location_state", "上海"},  // shorter than 4 bytes: itself for both
                    {"location_city", "上海"},
                    {"price", "99.00"},
                    {"description", "<div>详情</div>"},
                    {"cateProps", "20509:28315;20509:28314;"},
                    {"propAlias", "20509:28314:S;"},  // the second one has no name
                    {"skuProps", ""},
                    {"picture", MainName("TB1x.jpg") + ":1:0:|;" + MainName("TB2y.jpg") + ":1:1:|;" +
                                    MainName("TB3z.jpg") + ":1:2:|;"},
                    {"picture_status", "1;1;1;"},
                    {"inputValues", ";型号;X1;"},
                    {"outer_id", "X1"},
                    {"num_id", "42000001"},
                    {"user_name", "苹果旗舰店"},
                    {"subtitle", "正品行货"},
                });
  std::vector<std::string> names;
  for (const std::string& thumb : thumbs)
    names.push_back(MainName(thumb.substr(thumb.rfind('/') + 1)) + ".tbi");
  EXPECT_EQ(testing::ListFiles(JobPath() + "/" + kComposite), Sorted(names));
  for (const std::string& thumb : thumbs) EXPECT_EQ(site.RequestCount(thumb), 1) << thumb;
}

// Layout C on a 1688 offer: no "id=" in the entry, thumbnails ".64x64.jpg"
// whose file name is the stem without an extension, brand and skuMap
// ignored, the nick left encoded; the pictures go to the item's package
// folder of either kind.
TEST_F(CsvLayoutTest, OfferPageOf1688InBothKindsOfPackage) {
  const std::string entry = "http://detail.1688.com/offer/123.html";
  const std::vector<std::string> pictures = {"http://cbu01.alicdn.com/img/ibank/2014/101/11.jpg",
                                             "http://cbu01.alicdn.com/img/ibank/2014/202/22.jpg"};
  const std::vector<std::string> tbiNames = {MainName("11") + ".tbi", MainName("22") + ".tbi"};
  const auto [province, city] = ProvinceAndCity("浙江义乌");  // " 浙江 义乌 " without its blanks

  for (const bool independent : {false, true}) {
    SCOPED_TRACE(independent ? "independent" : "composite");
    std::filesystem::remove_all(save);
    std::filesystem::create_directory(save);
    ServeGbkPage(entry, Page("offer_1688.html"));
    for (const std::string& picture : pictures) site.ServePicture(picture, 25);

    std::vector<std::string> args = {"--no-main", "--no-other", entry};
    if (independent) args.insert(args.begin(), "--independent");
    const testing::CliRun run = Download(args);
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;

    // The package's pictures lie in the folder named like its file, beside it.
    const std::vector<std::string> files = JobFiles();
    const std::string csvName = (independent ? kIndependent : kComposite) + ".csv";
    const auto csv = std::find_if(files.begin(), files.end(), [&](const std::string& f) {
      return f == csvName || f.ends_with("_岚川淘图/" + csvName);
    });
    ASSERT_NE(csv, files.end()) << ::testing::PrintToString(files);
    const std::string folder = csv->substr(0, csv->size() - std::string(".csv").size()) + "/";
    EXPECT_EQ(independent, folder != kComposite + "/") << folder;
    EXPECT_EQ(files, Sorted({*csv, folder + tbiNames[0], folder + tbiNames[1]}));
    for (std::size_t i = 0; i < pictures.size(); ++i) {
      EXPECT_EQ(testing::ReadFileBytes(JobPath() + "/" + folder + tbiNames[i]),
                testing::PictureBytes(pictures[i], 25));
    }

    const testing::CsvPackage package = ReadPackage(JobPath() + "/" + *csv, 1);
    ASSERT_EQ(package.rows.size(), 1u);
    ExpectColumns(package, 0, kFixedColumns);
    ExpectColumns(package, 0,
                  {
                      {"title", "义乌小商品 收纳盒阿里巴巴"},
                      {"cid", "0"},
                      {"seller_cids", "0"},
                      {"location_state", province},
                      {"location_city", city},
                      {"price", "12.50"},
                      {"description", ""},
                      {"cateProps", "1:0"},
                      {"propAlias", ""},
                      {"skuProps", ""},
                      {"picture", MainName("11") + ":1:0:|;" + MainName("22") + ":1:1:|;"},
                      {"picture_status", "1;1;"},
                      {"inputValues", ""},
                      {"outer_id", "M-12"},
                      {"num_id", ""},
                      {"user_name", "%E5%BA%97"},
                      {"subtitle", ""},
                  });
  }
  EXPECT_EQ(province, "浙江");
  EXPECT_EQ(city, "义乌");
}

// Without a thumbnail list the picture column is what the swatches give,
// newest first, and the status follows the number of entries.
TEST_F(CsvLayoutTest, PageWithoutThumbnailsListsOnlyPropertyPictures) {
  struct Case {
    const char* name;
    std::string page;
    std::vector<std::pair<std::string, std::string>> swatches;  // served address, file name
    std::string picture, status;
  };
  const std::vector<Case> cases = {
      {"two swatches",
       R"(<title>T</title><ul>
<li data-value="1627207:1" title="黑"><a style="background:url(http://img.alicdn.com/p/black.jpg_40x40q90.jpg);"></a></li>
<li data-value="1627207:2" title="白"><a style="background:url(http://img.alicdn.com/p/white.png_30x30.jpg);"></a></li>
</ul>)",
       {{"http://img.alicdn.com/p/black.jpg", "black.jpg"},
        {"http://img.alicdn.com/p/white.png", "white.png"}},
       PropertyName("white.png") + ":2:0:1627207:2|;" + PropertyName("black.jpg") + ":2:0:1627207:1|;",
       "2;2;"},
      {"named swatches without pictures",
       R"(<title>T</title><ul><li data-value="1627207:1" title="黑"></li><li data-value="1627207:2"><span>白</span></li></ul>)",
       {},
       "",
       ""},
      {"no sale properties", "<title>T</title><p>x</p>", {}, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(save);
    std::filesystem::create_directory(save);
    const std::string entry = "http://item.taobao.com/item.htm?id=7";
    ServeGbkPage(entry, c.page);
    for (const auto& [address, name] : c.swatches) site.ServePicture(address, 20);

    const testing::CliRun run = Download({"--no-main", "--no-other", entry});
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    const testing::CsvPackage package = ReadPackage(JobPath() + "/" + kComposite + ".csv", 1);
    ASSERT_EQ(package.rows.size(), 1u);
    EXPECT_EQ(package.Field(0, "picture"), c.picture);
    EXPECT_EQ(package.Field(0, "picture_status"), c.status);
    std::vector<std::string> tbi;
    for (const auto& [address, name] : c.swatches) {
      tbi.push_back(PropertyName(name) + ".tbi");
      EXPECT_EQ(testing::ReadFileBytes(JobPath() + "/" + kComposite + "/" + tbi.back()),
                testing::PictureBytes(address, 20));
    }
    EXPECT_EQ(testing::ListFiles(JobPath() + "/" + kComposite), Sorted(tbi));
  }
}

// Two items of one composite package share file names: the later item lists
// them again, and what is stored already is not fetched again, whatever host
// the later item names.
TEST_F(CsvLayoutTest, PictureStoredByAnEarlierItemIsListedWithoutAFetch) {
  const std::string first = "http://item.taobao.com/item.htm?id=1";
  const std::string second = "http://item.taobao.com/item.htm?id=2";
  ServeGbkPage(first, R"(<title>A</title><ul><li class="tb-selected">
<img src="http://img.alicdn.com/x/a.jpg_60x60q90.jpg"><img src="http://img.alicdn.com/x/b.jpg_60x60q90.jpg"></li></ul>)");
  ServeGbkPage(second, R"(<title>B</title><ul><li class="tb-selected">
<img src="http://img.alicdn.com/x/a.jpg_60x60q90.jpg"><img src="http://img2.alicdn.com/y/b.jpg_60x60q90.jpg">
<img src="http://img.alicdn.com/x/c.jpg_60x60q90.jpg"></li></ul>)");
  for (const char* picture : {"http://img.alicdn.com/x/a.jpg", "http://img.alicdn.com/x/b.jpg",
                              "http://img2.alicdn.com/y/b.jpg", "http://img.alicdn.com/x/c.jpg"}) {
    site.ServePicture(picture, 15);
  }

  const testing::CliRun run = Download({"--no-main", "--no-other", first, second});
  ASSERT_EQ(run.exitCode, 0) << run.out << run.err;

  const testing::CsvPackage package = ReadPackage(JobPath() + "/" + kComposite + ".csv", 2);
  ASSERT_EQ(package.rows.size(), 2u);
  // Newest row first.
  EXPECT_EQ(package.Field(0, "num_id"), "2");
  EXPECT_EQ(package.Field(0, "picture"),
            MainName("a.jpg") + ":1:0:|;" + MainName("b.jpg") + ":1:1:|;" + MainName("c.jpg") + ":1:2:|;");
  EXPECT_EQ(package.Field(0, "picture_status"), "1;1;1;");
  EXPECT_EQ(package.Field(1, "num_id"), "1");
  EXPECT_EQ(package.Field(1, "picture"), MainName("a.jpg") + ":1:0:|;" + MainName("b.jpg") + ":1:1:|;");
  EXPECT_EQ(package.Field(1, "picture_status"), "1;1;");

  EXPECT_EQ(site.RequestCount("http://img.alicdn.com/x/a.jpg"), 1);
  EXPECT_EQ(site.RequestCount("http://img.alicdn.com/x/b.jpg"), 1);
  EXPECT_EQ(site.RequestCount("http://img2.alicdn.com/y/b.jpg"), 0);
  EXPECT_EQ(site.RequestCount("http://img.alicdn.com/x/c.jpg"), 1);
  const std::string pictures = JobPath() + "/" + kComposite + "/";
  EXPECT_EQ(testing::ListFiles(pictures),
            Sorted({MainName("a.jpg") + ".tbi", MainName("b.jpg") + ".tbi", MainName("c.jpg") + ".tbi"}));
  EXPECT_EQ(testing::ReadFileBytes(pictures + MainName("b.jpg") + ".tbi"),
            testing::PictureBytes("http://img.alicdn.com/x/b.jpg", 15));
}

}  // namespace
}  // namespace taotu
