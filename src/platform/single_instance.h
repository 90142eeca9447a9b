#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace korvane::platform {

// One running copy per user and display. The first copy listens on a local
// socket named after the user and the display; a later start connects, asks
// the first to restore and raise its window, and ends.
class SingleInstance : public QObject {
  Q_OBJECT
 public:
  explicit SingleInstance(QString name = defaultName(), QObject* parent = nullptr);
  ~SingleInstance() override;

  // True when another copy answered and was asked to come forward.
  bool handOverToRunningCopy(int timeoutMs = 1000);
  // Becomes the running copy. Returns false when the socket can't be had.
  bool listen();

  // "korvane-driver-<uid>-<display>".
  static QString defaultName();

 signals:
  void raiseRequested();

 private:
  QString name_;
  QLocalServer* server_ = nullptr;
};

}  // namespace korvane::platform
