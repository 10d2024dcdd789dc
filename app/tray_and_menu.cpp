#include "app/tray_and_menu.h"

#include <QAction>
#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSystemTrayIcon>
#include <QTime>
#include <QUrl>
#include <QWidget>
#include <initializer_list>

#include "app/help_page.h"
#include "app/maker_addresses.h"
#include "app/startup_rules.h"

namespace taotu::app {
namespace {

void OpenAddress(const char* address) { QDesktopServices::openUrl(QUrl(QString::fromUtf8(address))); }

QIcon ProgramIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(QColor(255, 80, 0));
  QPainter painter(&pixmap);
  painter.setPen(Qt::white);
  QFont font = painter.font();
  font.setPixelSize(22);
  painter.setFont(font);
  painter.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("岚"));
  return QIcon(pixmap);
}

}  // namespace

ContextMenu::ContextMenu(QWidget* window) : QObject(window), window_(window), menu_(new QMenu(window)) {
  menu_->setObjectName(QStringLiteral("右键菜单"));
  menu_->addAction(QStringLiteral("打开作者淘宝店"), [] { OpenAddress(maker::kShop); });
  menu_->addAction(QStringLiteral("收藏作者淘宝店"), [] { OpenAddress(maker::kShopBookmark); });
  menu_->addAction(QStringLiteral("收藏客服淘宝店"), [] { OpenAddress(maker::kSupportShopBookmark); });
  menu_->addSeparator();
  menu_->addAction(QStringLiteral("打开官方网站"), [] { OpenAddress(maker::kWebsite); });
  menu_->addAction(QStringLiteral("下载新版本"), [] { OpenAddress(maker::kDownloadPage); });
  menu_->addSeparator();
  menu_->addAction(QStringLiteral("使用帮助"), [] { OpenHelpPage(); });
  close_ = menu_->addAction(QStringLiteral("关闭程序"), window, &QWidget::close);

  pictureArea_ = new QLabel(window);
  pictureArea_->setObjectName(QStringLiteral("画板1"));
  pictureArea_->setGeometry(744, 388, 308, 185);
  pictureArea_->setAlignment(Qt::AlignCenter);
  pictureArea_->setFrameShape(QFrame::StyledPanel);
  pictureArea_->setPixmap(ProgramIcon().pixmap(96, 96));

  menuLabel_ = new QLabel(QStringLiteral("更多功能 ▼"), window);
  menuLabel_->setObjectName(QStringLiteral("透明标签9"));
  menuLabel_->setGeometry(744, 580, 308, 24);
  menuLabel_->setAttribute(Qt::WA_TranslucentBackground);
  menuLabel_->setCursor(Qt::PointingHandCursor);

  tips_ = window->findChild<QLabel*>(QStringLiteral("透明标签8"));
  counter_ = window->findChild<QLabel*>(QStringLiteral("透明标签4"));
  for (QObject* watched :
       std::initializer_list<QObject*>{window, pictureArea_, menuLabel_, tips_, counter_}) {
    if (watched) watched->installEventFilter(this);
  }
}

ContextMenu::~ContextMenu() = default;

bool ContextMenu::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::MouseButtonPress) return QObject::eventFilter(watched, event);
  const auto* press = static_cast<QMouseEvent*>(event);
  if (press->button() == Qt::LeftButton) {
    if (watched == tips_) {
      OpenHelpPage();
      return true;
    }
    if (watched == counter_) {
      OpenAddress(maker::kShopBookmark);
      return true;
    }
    if (watched == pictureArea_) {
      OpenAddress(NightSupportHour(QTime::currentTime().hour()) ? maker::kNightSupportChat
                                                                : maker::kDaySupportChat);
      return true;
    }
  }
  const Qt::MouseButton wanted = watched == menuLabel_ ? Qt::LeftButton : Qt::RightButton;
  if (press->button() != wanted) return QObject::eventFilter(watched, event);
  menu_->popup(press->globalPosition().toPoint());
  return true;
}

void ToggleShown(QWidget* window) { window->setVisible(!window->isVisible()); }

TrayIcon::TrayIcon(QWidget* window, QMenu* menu) : QObject(window), icon_(new QSystemTrayIcon(this)) {
  icon_->setIcon(ProgramIcon());
  icon_->setToolTip(QStringLiteral("岚川淘宝图片搬家工具"));
  // The tray pops this menu itself on a right click or the menu key.
  icon_->setContextMenu(menu);
  connect(icon_, &QSystemTrayIcon::activated, window, [window](QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::DoubleClick) ToggleShown(window);
  });
  window->setWindowIcon(icon_->icon());
  if (QSystemTrayIcon::isSystemTrayAvailable()) icon_->show();
}

}  // namespace taotu::app
