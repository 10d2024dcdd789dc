// How the time per item of one job evolves while the composite CSV package
// grows: N item pages from a fake shop, real files in a temporary folder.
// Reports figures only.
//
//   taotu_bench_composite [items=5000] [block=500]
//
// The save folder is made under $TMPDIR (default /tmp) and removed at the end.
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "fake_window.h"
#include "job/dispatcher.h"
#include "platform/codepage.h"
#include "platform/file_system.h"
#include "platform/http.h"
#include "text/gbk_literal.h"

namespace {

using namespace taotu;
using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

constexpr std::string_view kItemPrefix = "http://item.taobao.com/item.htm?id=";
constexpr std::string_view kDescPrefix = "http://desc.alicdn.com/";
constexpr std::string_view kCounterPrefix = "http://count.tbcdn.cn/counter6?keys=";
constexpr std::string_view kPicturePrefix = "http://img.alicdn.com/";

// The id after a prefix, up to the first character that is not a digit.
std::optional<long> IdAfter(std::string_view address, std::string_view prefix) {
  if (!address.starts_with(prefix)) return std::nullopt;
  address.remove_prefix(prefix.size());
  long id = 0;
  const auto [end, ec] = std::from_chars(address.data(), address.data() + address.size(), id);
  if (ec != std::errc() || end == address.data()) return std::nullopt;
  return id;
}

// An old-style Taobao item page (description named by g_config.dynamicScript),
// with every marker the CSV export reads.
std::string ItemPage(long id) {
  const std::string n = std::to_string(id);
  const std::string img =
      std::string(kPicturePrefix) + "bao/uploaded/i" + std::to_string(id % 4 + 1) + "/" + n;
  std::string p;
  p += "<!DOCTYPE html><html><head><meta charset=\"gbk\"><title>2024夏季新款纯棉短袖T恤 男士宽松圆领体恤 款" +
       n + "-淘宝网</title>\r\n";
  p += "<link rel=\"stylesheet\" href=\"http://g.alicdn.com/tb/item/1.0/item.css\"></head><body>\r\n";
  p += "<div class=\"tb-detail-hd\"><h3 class=\"tb-main-title\">2024夏季新款纯棉短袖T恤 款" + n + "</h3>\r\n";
  p += "<p class=\"tb-subtitle\">精梳棉 透气舒适 不起球</p></div>\r\n";
  p += "<a href=\"http://list.taobao.com/itemlist/nanzhuang.htm?cat=16%5f50000436&amp;s=0\">男装</a>\r\n";
  p += "<script>var g_shop={shopId=72658103;sellerId=2200700600};</script>\r\n";
  p += "<strong id=\"J_StrPrice\"><em class=\"tb-rmb\">&yen;</em><em class=\"tb-rmb-num\">59.00 - "
       "79.00</em></strong>\r\n";
  p += "<div class=\"tb-shop-seller\"><a class=\"tb-seller-name\" "
       "data-nick=\"纯棉衣舍旗舰店\">纯棉衣舍旗舰店</a></div>\r\n";
  p += "<ul id=\"J_UlThumb\" class=\"tb-thumb\"><li class=\"tb-selected\"><a href=\"#\"><img src=\"" + img +
       "/TB1a" + n + ".jpg_60x60q90.jpg\"></a></li>\r\n";
  p += "<li><a href=\"#\"><img src=\"" + img + "/TB1b" + n + ".jpg_60x60q90.jpg\"></a></li></ul>\r\n";
  p += "<ul class=\"attributes-list\"><li>品牌:&nbsp;衣舍</li><li>型号:&nbsp;TX" + n +
       "</li><li>面料:&nbsp;纯棉</li></ul>\r\n";
  p += "<dl class=\"J_Prop tb-prop\"><dt>颜色分类</dt><dd><ul data-property=\"颜色分类\">\r\n";
  p += "<li data-value=\"1627207:28341\" title=\"黑色\"><a href=\"#\" style=\"background:url(" + img +
       "/TB2c" + n + ".jpg_30x30.jpg) center no-repeat;\"><span>黑色</span></a></li>\r\n";
  p += "</ul></dd></dl><dl class=\"J_Prop tb-prop\"><dt>尺码</dt><dd><ul data-property=\"尺码\">\r\n";
  p += "<li data-value=\"20509:28315\"><a href=\"#\"><span>M</span></a></li>\r\n";
  p += "<li data-value=\"20509:28316\"><a href=\"#\"><span>L</span></a></li></ul></dd></dl>\r\n";
  p += "<script>g_config.dynamicScript(\"" + std::string(kDescPrefix) + n + "\");\r\n";
  p += "{var b=\"" + std::string(kCounterPrefix) + n + "\";}\r\n";
  p += "Hub.config.set('sku',{valItemInfo:{skuMap:{\";1627207:28341;20509:28315;\":{\"price\":\"59.00\","
       "\"skuId\":\"3" +
       n + "1\",\"stock\":31},\";1627207:28341;20509:28316;\":{\"price\":\"79.00\",\"skuId\":\"3" + n +
       "2\",\"stock\":17}}}});</script>\r\n";
  p += "</body></html>\r\n";
  return platform::Utf8ToGbk(p);
}

// The description as the site sends it: HTML in a script assignment, two
// pictures and one link for the hyperlink removal.
std::string Description(long id) {
  const std::string n = std::to_string(id);
  const std::string img = std::string(kPicturePrefix) + "imgextra/i" + std::to_string(id % 4 + 1) + "/" + n;
  std::string d = "var desc='<p style=\"text-align:center\"><img src=\"" + img + "/TB3d" + n +
                  ".jpg\" align=\"absmiddle\"><img src=\"" + img + "/TB3e" + n +
                  ".jpg\" align=\"absmiddle\"></p>";
  d += "<p>本款T恤采用精梳棉面料，柔软亲肤，吸湿透气。洗涤请反面冷水手洗，勿暴晒。</p>";
  d += "<p><a href=\"http://shop72658103.taobao.com/\" target=\"_blank\">进店看更多新款</a></p>';";
  return platform::Utf8ToGbk(d);
}

// A few hundred bytes that start and end like a JPEG.
std::string Picture(std::string_view address) {
  const std::size_t size = 300 + std::hash<std::string_view>{}(address) % 300;
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + size) & 0xFF);
  bytes[0] = '\xFF', bytes[1] = '\xD8', bytes[2] = '\xFF', bytes[3] = '\xE0';
  bytes[size - 2] = '\xFF', bytes[size - 1] = '\xD9';
  return bytes;
}

