#include "app/main_window.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QThread>
#include <QUrl>
#include <type_traits>

#include "app/address_list_box.h"
#include "app/qt_text.h"
#include "app/shop_link_window.h"
#include "app/window_thread.h"

namespace taotu::app {
namespace {

using job::Option;

const char* const kCaption =
    "《岚川淘宝图片搬家工具》 淘宝、天猫、1688阿里图片批量下载器 （包含CSS图片分析并下载）店铺宝贝复制 V8.2";
const char* const kWelcome = "欢迎使用《岚川淘宝图片搬家工具》，快速打造您的网络商城！";
const char* const kTips =
    "您知道吗？\n\n"
    "　　1、可以复制淘宝、天猫、阿里的商品描述地址，或图片地址，或淘宝加密的图片地址。\n\n"
    "　　2、导出的CSV数据包，需要用淘宝助理导入然后上传到自已的店铺中，部分属性上传时需手动修改。\n\n"
    "　　3、可以将含有每行一个网址的TXT文档直接拖进来。\n\n"
    "　　4、可以把包含淘宝助理导出的外部链接的CSV数据包直接拖进来下载图片到本地。";

struct OptionControl {
  Option option;
  const char* text;
  QRect place;
  bool on;
};

// In the order they stand in the window, left to right.
const OptionControl kOptionControls[] = {
    {Option::DownloadMain, "下载主图", {16, 325, 88, 24}, true},
    {Option::DownloadDetail, "下载细节图", {111, 325, 98, 24}, true},
    {Option::DownloadOther, "下载其他图", {220, 325, 100, 24}, true},
    {Option::FolderPerItem, "智能分类保存", {334, 325, 113, 24}, true},
    {Option::TitleInFolder, "显示宝贝标题", {448, 325, 112, 24}, false},
    {Option::ExportCsv, "导出CSV数据包", {568, 325, 116, 24}, true},
    {Option::IndependentCsv, "独立包", {676, 325, 80, 24}, false},
    {Option::CompositeCsv, "复合包", {748, 329, 72, 16}, true},
    {Option::RemoveHyperlinks, "自动删除超链接", {827, 325, 128, 24}, true},
};

bool IsRadio(Option option) { return option == Option::IndependentCsv || option == Option::CompositeCsv; }

template <class Widget>
Widget* Place(Widget* widget, const char* name, QRect place) {
  widget->setObjectName(QString::fromUtf8(name));
  widget->setGeometry(place);
  return widget;
}

QLabel* MakeLabel(QWidget* parent, const char* name, QRect place, const QString& text) {
  auto* label = Place(new QLabel(text, parent), name, place);
  label->setAttribute(Qt::WA_TranslucentBackground);
  return label;
}

QPlainTextEdit* MakeLog(QWidget* parent, const char* name, QRect place) {
  auto* log = Place(new QPlainTextEdit(parent), name, place);
  log->setReadOnly(true);
  log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QPalette palette = log->palette();
  palette.setColor(QPalette::Base, QColor(236, 236, 236));
  log->setPalette(palette);
  return log;
}

// Appends at the end whatever the user selected, and keeps the end in view.
void AppendToLog(QPlainTextEdit* log, const std::string& gbk) {
  QTextCursor cursor(log->document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(ToQt(gbk));
  log->verticalScrollBar()->setValue(log->verticalScrollBar()->maximum());
}

}  // namespace

MainWindow::MainWindow(platform::PathCodec& paths, platform::FileSystem& files) : paths_(paths) {
  setWindowTitle(QString::fromUtf8(kCaption));
  setGeometry(50, 50, 1068, 648);
  BuildControls(paths, files);
  // The list would take the focus first and lose its hint before the user
  // has seen it.
  startButton_->setFocus(Qt::OtherFocusReason);

  dispatcherTimer_.setObjectName(QStringLiteral("时钟3"));
  dispatcherTimer_.setParent(this);
  dispatcherTimer_.setSingleShot(true);
  connect(&dispatcherTimer_, &QTimer::timeout, this, &MainWindow::OnDispatcherTimer);
}

void MainWindow::BuildControls(platform::PathCodec& paths, platform::FileSystem& files) {
  // Labels first: the boxes they overlap stay on top.
  MakeLabel(this, "透明标签5", {8, 145, 88, 24}, QStringLiteral("淘宝地址："));
  MakeLabel(this, "透明标签3", {8, 358, 88, 24}, QStringLiteral("保存位置："));
  MakeLabel(this, "透明标签1", {15, 405, 64, 24}, QStringLiteral("CSS地址："));
  MakeLabel(this, "透明标签6", {8, 501, 88, 24}, QStringLiteral("图片文件："));
  auto* tips = MakeLabel(this, "透明标签8", {904, 12, 147, 278}, QString::fromUtf8(kTips));
  tips->setWordWrap(true);
  tips->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // The four tips fill their box only in a smaller type than the window's.
  QFont tipsFont = tips->font();
  tipsFont.setPixelSize(10);
  tips->setFont(tipsFont);

  list_ = Place(new AddressListBox(paths, files, this), "编辑框4", {72, 3, 816, 309});

  auto* shopButton =
      Place(new QPushButton(QStringLiteral("整店宝贝下载"), this), "按钮3", {920, 272, 120, 32});
  // Modal over this window; a new window each time, with an empty list.
  connect(shopButton, &QPushButton::clicked, this, [this] {
    auto* shopWindow = new ShopLinkWindow(*this, this);
    shopWindow->setAttribute(Qt::WA_DeleteOnClose);
    shopWindow->open();
  });

  BuildOptions();

  saveFolderEdit_ = Place(new QLineEdit(this), "编辑框2", {72, 358, 512, 24});
  saveFolderEdit_->setEnabled(false);
  auto* browse = Place(new QPushButton(QStringLiteral("浏览"), this), "按钮1", {592, 358, 56, 24});
  connect(browse, &QPushButton::clicked, this, &MainWindow::OnBrowseClicked);
  auto* open = Place(new QPushButton(QStringLiteral("打开文件夹"), this), "按钮5", {656, 358, 72, 24});
  connect(open, &QPushButton::clicked, this, &MainWindow::OnOpenFolderClicked);

  cssLog_ = MakeLog(this, "编辑框1", {72, 388, 656, 58});
  downloadLog_ = MakeLog(this, "编辑框3", {72, 453, 488, 120});
  downloadLog_->viewport()->installEventFilter(this);

  startButton_ = Place(new QPushButton(QStringLiteral("立即下载"), this), "按钮2", {579, 479, 145, 40});
  connect(startButton_, &QPushButton::clicked, this, &MainWindow::OnStartClicked);

  counter_ = MakeLabel(this, "透明标签4", {565, 533, 168, 49}, ToQt(job::CounterRestingText()));
  counter_->setWordWrap(true);

  progress_ = Place(new QProgressBar(this), "进度条1", {16, 582, 704, 9});
  progress_->setRange(0, 100);
  progress_->setValue(0);
  progress_->setTextVisible(false);

  status_ = Place(new QLabel(QString::fromUtf8(kWelcome), this), "标签1", {16, 599, 456, 16});
  failures_ = Place(new QLabel(this), "失败提示", {480, 599, 248, 16});
  failures_->setStyleSheet(QStringLiteral("color: #c00000"));

  scratch_ = Place(new QPlainTextEdit(this), "编辑框5", {0, 0, 0, 0});
  scratch_->hide();
}

void MainWindow::BuildOptions() {
  std::size_t i = 0;
  for (const OptionControl& control : kOptionControls) {
    QAbstractButton* button = IsRadio(control.option) ? static_cast<QAbstractButton*>(new QRadioButton(this))
                                                      : static_cast<QAbstractButton*>(new QCheckBox(this));
    Place(button, job::ControlName(control.option), control.place);
    button->setText(QString::fromUtf8(control.text));
    button->setChecked(control.on);
    // clicked, not toggled: a change made by the program runs no rule.
    connect(button, &QAbstractButton::clicked, this,
            [this, option = control.option](bool checked) { OnOptionClicked(option, checked); });
    options_[i++] = {control.option, button};
  }
}

QAbstractButton* MainWindow::OptionButton(Option option) const {
  for (const auto& [candidate, button] : options_) {
    if (candidate == option) return button;
  }
  return nullptr;
}

job::OptionStates MainWindow::CurrentOptions() const {
  job::OptionStates states;
  for (const auto& [option, button] : options_) states.At(option) = button->isChecked();
  states.packageKindEnabled = OptionButton(Option::IndependentCsv)->isEnabled();
  return states;
}

void MainWindow::ApplyOptions(const job::OptionStates& states) {
  for (auto [option, button] : options_) {
    const bool on = states.IsOn(option);
    // An exclusive radio button is unchecked only by checking its partner.
    if (button->isChecked() != on && (on || !IsRadio(option))) button->setChecked(on);
    if (IsRadio(option)) button->setEnabled(states.packageKindEnabled);
  }
}

void MainWindow::OnOptionClicked(Option option, bool checked) {
  job::OptionStates states = CurrentOptions();
  // Click wants the state from before the click; a radio button only ever
  // becomes selected.
  if (!IsRadio(option)) states.At(option) = !checked;
  job::Click(states, option, checked);
  ApplyOptions(states);
}

void MainWindow::OnStartClicked() {
  // A click from the keyboard or the program leaves the focus where it was;
  // the list's blank lines are collapsed as it loses the focus.
  if (list_->hasFocus()) startButton_->setFocus(Qt::OtherFocusReason);
  if (control_) control_->Start();
}

void MainWindow::OnBrowseClicked() {
  const QString chosen =
      QFileDialog::getExistingDirectory(this, QStringLiteral("选择要下载的位置"), saveFolderEdit_->text());
  if (!chosen.isEmpty()) SetSaveFolder(QFile::encodeName(chosen).toStdString());
}

void MainWindow::OnOpenFolderClicked() {
  QDesktopServices::openUrl(QUrl::fromLocalFile(saveFolderEdit_->text()));
}

void MainWindow::OnDispatcherTimer() {
  if (control_) control_->Tick();
}

void MainWindow::SetSaveFolder(const std::string& nativePath) {
  saveFolder_ = paths_.FromNative(nativePath);
  saveFolderEdit_->setText(QFile::decodeName(QByteArray::fromStdString(nativePath)));
}

void MainWindow::FinishCurrentEntry() {
  closing_ = true;
  // An armed timer means the worker has handed back already.
  if (dispatcherTimer_.isActive()) handedBack_ = true;
  dispatcherTimer_.stop();
  while (control_ && control_->Running() && !handedBack_) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == downloadLog_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    downloadLog_->clear();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

bool MainWindow::IsOn(Option option) {
  return OnThreadOf(this, [&] { return OptionButton(option)->isChecked(); });
}

std::string MainWindow::SaveFolder() {
  return OnThreadOf(this, [&] { return saveFolder_; });
}

std::string MainWindow::AddressList() {
  return OnThreadOf(this, [&] { return list_->Text(); });
}

void MainWindow::SetAddressList(const std::string& text) {
  OnThreadOf(this, [&] { list_->SetText(text); });
}

void MainWindow::SetAddressListEnabled(bool enabled) {
  OnThreadOf(this, [&] { list_->setEnabled(enabled); });
}

void MainWindow::SetStatus(const std::string& text) {
  OnThreadOf(this, [&] { status_->setText(ToQt(text)); });
}

void MainWindow::SetStartButtonCaption(const std::string& caption) {
  OnThreadOf(this, [&] { startButton_->setText(ToQt(caption)); });
}

void MainWindow::SetStartButtonEnabled(bool enabled) {
  OnThreadOf(this, [&] { startButton_->setEnabled(enabled); });
}

void MainWindow::SetProgress(int position) {
  OnThreadOf(this, [&] { progress_->setValue(position); });
}

int MainWindow::Progress() {
  return OnThreadOf(this, [&] { return progress_->value(); });
}

void MainWindow::SetCounter(const std::string& text) {
  OnThreadOf(this, [&] { counter_->setText(ToQt(text)); });
}

void MainWindow::AppendDownloadLog(const std::string& text) {
  OnThreadOf(this, [&] { AppendToLog(downloadLog_, text); });
}

// The addresses stay in view: emptying the box on every change would show
// nothing at all.
void MainWindow::AppendCssLog(const std::string& text) {
  OnThreadOf(this, [&] { AppendToLog(cssLog_, text); });
}

void MainWindow::SetScratchText(const std::string& text) {
  OnThreadOf(this, [&] {
    scratchText_ = text;
    scratch_->setPlainText(ToQt(text));
  });
}

std::string MainWindow::ScratchText() {
  return OnThreadOf(this, [&] { return scratchText_; });
}

void MainWindow::SetDispatcherTimer(int period) {
  OnThreadOf(this, [&] {
    if (period == 0) {
      dispatcherTimer_.stop();
    } else if (closing_) {
      handedBack_ = true;
    } else {
      dispatcherTimer_.start(period);
    }
  });
}

void MainWindow::ShowMessage(const std::string& text) {
  OnThreadOf(this, [&] {
    auto* box =
        new QMessageBox(QMessageBox::NoIcon, QStringLiteral("信息："), ToQt(text), QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Modal for the user, yet the caller goes on: a job start must not stall
    // the window's thread in a nested event loop.
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
  });
}

void MainWindow::ReportFailedTransfers(int count) {
  OnThreadOf(this, [&] {
    failures_->setText(count > 0 ? QStringLiteral("有 %1 个文件下载失败").arg(count) : QString());
  });
}

}  // namespace taotu::app
