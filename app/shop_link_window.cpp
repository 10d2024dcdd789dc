#include "app/shop_link_window.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QThread>
#include <type_traits>

#include "app/qt_text.h"
#include "app/window_thread.h"
#include "shoplinks/shop_link_collector.h"
#include "shoplinks/shop_walkers.h"

namespace taotu::app {
namespace {

template <class Widget>
Widget* Place(Widget* widget, const char* name, QRect place) {
  widget->setObjectName(QString::fromUtf8(name));
  widget->setGeometry(place);
  return widget;
}

}  // namespace

ShopLinkWindow::ShopLinkWindow(job::MainWindowPort& main, QWidget* parent)
    : QDialog(parent), main_(main), http_(platform::MakeHttpClient(platform::LimitsFromEnvironment())) {
  setWindowTitle(QStringLiteral("批量获取宝贝链接"));
  setModal(true);
  setGeometry(50, 50, 591, 475);
  setFixedSize(591, 475);
  BuildControls();
}

ShopLinkWindow::~ShopLinkWindow() { StopWalker(); }

void ShopLinkWindow::BuildControls() {
  Place(new QLabel(QStringLiteral("淘宝、天猫、阿里店铺地址："), this), "标签1", {8, 16, 176, 24});
  addressEdit_ = Place(new QLineEdit(this), "编辑框1", {168, 16, 360, 24});
  fetchButton_ = Place(new QPushButton(QStringLiteral("获取"), this), "按钮1", {536, 16, 40, 24});
  connect(fetchButton_, &QPushButton::clicked, this, &ShopLinkWindow::OnFetchClicked);

  auto* examples = Place(new QLabel(ToQt(shoplinks::ExampleCaption()), this), "标签3", {8, 48, 424, 56});
  examples->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  examples->setTextInteractionFlags(Qt::TextSelectableByMouse);

  progress_ = Place(new QProgressBar(this), "进度条1", {440, 64, 136, 24});
  progress_->setRange(0, 100);
  progress_->setValue(0);
  // Nothing to show until a walk begins; the walker shows it.
  progress_->hide();

  Place(new QLabel(QStringLiteral("整店宝贝链接："), this), "标签2", {8, 112, 112, 24});
  count_ = Place(new QLabel(this), "标签4", {136, 112, 256, 24});
  auto* clear = Place(new QPushButton(QStringLiteral("清空"), this), "按钮3", {400, 104, 48, 32});
  connect(clear, &QPushButton::clicked, this, &ShopLinkWindow::OnClearClicked);
  auto* confirm = Place(new QPushButton(QStringLiteral("确定"), this), "按钮2", {480, 104, 88, 32});
  // Enter in the address box would otherwise press it.
  confirm->setAutoDefault(false);
  fetchButton_->setAutoDefault(false);
  clear->setAutoDefault(false);
  connect(confirm, &QPushButton::clicked, this, &ShopLinkWindow::OnConfirmClicked);

  list_ = Place(new QPlainTextEdit(this), "编辑框2", {8, 140, 568, 300});
  list_->setEnabled(false);
  list_->setLineWrapMode(QPlainTextEdit::NoWrap);

  // The notes have no control of their own in the window; the latest one
  // stands below the list, all of them in its tool tip.
  note_ = Place(new QLabel(this), "提示", {8, 446, 568, 20});
  note_->setStyleSheet(QStringLiteral("color: #c00000"));
}

void ShopLinkWindow::OnFetchClicked() {
  // A walker that enabled 按钮1 again calls the window no more, though its
  // thread may not have ended yet.
  JoinWalker();
  const auto walker = shoplinks::PrepareWalk(*this);
  if (!walker) return;
  walking_ = true;
  walker_ = std::thread([this, walker = *walker] {
    shoplinks::ShopWalk walk{*this, session_, *http_};
    walker(walk);
    walking_ = false;
    // Wakes JoinWalker, which may be waiting for events.
    QMetaObject::invokeMethod(
        this, [] {}, Qt::QueuedConnection);
  });
}

void ShopLinkWindow::OnClearClicked() { shoplinks::ClearShopWindow(*this); }

void ShopLinkWindow::OnConfirmClicked() {
  // With links to hand over the window closes, so the walk ends first and
  // its last links go along; with none the walk goes on behind the message.
  if (!links_.empty()) StopWalker();
  if (shoplinks::HandOverLinks(*this, main_)) accept();
}

void ShopLinkWindow::done(int result) {
  StopWalker();
  QDialog::done(result);
}

void ShopLinkWindow::StopWalker() {
  if (walker_.joinable()) session_.RequestStop();
  JoinWalker();
}

void ShopLinkWindow::JoinWalker() {
  // The user's input waits: a click now would start or close a second time.
  while (walking_) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::ExcludeUserInputEvents);
  }
  if (walker_.joinable()) walker_.join();
}

std::string ShopLinkWindow::ShopAddress() {
  return OnThreadOf(this, [&] { return FromQt(addressEdit_->text()); });
}

void ShopLinkWindow::SetShopAddress(const std::string& text) {
  OnThreadOf(this, [&] { addressEdit_->setText(ToQt(text)); });
}

std::string ShopLinkWindow::LinkList() {
  return OnThreadOf(this, [&] { return links_; });
}

void ShopLinkWindow::SetLinkList(const std::string& text) {
  OnThreadOf(this, [&] {
    links_ = text;
    list_->setPlainText(ToQt(text));
  });
}

void ShopLinkWindow::AppendLinkList(const std::string& text) {
  OnThreadOf(this, [&] {
    links_ += text;
    QTextCursor cursor(list_->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(ToQt(text));
    list_->verticalScrollBar()->setValue(list_->verticalScrollBar()->maximum());
  });
}

void ShopLinkWindow::SetCountCaption(const std::string& text) {
  OnThreadOf(this, [&] { count_->setText(ToQt(text)); });
}

void ShopLinkWindow::SetProgressVisible(bool visible) {
  OnThreadOf(this, [&] { progress_->setVisible(visible); });
}

void ShopLinkWindow::SetProgress(int position) {
  OnThreadOf(this, [&] { progress_->setValue(position); });
}

int ShopLinkWindow::Progress() {
  return OnThreadOf(this, [&] { return progress_->value(); });
}

void ShopLinkWindow::SetFetchButtonEnabled(bool enabled) {
  OnThreadOf(this, [&] { fetchButton_->setEnabled(enabled); });
}

void ShopLinkWindow::ShowMessage(const std::string& text) {
  OnThreadOf(this, [&] {
    auto* box =
        new QMessageBox(QMessageBox::NoIcon, QStringLiteral("信息："), ToQt(text), QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Modal for the user, yet the walker goes on: it must not wait for the OK.
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
  });
}

void ShopLinkWindow::ShowNote(const std::string& text) {
  OnThreadOf(this, [&] {
    const QString note = ToQt(text);
    note_->setText(note);
    note_->setToolTip(note_->toolTip().isEmpty() ? note : note_->toolTip() + '\n' + note);
  });
}

}  // namespace taotu::app
