#include "platform/single_instance.h"

#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>
#include <QRegularExpression>
#include <utility>

namespace korvane::platform {

namespace {
constexpr char kRaiseMessage[] = "raise\n";
}

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultName() {
  QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
  if (display.isEmpty()) {
    display = qEnvironmentVariable("DISPLAY");
  }
  display.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")), QStringLiteral("_"));
  return QStringLiteral("korvane-driver-%1-%2").arg(getuid()).arg(display);
}

bool SingleInstance::handOverToRunningCopy(int timeoutMs) {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(timeoutMs)) {
    return false;
  }
  if (socket.write(kRaiseMessage) < 0 || !socket.waitForBytesWritten(timeoutMs)) {
    return false;
  }
  socket.disconnectFromServer();
  return true;
}

bool SingleInstance::listen() {
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(name_)) {
    // A socket left behind by a copy that crashed: nobody answered on it,
    // so it can go.
    QLocalServer::removeServer(name_);
    if (!server_->listen(name_)) {
      return false;
    }
  }
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        if (socket->readAll().contains("raise")) {
          emit raiseRequested();
        }
      });
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }
  });
  return true;
}

}  // namespace korvane::platform
