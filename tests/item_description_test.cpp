// taotu-cli on an item's description: the three ways a page names it, the
// pictures it names, and 详情.html with links to the local copies.
#include <algorithm>
#include <filesystem>

#include "cli_test_fixture.h"

namespace taotu {
namespace {

using ItemDescriptionTest = testing::CliTest;
using testing::Answer;
using testing::PictureBytes;
using testing::ReadFileBytes;

// How a page names its description: markup before and after the address.
struct Source {
  const char* name;
  const char* before;
  const char* after;
};
const Source kDynamicScript = {"g_config.dynamicScript", "<script>g_config.dynamicScript(\"", "\")</script>"};
const Source kDescUrl = {"descUrl", "<script>var g_config = {\"descUrl\":\"", "\",\"sellerId\":7};</script>"};
const Source kTfsUrl = {"data-tfs-url", "<div id=\"J_Desc\" data-tfs-url=\"", "\"></div>"};

std::string Page(const Source& source, const std::string& descAddress) {
  return "<html><head><title>纯棉T恤</title></head><body>" + std::string(source.before) + descAddress +
         source.after + "</body></html>";
}

// The description as the sites send it: HTML inside a script assignment.
std::string Description(const std::vector<std::string>& pictures) {
  std::string html = "var desc='<p>";
  for (const std::string& picture : pictures) html += "<img src=\"" + picture + "\">";
  return html + "</p>\\';";
}

std::vector<std::string> UrlsFrom(const std::vector<testing::RecordedRequest>& requests,
                                  std::size_t first = 0) {
  std::vector<std::string> urls;
  for (std::size_t i = first; i < requests.size(); ++i) urls.push_back(requests[i].url);
  return urls;
}

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

std::string FileLink(const std::string& folder, const std::string& name) {
  return "file://" + std::filesystem::canonical(folder).string() + "/" + name;
}

const std::vector<std::string> kIsolated = {"--no-main", "--no-other", "--no-csv"};

std::vector<std::string> Args(std::vector<std::string> entries, std::vector<std::string> flags = kIsolated) {
  flags.insert(flags.end(), entries.begin(), entries.end());
  return flags;
}

TEST_F(ItemDescriptionTest, EachSourceFetchesItsDescriptionThenItsPicturesInOrder) {
  const std::vector<std::string> fromA0 = {"A0.jpg", "A1.png", "A2.gif", "A3.jpg", "A4.jpg", "A5.jpg",
                                           "A6.jpg", "A7.jpg", "A8.jpg", "A9.jpg", "B0.jpg"};
  const std::vector<std::string> fromA1 = {"A1.jpg", "A2.png", "A3.gif", "A4.jpg",  "A5.jpg", "A6.jpg",
                                           "A7.jpg", "A8.jpg", "A9.jpg", "A10.jpg", "B1.jpg"};
  const struct {
    Source source;
    std::vector<std::string> names;
  } cases[] = {{kDynamicScript, fromA0}, {kDescUrl, fromA0}, {kTfsUrl, fromA1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source.name);
    std::filesystem::remove_all(save);
    std::filesystem::create_directory(save);
    const std::string tag = std::to_string(&c - cases);
    const std::string item = "http://item.taobao.com/item.htm?id=53100" + tag;
    const std::string desc = "http://desc.alicdn.com/i" + tag + "/desc";
    std::vector<std::string> pictures;
    for (int i = 1; i <= 11; ++i) {
      const char* extension = i == 2 ? ".png" : i == 3 ? ".gif" : ".jpg";
      pictures.push_back("http://img.alicdn.com/d" + tag + "/p" + std::to_string(i) + extension);
      site.ServePicture(pictures.back(), 40 + i);
    }
    // A link that names no picture takes no name.
    std::string description = Description(pictures);
    description.insert(description.find("<img"), "<a href=\"http://shop.taobao.com/\">店铺</a>");
    ServeGbkPage(item, Page(c.source, desc));
    ServeGbkPage(desc, description);

    const std::size_t before = site.Requests().size();
    const testing::CliRun run = Download(Args({item}));
    ASSERT_EQ(run.exitCode, 0) << run.out;

    std::vector<std::string> expectedUrls = {item, desc};
    expectedUrls.insert(expectedUrls.end(), pictures.begin(), pictures.end());
    EXPECT_EQ(UrlsFrom(site.Requests(), before), expectedUrls);
    const std::string folder = JobPath() + "/53100" + tag + "_岚川淘图/宝贝描述";
    std::vector<std::string> files = Sorted(c.names);
    files.push_back("详情.html");
    EXPECT_EQ(testing::ListFiles(folder), files);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
      EXPECT_EQ(ReadFileBytes(folder + "/" + c.names[i]), PictureBytes(pictures[i], 41 + i)) << c.names[i];
    }
  }
}

TEST_F(ItemDescriptionTest, PageWithoutAFetchableDescriptionFetchesOnlyThePage) {
  const struct {
    const char* what;
    const char* page;
  } cases[] = {
      {"no source", "<html><title>T</title><body><img src=\"http://img.alicdn.com/x.jpg\"></body></html>"},
      {"protocol-relative descUrl", "{\"descUrl\":\"//desc.alicdn.com/i/x\"}"},
      {"ftp script", "g_config.dynamicScript(\"ftp://desc.alicdn.com/x.js\")"},
      {"descUrl without its cut", "var descUrl = 'http://desc.alicdn.com/i/y';"},
      {"unquoted data-tfs-url", "<div data-tfs-url=http://desc.alicdn.com/i/z></div>"},
      {"data-tfs-url ending the page", "<div data-tfs-url=\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(save);
    std::filesystem::create_directory(save);
    const std::string item = "http://item.taobao.com/item.htm?id=5320" + std::to_string(&c - cases);
    ServeGbkPage(item, c.page);
    const std::size_t before = site.Requests().size();
    const testing::CliRun run = Download(Args({item}));
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(UrlsFrom(site.Requests(), before), std::vector<std::string>{item});
    EXPECT_EQ(JobFiles(), std::vector<std::string>{});
  }
}

// Later sources find the names of earlier ones taken, and start from the
// 详情.html that source 1 saved.
TEST_F(ItemDescriptionTest, SeveralSourcesOnOnePageRunInTurn) {
  const std::string item = "http://item.taobao.com/item.htm?id=533001";
  const std::string desc[] = {"http://desc.alicdn.com/i/1.js", "http://desc.alicdn.com/i/2",
                              "http://desc.alicdn.com/i/3"};
  const std::string p1 = "http://img.alicdn.com/s/p1.jpg", p2 = "http://img.alicdn.com/s/p2.jpg",
                    p2b = "http://img.alicdn.com/s/p2b.jpg", p3 = "http://img.alicdn.com/s/p3.jpg",
                    p4 = "http://img.alicdn.com/s/p4.gif";
  for (const std::string& picture : {p1, p2, p2b, p3, p4}) site.ServePicture(picture, 30);
  ServeGbkPage(item, Page(kDynamicScript, desc[0]) + Page(kDescUrl, desc[1]) + Page(kTfsUrl, desc[2]));
  ServeGbkPage(desc[0], Description({p1}));
  ServeGbkPage(desc[1], Description({p2, p2b}));
  ServeGbkPage(desc[2], Description({p3, p4}));

  ASSERT_EQ(Download(Args({item})).exitCode, 0);
  // Source 2: p2 would be A0 again, p2b is still its second picture.
  // Source 3: p3 would be A1 again, and a skipped name does not move its
  // number on, so p4 is A1 too.
  EXPECT_EQ(UrlsFrom(site.Requests()),
            (std::vector<std::string>{item, desc[0], p1, desc[1], p2b, desc[2], p4}));
  const std::string folder = JobPath() + "/533001_岚川淘图/宝贝描述";
  EXPECT_EQ(testing::ListFiles(folder),
            (std::vector<std::string>{"A0.jpg", "A1.gif", "A1.jpg", "详情.html"}));
  EXPECT_EQ(ReadFileBytes(folder + "/A1.jpg"), PictureBytes(p2b, 30));
  EXPECT_EQ(ReadFileBytes(folder + "/A1.gif"), PictureBytes(p4, 30));
  EXPECT_EQ(ReadFileBytes(folder + "/详情.html"),
            platform::Utf8ToGbk("<p><img src=\"" + FileLink(folder, "A0.jpg") + "\"></p>"));
}

// The second entry names the same item, so its folder is found again with
// A0.jpg in it.
TEST_F(ItemDescriptionTest, DetailPageLinksOnlyThePicturesDownloadedThisTime) {
  const std::string first = "http://item.taobao.com/item.htm?id=534001";
  const std::string second = "http://item.taobao.com/item.htm?id=534001&spm=a1z10";
  const std::string kept = "http://img.alicdn.com/d/kept.jpg", fresh = "http://img.alicdn.com/d/new.jpg",
                    gone = "http://img.alicdn.com/d/gone.jpg", last = "http://img.alicdn.com/d/last.png";
  ServeGbkPage(first, Page(kDynamicScript, "http://desc.alicdn.com/i/first.js"));
  ServeGbkPage("http://desc.alicdn.com/i/first.js", Description({"http://img.alicdn.com/d/old.jpg"}));
  site.ServePicture("http://img.alicdn.com/d/old.jpg", 20);
  ServeGbkPage(second, Page(kDynamicScript, "http://desc.alicdn.com/i/second.js"));
  const std::string description = R"(var desc='<p>纯棉面料，舒适透气</p>\<p><img src=")" + kept +
                                  R"("><img src=")" + fresh + R"("></p>\<p><img src=")" + gone +
                                  R"("><img src=")" + last + R"("><a href=")" + fresh + R"(">大图</a></p>';)";
  ServeGbkPage("http://desc.alicdn.com/i/second.js", description);
  site.ServePicture(kept, 21);
  site.ServePicture(fresh, 22);
  site.Serve(gone, Answer(404, "gone"));
  site.ServePicture(last, 23);

  const testing::CliRun run = Download(Args({first, second}));
  EXPECT_EQ(run.exitCode, 1);
  const auto lines = run.OutLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "下载失败：" + gone + " HTTP 404"), lines.end()) << run.out;

  const std::string folder = JobPath() + "/534001_岚川淘图/宝贝描述";
  // kept is A0 (present); gone keeps its number; fresh named twice is
  // fetched twice but the page already links its first copy.
  EXPECT_EQ(testing::ListFiles(folder),
            (std::vector<std::string>{"A0.jpg", "A1.jpg", "A3.png", "A4.jpg", "详情.html"}));
  EXPECT_EQ(ReadFileBytes(folder + "/A0.jpg"), PictureBytes("http://img.alicdn.com/d/old.jpg", 20));
  EXPECT_EQ(ReadFileBytes(folder + "/A3.png"), PictureBytes(last, 23));
  EXPECT_EQ(site.RequestCount(kept), 0);
  EXPECT_EQ(site.RequestCount(fresh), 2);
  const std::string expected = "<p>纯棉面料，舒适透气</p><p><img src=\"" + kept + "\"><img src=\"" +
                               FileLink(folder, "A1.jpg") + "\"></p><p><img src=\"" + gone +
                               "\"><img src=\"" + FileLink(folder, "A3.png") + "\"><a href=\"" +
                               FileLink(folder, "A1.jpg") + "\">大图</a></p>";
  EXPECT_EQ(ReadFileBytes(folder + "/详情.html"), platform::Utf8ToGbk(expected));
}

