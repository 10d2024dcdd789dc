#pragma once
// The shop link window (批量获取宝贝链接) as the collector's flow and the
// walkers see it: its operations, by control. All text is GBK. Each call is
// complete in itself; the Qt window carries it out on its own thread while
// the caller waits, the command line and the tests carry it out plainly.
#include <string>

namespace taotu::shoplinks {

class ShopWindowPort {
 public:
  virtual ~ShopWindowPort() = default;

  virtual std::string ShopAddress() = 0;  // 编辑框1
  virtual void SetShopAddress(const std::string& text) = 0;

  // 编辑框2: one link per line, each ended by CR LF.
  virtual std::string LinkList() = 0;
  virtual void SetLinkList(const std::string& text) = 0;
  virtual void AppendLinkList(const std::string& text) = 0;

  virtual void SetCountCaption(const std::string& text) = 0;  // 标签4

  virtual void SetProgressVisible(bool visible) = 0;  // 进度条1
  virtual void SetProgress(int position) = 0;         // 0 to 100
  virtual int Progress() = 0;

  virtual void SetFetchButtonEnabled(bool enabled) = 0;  // 按钮1 "获取"

  // A message box with the title "信息：" and one OK button.
  virtual void ShowMessage(const std::string& text) = 0;
  // A line about the walk that needs no answer: a page that could not be
  // fetched, a walk that was cut short.
  virtual void ShowNote(const std::string& text) = 0;
};

}  // namespace taotu::shoplinks