// The shop's server, in memory and stateless (requests may run at once).
class FakeShop final : public platform::HttpClient {
 public:
  platform::HttpResult Get(const std::string& address) override {
    platform::HttpResult result;
    result.status = 200;
    if (const auto id = IdAfter(address, kItemPrefix)) {
      result.body = ItemPage(*id);
    } else if (const auto id = IdAfter(address, kDescPrefix)) {
      result.body = Description(*id);
    } else if (address.starts_with(kCounterPrefix)) {
      result.body = platform::Utf8ToGbk("jsonp1({\"sendCity\":\"浙江杭州\",\"ICCP\":1});");
    } else if (address.starts_with(kPicturePrefix)) {
      result.body = Picture(address);
    } else {
      result.status = 404;
      result.error = "HTTP 404";
    }
    return result;
  }
};

// Forwards to the native file system and meters the composite package's
// writes. Only one worker runs at a time and the hand-offs go through the
// window's lock and a thread join, so the fields need no lock of their own.
class MeteredFiles final : public platform::FileSystem {
 public:
  struct PackageWrite {
    Clock::duration assemble;  // from the item's previous file call: row tail, conversion, file text
    Clock::duration write;     // the WriteFile call itself (temp file, write, rename)
    std::size_t bytes;
    Clock::time_point done;  // when the WriteFile call returned
  };

  explicit MeteredFiles(platform::PathCodec& codec) : native_(codec) {}

  bool MakeDirectory(const std::string& path) override {
    return Metered([&] { return native_.MakeDirectory(path); });
  }
  bool IsFile(const std::string& path) override {
    return Metered([&] { return native_.IsFile(path); });
  }
  std::optional<std::string> ReadFile(const std::string& path) override {
    return Metered([&] { return native_.ReadFile(path); });
  }
  std::string NativePath(const std::string& path) override {
    return Metered([&] { return native_.NativePath(path); });
  }
  bool WriteFile(const std::string& path, std::string_view bytes) override {
    const Clock::time_point start = Clock::now();
    const bool ok = native_.WriteFile(path, bytes);
    const Clock::time_point done = Clock::now();
    ++writes_;
    writtenBytes_ += bytes.size();
    if (path.ends_with(PackageName()))
      packageWrites.push_back({start - lastReturn_, done - start, bytes.size(), done});
    lastReturn_ = done;
    return ok;
  }

  std::vector<PackageWrite> packageWrites;
  long Writes() const { return writes_; }
  unsigned long long WrittenBytes() const { return writtenBytes_; }

