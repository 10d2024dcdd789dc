#pragma once
// The main window as the dispatcher and the workers see it: the operations
// the window offers them, by control. All text is GBK. Each call is complete
// in itself; the Qt window carries it out on its own thread while the caller
// waits, the command line and the tests carry it out plainly.
#include <string>

namespace taotu::job {

// The options of the window, by control.
enum class Option {
  DownloadMain,      // 选择框1 "下载主图"
  DownloadDetail,    // 选择框5 "下载细节图"
  DownloadOther,     // 选择框6 "下载其他图"
  FolderPerItem,     // 选择框2 "智能分类保存"
  TitleInFolder,     // 选择框7 "显示宝贝标题"
  ExportCsv,         // 选择框3 "导出CSV数据包"
  IndependentCsv,    // 单选框1 "独立包"
  CompositeCsv,      // 单选框2 "复合包"
  RemoveHyperlinks,  // 选择框4 "自动删除超链接"
};

// The widget object name of an option's control, such as "选择框1" (UTF-8).
const char* ControlName(Option option);

class MainWindowPort {
 public:
  virtual ~MainWindowPort() = default;

  virtual bool IsOn(Option option) = 0;
  virtual std::string SaveFolder() = 0;  // 编辑框2

  virtual std::string AddressList() = 0;  // 编辑框4
  virtual void SetAddressList(const std::string& text) = 0;
  virtual void SetAddressListEnabled(bool enabled) = 0;

  virtual void SetStatus(const std::string& text) = 0;                 // 标签1
  virtual void SetStartButtonCaption(const std::string& caption) = 0;  // 按钮2
  virtual void SetStartButtonEnabled(bool enabled) = 0;
  virtual void SetProgress(int position) = 0;  // 进度条1, 0 to 100
  virtual int Progress() = 0;
  virtual void SetCounter(const std::string& text) = 0;         // 透明标签4
  virtual void AppendDownloadLog(const std::string& text) = 0;  // 编辑框3
  virtual void AppendCssLog(const std::string& text) = 0;       // 编辑框1
  virtual void SetScratchText(const std::string& text) = 0;     // 编辑框5
  virtual std::string ScratchText() = 0;
  // 时钟3: 0 stops it, 1 makes it fire once on the window's thread.
  virtual void SetDispatcherTimer(int period) = 0;

  // A message box with the title "信息：" and one OK button.
  virtual void ShowMessage(const std::string& text) = 0;
  // After the final status: how many transfers of the job failed.
  virtual void ReportFailedTransfers(int count) = 0;
};

}  // namespace taotu::job
