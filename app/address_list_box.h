#pragma once
// 编辑框4, the address list: the hint in the empty box, blank lines collapsed
// when it loses the focus, emptied by a double-click, and files dropped on it.
#include <QPlainTextEdit>
#include <string>

#include "platform/file_system.h"

namespace taotu::app {

class AddressListBox final : public QPlainTextEdit {
  Q_OBJECT

 public:
  AddressListBox(platform::PathCodec& paths, platform::FileSystem& files, QWidget* parent);

  std::string Text() const;  // GBK, "\r\n" line ends
  void SetText(const std::string& gbk);

  // The text a file drop delivers: one path, or several each followed by
  // "\r\n" (GBK).
  void DropFiles(const std::string& dropped);

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  platform::PathCodec& paths_;
  platform::FileSystem& files_;
};

}  // namespace taotu::app
