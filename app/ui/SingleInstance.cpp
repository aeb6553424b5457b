#include "app/ui/SingleInstance.h"

#include <QDir>
#include <QLocalSocket>

namespace orlisk {
namespace {

constexpr int kConnectWaitMs = 1000;
const QByteArray kSecondStartMessage = QByteArrayLiteral("5120");

}  // namespace

QString SingleInstanceName(const QString& title, unsigned userId) {
  QString name;
  bool pendingDash = false;
  for (const QChar c : title.toLower()) {
    if (c.isLetterOrNumber() && c.unicode() < 128) {
      if (pendingDash && !name.isEmpty()) name += QLatin1Char('-');
      pendingDash = false;
      name += c;
    } else {
      pendingDash = true;
    }
  }
  return name + QLatin1Char('-') + QString::number(userId);
}

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)), lock_(QDir::temp().filePath(name_ + QStringLiteral(".lock"))) {
  lock_.setStaleLockTime(0);  // only a dead owner makes the lock stale, never its age
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::claim() {
  if (!lock_.tryLock(0)) {
    // Only a lock held by another editor means one is running. A temporary
    // folder that cannot hold the lock at all must not keep the editor from
    // starting: it starts without the guard.
    return lock_.error() != QLockFile::LockFailedError;
  }
  // Holding the lock, any socket file of that name was left by a process that died.
  QLocalServer::removeServer(name_);
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_.get(), &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
  server_->listen(name_);
  return true;
}

void SingleInstance::acceptConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { emit messageReceived(socket->readAll()); });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
  }
}

void SingleInstance::notifyRunningInstance() const {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(kConnectWaitMs)) return;
  socket.write(kSecondStartMessage);
  socket.waitForBytesWritten(kConnectWaitMs);
  socket.disconnectFromServer();
}

}  // namespace orlisk
