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
#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
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

constexpr char kRaisedAnswer = '!';
// How often a full backlog is tried again while the time-out lasts.
constexpr int kConnectRetryMs = 10;

using Clock = std::chrono::steady_clock;

// What is left of the time-out, never below zero.
int remainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

enum class Connect { Connected, NobodyListens, Busy };

// A non-blocking connect: a copy that stopped accepting fills its backlog,
// and a blocking connect would then wait for it without end.
Connect connectTo(int fd, const sockaddr_un& address, Clock::time_point deadline) {
  for (;;) {
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
      return Connect::Connected;
    }
    if (errno == EINTR) {
      continue;
    }
    // A Unix socket answers a full backlog with EAGAIN; nothing completes
    // later, so the connect is tried again until the time-out.
    if (errno != EAGAIN) {
      return Connect::NobodyListens;
    }
    const int left = remainingMs(deadline);
    if (left == 0) {
      return Connect::Busy;
    }
    ::poll(nullptr, 0, std::min(left, kConnectRetryMs));
  }
}

bool writeAll(int fd, const char* data, std::size_t length, Clock::time_point deadline) {
  while (length > 0) {
    pollfd ready{fd, POLLOUT, 0};
    if (::poll(&ready, 1, remainingMs(deadline)) <= 0) {
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

SingleInstance::HandOver SingleInstance::handOverToRunningCopy(int timeoutMs) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  sockaddr_un address{};
  if (!addressOf(socketPath(name_), address)) {
    return HandOver::NoRunningCopy;
  }
  const Descriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (socket.get() < 0) {
    return HandOver::NoRunningCopy;
  }
  switch (connectTo(socket.get(), address, deadline)) {
    case Connect::NobodyListens:
      return HandOver::NoRunningCopy;
    case Connect::Busy:
      return HandOver::NoAnswer;
    case Connect::Connected:
      break;
  }
  if (!writeAll(socket.get(), kRaiseMessage, sizeof kRaiseMessage - 1, deadline)) {
    return HandOver::NoAnswer;
  }
  // A copy that took the message but never acts on it (stopped, hung) would
  // leave the user with no window at all: only its answer counts.
  for (;;) {
    pollfd ready{socket.get(), POLLIN, 0};
    const int polled = ::poll(&ready, 1, remainingMs(deadline));
    if (polled < 0 && errno == EINTR) {
      continue;
    }
    if (polled <= 0) {
      return HandOver::NoAnswer;
    }
    char answer = 0;
    const ssize_t length = ::recv(socket.get(), &answer, 1, 0);
    if (length < 0 && (errno == EINTR || errno == EAGAIN)) {
      continue;
    }
    return length == 1 && answer == kRaisedAnswer ? HandOver::HandedOver : HandOver::NoAnswer;
  }
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
      // The later start waits for this answer; a full socket just drops it.
      static_cast<void>(::send(fd, &kRaisedAnswer, 1, MSG_NOSIGNAL | MSG_DONTWAIT));
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