 private:
  static const std::string& PackageName() {
    using namespace text;
    return "岚川淘图CSV复合数据包.csv"_gbk;
  }

  template <class F>
  std::invoke_result_t<F> Metered(F f) {
    auto result = f();
    lastReturn_ = Clock::now();
    return result;
  }

  platform::NativeFileSystem native_;
  Clock::time_point lastReturn_ = Clock::now();
  long writes_ = 0;
  unsigned long long writtenBytes_ = 0;
};

// The fake window seen through a stamp at every arming of the dispatcher
// timer: the start's arming, then one at the end of every item.
class StampingWindow final : public job::MainWindowPort {
 public:
  explicit StampingWindow(testing::FakeWindow& inner) : w_(inner) {}

  std::vector<Clock::time_point> armed;

  bool IsOn(job::Option option) override { return w_.IsOn(option); }
  std::string SaveFolder() override { return w_.SaveFolder(); }
  std::string AddressList() override { return w_.AddressList(); }
  void SetAddressList(const std::string& text) override { w_.SetAddressList(text); }
  void SetAddressListEnabled(bool enabled) override { w_.SetAddressListEnabled(enabled); }
  void SetStatus(const std::string& text) override { w_.SetStatus(text); }
  void SetStartButtonCaption(const std::string& caption) override { w_.SetStartButtonCaption(caption); }
  void SetStartButtonEnabled(bool enabled) override { w_.SetStartButtonEnabled(enabled); }
  void SetProgress(int position) override { w_.SetProgress(position); }
  int Progress() override { return w_.Progress(); }
  void SetCounter(const std::string& text) override { w_.SetCounter(text); }
  void AppendDownloadLog(const std::string& text) override { w_.AppendDownloadLog(text); }
  void AppendCssLog(const std::string& text) override { w_.AppendCssLog(text); }
  void SetScratchText(const std::string& text) override { w_.SetScratchText(text); }
  std::string ScratchText() override { return w_.ScratchText(); }
  void ShowMessage(const std::string& text) override { w_.ShowMessage(text); }
  void ReportFailedTransfers(int count) override { w_.ReportFailedTransfers(count); }
  void SetDispatcherTimer(int period) override {
    if (period != 0) {
      // Stamped before the inner window wakes the dispatcher, so the stamp
      // is in place before the next tick reads anything.
      std::lock_guard lock(mutex_);
      armed.push_back(Clock::now());
    }
    w_.SetDispatcherTimer(period);
  }

 private:
  testing::FakeWindow& w_;
  std::mutex mutex_;
};

std::optional<long> Argument(const char* text) {
  long value = 0;
  const std::string_view s(text);
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec != std::errc() || end != s.data() + s.size() || value <= 0) return std::nullopt;
  return value;
}

std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string a, b, c;
  if (!(in >> a >> b >> c)) return "?";
  return a + " " + b + " " + c;
}

struct FolderCount {
  long files = 0;
  long folders = 0;
  unsigned long long bytes = 0;
};

FolderCount CountTree(const std::filesystem::path& root) {
  FolderCount count;
  for (const auto& e : std::filesystem::recursive_directory_iterator(root)) {
    if (e.is_directory()) {
      ++count.folders;
    } else if (e.is_regular_file()) {
      ++count.files;
      count.bytes += e.file_size();
    }
  }
  return count;
}

