#include "cli/shop_command.h"

#include <unistd.h>

#include <cstdio>

#include "platform/codepage.h"
#include "platform/http.h"
#include "shoplinks/shop_link_collector.h"
#include "shoplinks/shop_link_session.h"
#include "shoplinks/shop_walkers.h"
#include "text/gbk_text.h"

namespace taotu::cli {
namespace {

// The shop link window as the command line shows it: the list is kept for
// standard output; messages, notes, progress and the count go to standard
// error in UTF-8 (progress as a live line on a terminal, else one line per
// new position). The walkers run on the command's own thread.
class ShopTerminal final : public shoplinks::ShopWindowPort {
 public:
  explicit ShopTerminal(bool liveProgress) : live_(liveProgress) {}

  std::string ShopAddress() override { return address_; }
  void SetShopAddress(const std::string& text) override { address_ = text; }
  std::string LinkList() override { return links_; }
  void SetLinkList(const std::string& text) override { links_ = text; }
  void AppendLinkList(const std::string& text) override { links_ += text; }
  void SetCountCaption(const std::string& text) override {
    caption_ = text;
    DrawProgress();
  }
  void SetProgressVisible(bool visible) override {
    if (!visible && live_) std::fputs("\r\033[K", stderr);
  }
  void SetProgress(int position) override {
    if (position == progress_) return;
    progress_ = position;
    if (live_) {
      DrawProgress();
    } else {
      std::fprintf(stderr, "进度：%d%%\n", position);
    }
  }
  int Progress() override { return progress_; }
  void SetFetchButtonEnabled(bool) override {}
  void ShowMessage(const std::string& text) override { PrintLine(text); }
  void ShowNote(const std::string& text) override { PrintLine(text); }

  void PrintCount(int count) { PrintLine(shoplinks::CountCaption(count)); }
  // Standard output: the links, LF-ended.
  void PrintLinks() {
    for (const std::string& line : text::Split(links_, "\r\n")) {
      const std::string utf8 = platform::GbkToUtf8(line) + "\n";
      std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    }
    std::fflush(stdout);
  }

 private:
  // A message of several lines keeps them, with LF ends.
  void PrintLine(const std::string& gbk) {
    if (live_) std::fputs("\r\033[K", stderr);
    const std::string utf8 = platform::GbkToUtf8(text::ReplaceAll(gbk, "\r\n", "\n")) + "\n";
    std::fwrite(utf8.data(), 1, utf8.size(), stderr);
    DrawProgress();
  }
  void DrawProgress() {
    if (!live_) return;
    std::fprintf(stderr, "\r\033[K%3d%%  %s", progress_, platform::GbkToUtf8(caption_).c_str());
    std::fflush(stderr);
  }

  const bool live_;
  std::string address_, links_, caption_;
  int progress_ = 0;
};

}  // namespace

int RunShop(const ShopRequest& request) {
  ShopTerminal window(::isatty(STDERR_FILENO) == 1);
  std::vector<std::string> addresses;
  for (const std::string& given : request.addresses) addresses.push_back(platform::Utf8ToGbk(given));
  // Every address is checked before the first walk, so a mistyped one
  // costs no fetch.
  for (const std::string& address : addresses) {
    const shoplinks::AddressCheck check = shoplinks::CheckShopAddress(address);
    if (!check.accepted) {
      window.ShowMessage(check.message);
      return 2;
    }
  }

  const auto http = platform::MakeHttpClient(platform::LimitsFromEnvironment());
  shoplinks::ShopLinkSession session;
  bool pageCountMissing = false;
  for (const std::string& address : addresses) {
    window.SetShopAddress(address);
    const auto walker = shoplinks::PrepareWalk(window);
    if (!walker) return 2;
    shoplinks::ShopWalk walk{window, session, *http};
    if ((*walker)(walk).end == shoplinks::WalkResult::End::NoPageCount) pageCountMissing = true;
    window.PrintCount(session.LinkCount());
  }
  window.PrintLinks();
  return pageCountMissing ? 1 : 0;
}

}  // namespace taotu::cli