// Source 1 rewrites 详情.html from the fresh description; sources 2 and 3
// go on from the saved one, whose links are already local.
TEST_F(ItemDescriptionTest, SameItemTwiceInAJobDownloadsNothingAgain) {
  const struct {
    Source source;
    std::vector<std::string> names;
    bool savedPageKept;
  } cases[] = {
      {kDynamicScript, {"A0.jpg", "A1.jpg"}, false},
      {kDescUrl, {"A0.jpg", "A1.jpg"}, true},
      {kTfsUrl, {"A1.jpg", "A2.jpg"}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source.name);
    std::filesystem::remove_all(save);
    std::filesystem::create_directory(save);
    const std::string tag = std::to_string(&c - cases);
    const std::string item = "http://item.taobao.com/item.htm?id=53500" + tag;
    const std::string desc = "http://desc.alicdn.com/twice/" + tag;
    const std::vector<std::string> pictures = {"http://img.alicdn.com/t" + tag + "/a.jpg",
                                               "http://img.alicdn.com/t" + tag + "/b.jpg"};
    for (const std::string& picture : pictures) site.ServePicture(picture, 25);
    ServeGbkPage(item, Page(c.source, desc));
    ServeGbkPage(desc, Description(pictures));

    ASSERT_EQ(Download(Args({item, item})).exitCode, 0);
    EXPECT_EQ(site.RequestCount(desc), 2);
    for (const std::string& picture : pictures) EXPECT_EQ(site.RequestCount(picture), 1) << picture;
    const std::string folder = JobPath() + "/53500" + tag + "_岚川淘图/宝贝描述";
    EXPECT_EQ(testing::ListFiles(folder), (std::vector<std::string>{c.names[0], c.names[1], "详情.html"}));
    const std::vector<std::string> links =
        c.savedPageKept ? std::vector<std::string>{FileLink(folder, c.names[0]), FileLink(folder, c.names[1])}
                        : pictures;
    EXPECT_EQ(ReadFileBytes(folder + "/详情.html"),
              platform::Utf8ToGbk("<p><img src=\"" + links[0] + "\"><img src=\"" + links[1] + "\"></p>"));
  }
}

