#include "platform/hid/hidraw_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "device/hid_backend.h"
#include "platform/hid/emulated_mouse.h"

namespace korvane::platform {

namespace {

constexpr std::string_view kHidrawPrefix = "hidraw";
constexpr std::uint32_t kNodeEvents =
    IN_CREATE | IN_DELETE | IN_ATTRIB | IN_MOVED_FROM | IN_MOVED_TO;

// Forwards to a watch owned elsewhere (the emulated mouse is also the backend).
class BorrowedWatch : public device::HidChangeWatch {
 public:
  explicit BorrowedWatch(device::HidChangeWatch& watch) : watch_(watch) {}
  bool takeChanges() override { return watch_.takeChanges(); }

 private:
  device::HidChangeWatch& watch_;
};

}  // namespace

std::unique_ptr<HidrawWatch> HidrawWatch::open(const std::filesystem::path& folder) {
  const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd < 0) {
    return nullptr;
  }
  if (inotify_add_watch(fd, folder.c_str(), kNodeEvents) < 0) {
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<HidrawWatch>(new HidrawWatch(fd));
}

HidrawWatch::~HidrawWatch() {
  ::close(fd_);
}

bool HidrawWatch::takeChanges() {
  if (lost_) {
    return true;
  }
  bool changed = false;
  alignas(inotify_event) std::array<char, 4096> buffer{};
  for (;;) {
    const ssize_t length = ::read(fd_, buffer.data(), buffer.size());
    if (length < 0) {
      if (errno == EINTR) {
        continue;
      }
      // EAGAIN: the queue is empty. Anything else: the watch cannot tell.
      lost_ = errno != EAGAIN;
      return changed || lost_;
    }
    if (length == 0) {
      lost_ = true;
      return true;
    }
    for (ssize_t at = 0; at < length;) {
      inotify_event event{};
      std::memcpy(&event, buffer.data() + at, sizeof event);
      const std::string_view name(buffer.data() + at + sizeof event,
                                  ::strnlen(buffer.data() + at + sizeof event, event.len));
      if ((event.mask & IN_IGNORED) != 0) {
        lost_ = true;
      }
      if ((event.mask & (IN_Q_OVERFLOW | IN_IGNORED)) != 0 || name.starts_with(kHidrawPrefix)) {
        changed = true;
      }
      at += static_cast<ssize_t>(sizeof event + event.len);
    }
  }
}

std::unique_ptr<device::HidChangeWatch> makeHidChangeWatch(device::HidBackend& backend) {
  if (auto* mouse = dynamic_cast<EmulatedMouse*>(&backend)) {
    return std::make_unique<BorrowedWatch>(*mouse);
  }
  return HidrawWatch::open();
}

}  // namespace korvane::platform
