#pragma once
// The pop-up menu "右键菜单", where it pops up on the window, and the tray
// icon.
#include <QObject>

class QAction;
class QLabel;
class QMenu;
class QSystemTrayIcon;
class QWidget;

namespace taotu::app {

class ContextMenu final : public QObject {
  Q_OBJECT

 public:
  // Adds 画板1 and 透明标签9 to `window` and pops the menu on them and on
  // the window's background; 画板1, 透明标签8 and 透明标签4 open pages on a
  // left click.
  explicit ContextMenu(QWidget* window);
  ~ContextMenu() override;

  QMenu* Menu() const { return menu_; }
  // "关闭程序": closes the window; main() ends the program on it.
  QAction* CloseAction() const { return close_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* window_;
  QMenu* menu_;
  QAction* close_ = nullptr;
  QLabel* pictureArea_ = nullptr;  // 画板1
  QLabel* menuLabel_ = nullptr;    // 透明标签9
  QObject* tips_ = nullptr;        // 透明标签8
  QObject* counter_ = nullptr;     // 透明标签4
};

// Shows a hidden window, hides a shown one.
void ToggleShown(QWidget* window);

class TrayIcon final : public QObject {
  Q_OBJECT

 public:
  TrayIcon(QWidget* window, QMenu* menu);
  QSystemTrayIcon* Icon() const { return icon_; }

 private:
  QSystemTrayIcon* icon_;
};

}  // namespace taotu::app