// Without a folder per item every item of the job shares the job folder.
TEST_F(ItemDescriptionTest, FlatJobKeepsLastPiecesAndWritesNoDetailPage) {
  const std::string one = "http://item.taobao.com/item.htm?id=536001";
  const std::string two = "http://detail.tmall.com/item.htm?id=536002";
  const std::string a = "http://img.alicdn.com/f/a.jpg", b = "http://img.alicdn.com/f/b.jpg?v=2",
                    otherA = "http://gd1.alicdn.com/g/a.jpg", c = "http://gd1.alicdn.com/g/c.gif";
  for (const std::string& picture : {a, b, otherA, c}) site.ServePicture(picture, 15);
  ServeGbkPage(one, Page(kDescUrl, "http://desc.alicdn.com/flat/1"));
  ServeGbkPage("http://desc.alicdn.com/flat/1", Description({a, b, a}));
  ServeGbkPage(two, Page(kTfsUrl, "http://desc.alicdn.com/flat/2"));
  ServeGbkPage("http://desc.alicdn.com/flat/2", Description({otherA, c}));

  ASSERT_EQ(Download(Args({one, two}, {"--flat", "--no-main", "--no-other", "--no-csv"})).exitCode, 0);
  EXPECT_EQ(JobFiles(), (std::vector<std::string>{"a.jpg", "b.jpg?v=2", "c.gif"}));
  EXPECT_EQ(ReadFileBytes(JobPath() + "/a.jpg"), PictureBytes(a, 15));
  EXPECT_EQ(site.RequestCount(a), 1);
  EXPECT_EQ(site.RequestCount(otherA), 0);
}

}  // namespace
}  // namespace taotu

