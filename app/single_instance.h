#pragma once
// One copy per user session: the first copy holds a local socket named after
// the caption and the user; a later copy asks it to show itself and ends.
#include <QLocalServer>
#include <QObject>
#include <QString>

class QWidget;

namespace taotu::app {

class SingleInstance final : public QObject {
  Q_OBJECT

 public:
  explicit SingleInstance(QString name, QObject* parent = nullptr);

  // The socket name for a caption, private to the user running it.
  static QString NameFor(const QString& caption);

  // True for the first copy, which then holds the name while this object
  // lives; false when another copy holds it and has been asked to show.
  bool Claim();

 signals:
  void ShowRequested();

 private:
  void OnNewConnection();

  QString name_;
  QLocalServer server_;
};

// Shows the window, restoring it when minimized, and brings it forward.
void BringToFront(QWidget* window);

}  // namespace taotu::app