int Run(long items, long block) {
  std::string pattern = (std::filesystem::temp_directory_path() / "taotu-bench-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) {
    std::perror("mkdtemp");
    return 2;
  }
  const std::filesystem::path root(pattern);

  platform::PathCodec paths;
  MeteredFiles files(paths);
  FakeShop shop;
  testing::FixedClock clock({2024, 5, 20, 10, 30, 0});
  testing::FakeWindow window;
  window.saveFolder = paths.FromNative(root.string());
  // Main and other pictures would only add files; the description and the
  // package are what is measured.
  window.options.downloadMain = false;
  window.options.downloadOther = false;

  std::string list;
  list.reserve(static_cast<std::size_t>(items) * 48);
  for (long i = 0; i < items; ++i) {
    if (i) list += "\r\n";
    list += std::string(kItemPrefix) + std::to_string(520000000000L + i);
  }
  window.addressList = list;

  std::printf("taotu composite CSV package: %ld item pages, blocks of %ld\n", items, block);
  std::printf("save folder %s, %u hardware threads, load average before %s\n", root.c_str(),
              std::thread::hardware_concurrency(), LoadAverage().c_str());

  StampingWindow stamped(window);
  const Clock::time_point begin = Clock::now();
  bool finished = false;
  int failures = 0;
  {
    job::JobControl control(stamped, {shop, files, clock});
    if (control.Start() != job::StartResult::Started) {
      std::fprintf(stderr, "the job did not start\n");
      std::filesystem::remove_all(root);
      return 2;
    }
    finished = window.RunJob(control, std::chrono::seconds(120));
    failures = control.FailedTransfers();
  }
  const Clock::time_point end = Clock::now();
  std::printf("load average after %s\n", LoadAverage().c_str());

  // The package as the job left it, and what else the job wrote.
  const std::string jobFolder = platform::GbkToUtf8(job::JobFolderName(clock.Now(), static_cast<int>(items)));
  const std::filesystem::path package = root / jobFolder / "岚川淘图CSV复合数据包.csv";
  long packageLines = 0;
  std::uintmax_t packageSize = 0;
  if (std::filesystem::is_regular_file(package)) {
    packageSize = std::filesystem::file_size(package);
    std::ifstream in(package, std::ios::binary);
    packageLines = std::count(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>(), '\n');
  }
  const FolderCount tree = CountTree(root);
  std::filesystem::remove_all(root);

  const std::vector<Clock::time_point>& t = stamped.armed;
  const auto& writes = files.packageWrites;
  const long done = static_cast<long>(t.size()) - 1;
  if (!finished || done != items) {
    std::printf("job incomplete: finished=%d, items handed back=%ld\n", finished ? 1 : 0,
                done < 0 ? 0 : done);
  }
  if (done <= 0) return 1;

  // Package rewrites are fewer than items: each is counted in the block in
  // which it ended.
  std::printf("\n%9s %9s %9s %12s %10s\n", "items", "ms/item", "rewrites", "rewrite ms", "csv KB");
  std::vector<double> perItem;
  std::size_t w = 0;
  double lastKb = 0;
  for (long first = 0; first < done; first += block) {
    const long last = std::min(done, first + block);  // exclusive
    const double total = Ms(t[static_cast<std::size_t>(last)] - t[static_cast<std::size_t>(first)]);
    int rewrites = 0;
    double rewriteMs = 0;
    for (; w < writes.size() && writes[w].done <= t[static_cast<std::size_t>(last)]; ++w) {
      ++rewrites;
      rewriteMs += Ms(writes[w].assemble) + Ms(writes[w].write);
      lastKb = writes[w].bytes / 1024.0;
    }
    perItem.push_back(total / static_cast<double>(last - first));
    std::printf("%4ld-%-4ld %9.3f %9d %12.1f %10.1f\n", first + 1, last, perItem.back(), rewrites, rewriteMs,
                lastKb);
  }
  std::printf(
      "\n(ms/item: from hand-back to hand-back, everything the item costs the job;\n"
      " rewrites: whole-file writes of the composite package that ended in the block,\n"
      " rewrite ms: their row tail, file text and FileSystem::WriteFile; csv KB: the file after the last "
      "one)\n\n");
  std::printf("last/first block, ms/item:                %.2f\n", perItem.back() / perItem.front());

  unsigned long long packageBytes = 0;
  for (const auto& w : writes) packageBytes += w.bytes;
  std::printf("\nwall %.1f s for %ld items; failed transfers %d\n", Ms(end - begin) / 1000.0, done, failures);
  std::printf("final package %ju bytes, %ld lines (3 header lines + rows)\n", packageSize, packageLines);
  std::printf("WriteFile calls %ld, %.1f MB in all; package rewrites %zu, %.1f MB of them\n", files.Writes(),
              files.WrittenBytes() / 1048576.0, writes.size(), packageBytes / 1048576.0);
  std::printf("left on disk before removal: %ld files in %ld folders, %.1f MB\n", tree.files, tree.folders,
              tree.bytes / 1048576.0);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  long items = 5000, block = 500;
  if (argc > 3) {
    std::fprintf(stderr, "usage: %s [items=5000] [block=500]\n", argv[0]);
    return 2;
  }
  if (argc > 1) {
    const auto v = Argument(argv[1]);
    if (!v) {
      std::fprintf(stderr, "items must be a positive number: %s\n", argv[1]);
      return 2;
    }
    items = *v;
  }
  if (argc > 2) {
    const auto v = Argument(argv[2]);
    if (!v) {
      std::fprintf(stderr, "block must be a positive number: %s\n", argv[2]);
      return 2;
    }
    block = *v;
  }
  return Run(items, block);
}
