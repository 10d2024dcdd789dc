#pragma once
// The main window: the controls by their names, the option interlocks, the
// window's own handlers, and the window as the job sees it. Calls from a
// worker's thread are carried out on the window's thread while the worker
// waits.
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <array>
#include <string>
#include <utility>

#include "job/dispatcher.h"
#include "job/main_window_port.h"
#include "job/option_interlocks.h"
#include "platform/file_system.h"

class QAbstractButton;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace taotu::app {

class AddressListBox;

class MainWindow final : public QWidget, public job::MainWindowPort {
  Q_OBJECT

 public:
  MainWindow(platform::PathCodec& paths, platform::FileSystem& files);

  // The job that 按钮2 starts and 时钟3 drives; set once, before the first click.
  void SetJobControl(job::JobControl* control) { control_ = control; }
  // 编辑框2, from a native path.
  void SetSaveFolder(const std::string& nativePath);
  // Before the job control goes: stops dispatching and waits, serving the
  // worker's calls, until the worker of the moment has handed the job back.
  void FinishCurrentEntry();

  bool IsOn(job::Option option) override;
  std::string SaveFolder() override;
  std::string AddressList() override;
  void SetAddressList(const std::string& text) override;
  void SetAddressListEnabled(bool enabled) override;
  void SetStatus(const std::string& text) override;
  void SetStartButtonCaption(const std::string& caption) override;
  void SetStartButtonEnabled(bool enabled) override;
  void SetProgress(int position) override;
  int Progress() override;
  void SetCounter(const std::string& text) override;
  void AppendDownloadLog(const std::string& text) override;
  void AppendCssLog(const std::string& text) override;
  void SetScratchText(const std::string& text) override;
  std::string ScratchText() override;
  void SetDispatcherTimer(int period) override;
  void ShowMessage(const std::string& text) override;
  void ReportFailedTransfers(int count) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls(platform::PathCodec& paths, platform::FileSystem& files);
  void BuildOptions();
  void OnOptionClicked(job::Option option, bool checked);
  QAbstractButton* OptionButton(job::Option option) const;
  job::OptionStates CurrentOptions() const;
  void ApplyOptions(const job::OptionStates& states);
  void OnStartClicked();
  void OnBrowseClicked();
  void OnOpenFolderClicked();
  void OnDispatcherTimer();

  platform::PathCodec& paths_;
  job::JobControl* control_ = nullptr;

  AddressListBox* list_ = nullptr;         // 编辑框4
  QLineEdit* saveFolderEdit_ = nullptr;    // 编辑框2
  QPushButton* startButton_ = nullptr;     // 按钮2
  QLabel* status_ = nullptr;               // 标签1
  QLabel* counter_ = nullptr;              // 透明标签4
  QLabel* failures_ = nullptr;             // beside 标签1, after a job with failures
  QProgressBar* progress_ = nullptr;       // 进度条1
  QPlainTextEdit* downloadLog_ = nullptr;  // 编辑框3
  QPlainTextEdit* cssLog_ = nullptr;       // 编辑框1
  QPlainTextEdit* scratch_ = nullptr;      // 编辑框5
  QTimer dispatcherTimer_;                 // 时钟3
  std::array<std::pair<job::Option, QAbstractButton*>, 9> options_{};

  std::string saveFolder_;   // GBK, as the workers read it
  std::string scratchText_;  // the bytes as written: page text need not survive Qt strings
  bool closing_ = false;
  bool handedBack_ = false;
};

}  // namespace taotu::app
