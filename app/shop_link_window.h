#pragma once
// The shop link window (批量获取宝贝链接): the controls by their names, 获取,
// 清空 and 确定, and the window as the walkers see it. The walker runs on a
// thread of its own; its calls are carried out on the window's thread while
// it waits.
#include <QDialog>
#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "job/main_window_port.h"
#include "platform/http.h"
#include "shoplinks/shop_link_session.h"
#include "shoplinks/shop_window_port.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace taotu::app {

class ShopLinkWindow final : public QDialog, public shoplinks::ShopWindowPort {
  Q_OBJECT

 public:
  // `main` receives the links on 确定. The pages are fetched with a client
  // of the window's own, set up from the environment.
  explicit ShopLinkWindow(job::MainWindowPort& main, QWidget* parent = nullptr);
  // Stops a running walker and waits for it, serving its calls.
  ~ShopLinkWindow() override;

  // Every way of closing comes here: a running walker is stopped first.
  void done(int result) override;

  std::string ShopAddress() override;
  void SetShopAddress(const std::string& text) override;
  std::string LinkList() override;
  void SetLinkList(const std::string& text) override;
  void AppendLinkList(const std::string& text) override;
  void SetCountCaption(const std::string& text) override;
  void SetProgressVisible(bool visible) override;
  void SetProgress(int position) override;
  int Progress() override;
  void SetFetchButtonEnabled(bool enabled) override;
  void ShowMessage(const std::string& text) override;
  void ShowNote(const std::string& text) override;

 private:
  void BuildControls();
  void OnFetchClicked();
  void OnClearClicked();
  void OnConfirmClicked();
  // Asks a running walker to stop, then waits until it has ended.
  void StopWalker();
  // Waits, serving the walker's calls, until its thread has ended.
  void JoinWalker();

  job::MainWindowPort& main_;
  std::unique_ptr<platform::HttpClient> http_;
  shoplinks::ShopLinkSession session_;  // ShopLinkCount, for as long as the window lives

  QLineEdit* addressEdit_ = nullptr;    // 编辑框1
  QPushButton* fetchButton_ = nullptr;  // 按钮1
  QProgressBar* progress_ = nullptr;    // 进度条1
  QLabel* count_ = nullptr;             // 标签4
  QPlainTextEdit* list_ = nullptr;      // 编辑框2
  QLabel* note_ = nullptr;              // below the list: the walker's last note

  std::string links_;  // 编辑框2 as GBK bytes: read for every link, never converted back
  std::thread walker_;
  std::atomic<bool> walking_{false};
};

}  // namespace taotu::app
