#pragma once
// One running editor per user. The first start holds a lock file and listens
// on a local socket; a later start finds the lock taken, sends the running
// one the message "5120" and ends without a window. The running editor reads
// the message and does nothing with it.
#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

namespace orlisk {

// The socket and lock name for a title and a user: the title in lower case with
// every run of other characters than letters and digits made one "-", then
// "-" and the user id ("veldrane-orlisk-1000").
QString SingleInstanceName(const QString& title, unsigned userId);

class SingleInstance : public QObject {
  Q_OBJECT
 public:
  explicit SingleInstance(QString name, QObject* parent = nullptr);
  ~SingleInstance() override;

  // True when this process is the first: it keeps the lock and listens until
  // it ends. A lock left behind by a process that died does not count. False
  // only when another living process holds the lock; when the lock cannot be
  // made at all (the temporary folder is missing or unusable) this process
  // runs unguarded.
  bool claim();
  // From a later start: tells the running editor about it. Gives up quietly
  // after a short wait when nobody answers.
  void notifyRunningInstance() const;

 signals:
  // The message a later start sent (always "5120"); the editor ignores it.
  void messageReceived(const QByteArray& message);

 private:
  void acceptConnection();

  QString name_;
  QLockFile lock_;
  std::unique_ptr<QLocalServer> server_;
};

}  // namespace orlisk
