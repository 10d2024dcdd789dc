#include "app/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>
#include <QWidget>

namespace taotu::app {

SingleInstance::SingleInstance(QString name, QObject* parent) : QObject(parent), name_(std::move(name)) {
  connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::OnNewConnection);
}

QString SingleInstance::NameFor(const QString& caption) {
  // Socket names are file names on Unix: a hash keeps them short and plain.
  QCryptographicHash hash(QCryptographicHash::Sha1);
  hash.addData(caption.toUtf8());
  hash.addData(QByteArrayView("\n"));
  hash.addData(QDir::homePath().toUtf8());
  hash.addData(qgetenv("USER"));
  return QStringLiteral("taotu-") + QString::fromLatin1(hash.result().toHex().left(20));
}

bool SingleInstance::Claim() {
  QLocalSocket other;
  other.connectToServer(name_);
  if (other.waitForConnected(1000)) {
    other.write("show\n");
    other.waitForBytesWritten(1000);
    other.disconnectFromServer();
    return false;
  }
  // Nobody answers: whatever is left under the name is a crashed copy's.
  QLocalServer::removeServer(name_);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  server_.listen(name_);  // failing to listen must not stop this copy
  return true;
}

void SingleInstance::OnNewConnection() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      socket->readAll();
      emit ShowRequested();
    });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
  }
}

void BringToFront(QWidget* window) {
  window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace taotu::app
