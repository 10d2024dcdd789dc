#include "app/address_list_box.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFocusEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

#include "app/qt_text.h"
#include "job/address_list.h"

namespace taotu::app {

AddressListBox::AddressListBox(platform::PathCodec& paths, platform::FileSystem& files, QWidget* parent)
    : QPlainTextEdit(parent), paths_(paths), files_(files) {
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // Dropped files land on the viewport.
  viewport()->setAcceptDrops(true);
  SetText(job::ListHint());
}

std::string AddressListBox::Text() const { return FromQt(toPlainText()); }

void AddressListBox::SetText(const std::string& gbk) {
  const QString text = ToQt(gbk);
  // Rewriting an unchanged text would throw away the cursor and the undo steps.
  if (text != toPlainText()) setPlainText(text);
}

void AddressListBox::DropFiles(const std::string& dropped) {
  if (const auto list = job::ListAfterDrop(dropped, Text(), files_)) {
    SetText(*list);
    setFocus(Qt::OtherFocusReason);
  }
}

void AddressListBox::focusInEvent(QFocusEvent* event) {
  QPlainTextEdit::focusInEvent(event);
  SetText(job::ListAfterFocusIn(Text()));
}

void AddressListBox::focusOutEvent(QFocusEvent* event) {
  // A context menu or another window taking over is no end of editing.
  if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason) {
    SetText(job::ListAfterFocusOut(Text()));
  }
  QPlainTextEdit::focusOutEvent(event);
}

void AddressListBox::mouseDoubleClickEvent(QMouseEvent* event) {
  clear();
  event->accept();
}

void AddressListBox::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) {
    event->acceptProposedAction();
    return;
  }
  QPlainTextEdit::dragEnterEvent(event);
}

void AddressListBox::dragMoveEvent(QDragMoveEvent* event) {
  if (event->mimeData()->hasUrls()) {
    event->acceptProposedAction();
    return;
  }
  QPlainTextEdit::dragMoveEvent(event);
}

void AddressListBox::dropEvent(QDropEvent* event) {
  if (!event->mimeData()->hasUrls()) {
    QPlainTextEdit::dropEvent(event);
    return;
  }
  const QList<QUrl> urls = event->mimeData()->urls();
  std::string dropped;
  for (const QUrl& url : urls) {
    const std::string path = paths_.FromNative(QFile::encodeName(url.toLocalFile()).toStdString());
    dropped += urls.size() == 1 ? path : path + "\r\n";
  }
  event->acceptProposedAction();
  DropFiles(dropped);
}

}  // namespace taotu::app