namespace taotu {
namespace {

// The second listing's description fails to arrive: the detail page saved
// by the first stays as it was, its local links intact.
TEST_F(ItemDescriptionTest, FailedDescriptionLeavesTheSavedDetailPage) {
  const std::string first = "http://item.taobao.com/item.htm?id=536001";
  const std::string again = first + "&spm=2";
  ServeGbkPage(first, Page(kDynamicScript, "http://desc.alicdn.com/ok"));
  ServeGbkPage(again, Page(kDynamicScript, "http://desc.alicdn.com/gone"));
  ServeGbkPage("http://desc.alicdn.com/ok", Description({"http://img.alicdn.com/k/a.jpg"}));
  site.Serve("http://desc.alicdn.com/gone", Answer(404, "gone"));
  site.ServePicture("http://img.alicdn.com/k/a.jpg", 25);

  const testing::CliRun run = Download(Args({first, again}));
  EXPECT_EQ(run.exitCode, 1);
  const std::string folder = JobPath() + "/536001_岚川淘图/宝贝描述";
  EXPECT_EQ(ReadFileBytes(folder + "/详情.html"),
            platform::Utf8ToGbk("<p><img src=\"" + FileLink(folder, "A0.jpg") + "\"></p>"));
}

}  // namespace
}  // namespace taotu
