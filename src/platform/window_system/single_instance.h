#pragma once

#include <QObject>
#include <QString>
#include <map>
#include <memory>

class QSocketNotifier;

namespace korvane::platform {

// One running copy per user and display. The first copy listens on a
// Unix-domain socket named after the user and the display; a later start
// connects, asks the first to restore and raise its window, and ends.
class SingleInstance : public QObject {
  Q_OBJECT
 public:
  explicit SingleInstance(QString name = defaultName(), QObject* parent = nullptr);
  ~SingleInstance() override;
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  enum class HandOver {
    NoRunningCopy,  // nobody listens: this copy is the first
    HandedOver,     // the running copy confirmed it comes forward
    NoAnswer,       // a copy listens but did not confirm within the time-out
  };
  // Asks a running copy to restore and raise its window. The whole exchange,
  // connecting included, ends within timeoutMs: a stopped or hung copy makes
  // this start end with NoAnswer, never wait for it.
  HandOver handOverToRunningCopy(int timeoutMs = 1000);
  // Becomes the running copy. Returns false when the socket can't be had.
  bool listen();

  // "korvane-driver-<uid>-<display>".
  static QString defaultName();
  // Where the socket of that name lives: the temporary folder.
  static QString socketPath(const QString& name);

 signals:
  void raiseRequested();

 private:
  void acceptConnections();
  void readFrom(int fd);
  void closeConnection(int fd);

  QString name_;
  int listener_ = -1;
  QSocketNotifier* listenNotifier_ = nullptr;
  std::map<int, QSocketNotifier*> connections_;
};

}  // namespace korvane::platform
