// taotu-cli on item pages: the item's folder, its record file and its main
// and property pictures.
#include "cli_test_fixture.h"

namespace taotu {
namespace {

using ItemPageTest = testing::CliTest;
using testing::Answer;

const std::string kItem = "http://item.taobao.com/item.htm?id=520001";

// Thumbnails in the shapes the sites use, and one address that holds both
// ".jpg" and ".png".
const char* const kTaobaoPage = R"(<html><head><title>夏季连衣裙/新款-淘宝网</title></head><body>
<ul id="J_UlThumb"><li class="tb-selected"><img src="http://img.alicdn.com/bao/a.jpg_60x60q90.jpg"></li>
<li><img src="http://img.alicdn.com/bao/b.png_50x50.jpg"></li>
<li><img src="http://img.alicdn.com/bao/c.jpg?fmt=.png"></li></ul>
<a href="http://item.taobao.com/shop.htm">shop</a>
</body></html>)";

const char* const kPictures[] = {"http://img.alicdn.com/bao/a.jpg", "http://img.alicdn.com/bao/b.png",
                                 "http://img.alicdn.com/bao/c.jpg?fmt=.png"};

class ItemPageFixture : public ItemPageTest {
 protected:
  ItemPageFixture() {
    ServeGbkPage(kItem, kTaobaoPage);
    for (const char* picture : kPictures) site.ServePicture(picture, 50);
  }
};

TEST_F(ItemPageFixture, ItemFolderRecordFileAndNumberedPictures) {
  const testing::CliRun run = Download({"--no-detail", "--no-other", kItem});
  ASSERT_EQ(run.exitCode, 0) << run.out;
  const std::string item = JobPath() + "/520001_岚川淘图";
  EXPECT_EQ(testing::ReadFileBytes(item + "/淘图记录.txt"),
            platform::Utf8ToGbk("夏季连衣裙 新款\r\n") + kItem);
  // One counter for all extensions; the last address is taken twice.
  EXPECT_EQ(testing::ListFiles(item + "/主图及属性图"),
            (std::vector<std::string>{"1.jpg", "2.png", "3.jpg", "4.png"}));
  EXPECT_EQ(testing::ReadFileBytes(item + "/主图及属性图/2.png"), testing::PictureBytes(kPictures[1], 50));
  EXPECT_EQ(site.RequestCount(kPictures[2]), 2);
  EXPECT_EQ(run.OutLines().back(), "（1/1）全部下载完毕！");
}

TEST_F(ItemPageFixture, TitleJoinsTheFolderName) {
  ASSERT_EQ(Download({"--no-detail", "--no-other", "--title", kItem}).exitCode, 0);
  EXPECT_TRUE(std::filesystem::is_directory(JobPath() + "/520001_岚川淘图_夏季连衣裙 新款/主图及属性图"));
}

TEST_F(ItemPageFixture, SecondListingOfAnItemSkipsNamesWithoutUsingUpNumbers) {
  const testing::CliRun run = Download({"--no-detail", "--no-other", kItem, kItem});
  ASSERT_EQ(run.exitCode, 0) << run.out;
  // Second pass: a -> 1.jpg is there and uses no number, so b -> 1.png,
  // c -> 2.jpg and 3.png are new.
  EXPECT_EQ(testing::ListFiles(JobPath() + "/520001_岚川淘图/主图及属性图"),
            (std::vector<std::string>{"1.jpg", "1.png", "2.jpg", "2.png", "3.jpg", "3.png", "4.png"}));
  EXPECT_EQ(site.RequestCount(kPictures[0]), 1);
}

TEST_F(ItemPageFixture, FlatJobKeepsLastPiecesInTheJobFolderAndNoRecord) {
  ServeGbkPage("http://item.taobao.com/item.htm?id=520002", kTaobaoPage);
  const testing::CliRun run =
      Download({"--flat", "--no-other", kItem, "http://item.taobao.com/item.htm?id=520002"});
  ASSERT_EQ(run.exitCode, 0) << run.out;
  EXPECT_EQ(JobFiles(), (std::vector<std::string>{"a.jpg", "b.png", "c.jpg?fmt=.png"}));
  for (const char* picture : kPictures) EXPECT_EQ(site.RequestCount(picture), 1) << picture;
}

TEST_F(ItemPageFixture, PageFetchedTwiceWithOtherPicturesAndPicturesInPageOrder) {
  ASSERT_EQ(Download({"--no-detail", kItem}).exitCode, 0);
  std::vector<std::string> urls;
  for (const auto& request : site.Requests()) urls.push_back(request.url);
  EXPECT_EQ(urls,
            (std::vector<std::string>{kItem, kPictures[0], kPictures[1], kPictures[2], kPictures[2], kItem}));
}

TEST_F(ItemPageTest, AddressWithoutIdGetsADateTimeFolder) {
  const std::string offer = "http://detail.1688.com/offer/123.html";
  ServeGbkPage(offer, "<title>T</title>");
  ASSERT_EQ(Download({"--no-detail", "--no-other", offer}).exitCode, 0);
  const std::vector<std::string> files = JobFiles();
  ASSERT_EQ(files.size(), 1u);
  const std::string folder = files[0].substr(0, files[0].find('/'));
  ASSERT_TRUE(folder.ends_with("_岚川淘图")) << folder;
  const std::string digits = folder.substr(0, folder.size() - std::string("_岚川淘图").size());
  EXPECT_GE(digits.size(), 9u);
  EXPECT_EQ(digits.find_first_not_of("0123456789"), std::string::npos) << folder;
}

TEST_F(ItemPageTest, IdsFromTheAddressStayInsideTheJobFolder) {
  for (const std::string id : {"../../x", "a\\b", ".."}) {
    const std::string entry = "http://item.taobao.com/item.htm?id=" + id;
    ServeGbkPage(entry, "<title>T</title><img src=\"http://img.alicdn.com/p.jpg\">");
    site.ServePicture("http://img.alicdn.com/p.jpg", 10);
    std::filesystem::remove_all(save);
    std::filesystem::create_directory(save);
    ASSERT_EQ(Download({"--no-detail", "--no-other", entry}).exitCode, 0) << id;
    for (const std::string& file : testing::ListFiles(dir.Path())) {
      EXPECT_TRUE(file.starts_with("save/" + JobFolder() + "/")) << id << ": " << file;
    }
    EXPECT_EQ(JobFiles().size(), 2u) << id;  // record file and 1.jpg, inside one item folder
  }
}

TEST_F(ItemPageTest, FailedPageStillRunsTheStepsAndHandsBack) {
  site.Serve(kItem, Answer(404, "gone"));
  const testing::CliRun run = Download({kItem});
  EXPECT_EQ(run.exitCode, 1);
  const auto lines = run.OutLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "下载失败：" + kItem + " HTTP 404"),
            2);  // once more for the style sheets
  EXPECT_EQ(lines.back(), "（1/1）全部下载完毕！");
  EXPECT_EQ(testing::ReadFileBytes(JobPath() + "/520001_岚川淘图/淘图记录.txt"), "\r\n" + kItem);
}

}  // namespace
}  // namespace taotu
