#include "platform/window_system/single_instance.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

namespace korvane::platform {

namespace {

constexpr char kRaiseMessage[] = "raise\n";
constexpr int kBacklog = 4;

// The address of the socket; false when the path does not fit.
bool addressOf(const QString& path, sockaddr_un& address) {
  const QByteArray bytes = QFile::encodeName(path);
  if (bytes.size() >= static_cast<qsizetype>(sizeof address.sun_path)) {
    return false;
  }
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
  return true;
}

// A stream socket connected to `path`, or -1.
int connectTo(const QString& path) {
  sockaddr_un address{};
  if (!addressOf(path, address)) {
    return -1;
  }
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    return -1;
  }
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool writeAll(int fd, const char* data, std::size_t length, int timeoutMs) {
  while (length > 0) {
    pollfd ready{fd, POLLOUT, 0};
    if (::poll(&ready, 1, timeoutMs) <= 0) {
      return false;
    }
    const ssize_t written = ::send(fd, data, length, MSG_NOSIGNAL);
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    data += written;
    length -= static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)) {}

SingleInstance::~SingleInstance() {
  for (const auto& [fd, notifier] : connections_) {
    delete notifier;
    ::close(fd);
  }
  if (listener_ >= 0) {
    delete listenNotifier_;
    ::close(listener_);
    ::unlink(QFile::encodeName(socketPath(name_)).constData());
  }
}

QString SingleInstance::defaultName() {
  QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
  if (display.isEmpty()) {
    display = qEnvironmentVariable("DISPLAY");
  }
  display.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")), QStringLiteral("_"));
  return QStringLiteral("korvane-driver-%1-%2").arg(getuid()).arg(display);
}

QString SingleInstance::socketPath(const QString& name) {
  return QDir::tempPath() + QLatin1Char('/') + name;
}

bool SingleInstance::handOverToRunningCopy(int timeoutMs) {
  const int fd = connectTo(socketPath(name_));
  if (fd < 0) {
    return false;
  }
  const bool sent = writeAll(fd, kRaiseMessage, sizeof kRaiseMessage - 1, timeoutMs);
  ::close(fd);
  return sent;
}

bool SingleInstance::listen() {
  const QString path = socketPath(name_);
  sockaddr_un address{};
  if (!addressOf(path, address)) {
    return false;
  }
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) {
    return false;
  }
  // Only this user may connect: the socket is made with no access for others.
  const mode_t previousMask = ::umask(S_IRWXG | S_IRWXO);
  int bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  if (bound != 0 && errno == EADDRINUSE) {
    // A socket left behind by a copy that crashed: nobody answered on it,
    // so it can go.
    ::unlink(address.sun_path);
    bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  }
  ::umask(previousMask);
  if (bound != 0 || ::listen(fd, kBacklog) != 0) {
    ::close(fd);
    return false;
  }
  listener_ = fd;
  listenNotifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
  connect(listenNotifier_, &QSocketNotifier::activated, this, [this] { acceptConnections(); });
  return true;
}

void SingleInstance::acceptConnections() {
  for (;;) {
    const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) {
      return;
    }
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connections_[fd] = notifier;
    connect(notifier, &QSocketNotifier::activated, this, [this, fd] { readFrom(fd); });
  }
}

void SingleInstance::readFrom(int fd) {
  std::array<char, 64> buffer{};
  const ssize_t length = ::recv(fd, buffer.data(), buffer.size(), 0);
  if (length < 0 && (errno == EAGAIN || errno == EINTR)) {
    return;
  }
  if (length > 0) {
    if (QByteArray(buffer.data(), static_cast<qsizetype>(length)).contains("raise")) {
      emit raiseRequested();
    }
    return;
  }
  closeConnection(fd);
}

void SingleInstance::closeConnection(int fd) {
  const auto it = connections_.find(fd);
  if (it == connections_.end()) {
    return;
  }
  it->second->setEnabled(false);
  it->second->deleteLater();
  connections_.erase(it);
  ::close(fd);
}

}  // namespace korvane::platform
