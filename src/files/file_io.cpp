#include "files/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <system_error>
#include <utility>

namespace korvane::files {

namespace {

constexpr std::size_t kReadChunk = 4096;
constexpr std::size_t kMaxNameBytes = 255;
constexpr std::string_view kTemporaryPrefix = ".";
constexpr std::string_view kTemporarySuffix = ".tmp-XXXXXX";

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) {
      // Only reached for descriptors nothing was written through.
      static_cast<void>(::close(fd_));
    }
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  FileDescriptor(FileDescriptor&&) = delete;
  FileDescriptor& operator=(FileDescriptor&&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }

 private:
  int fd_;
};

// The temporary file of a safe write: closed and removed unless the rename
// took it.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  ~TemporaryFile() {
    if (fd_ >= 0) {
      static_cast<void>(::close(fd_));
    }
    if (!name_.empty() && !renamed_) {
      static_cast<void>(::unlink(name_.c_str()));
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  TemporaryFile(TemporaryFile&&) = delete;
  TemporaryFile& operator=(TemporaryFile&&) = delete;

  bool create(const std::filesystem::path& target) {
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    // Hidden, and with its own ending, so a listing of the folder for the
    // target's kind never sees it; the target's name is shortened so that a
    // long one still leaves room.
    std::string base = target.filename().string();
    const std::size_t room = kMaxNameBytes - kTemporaryPrefix.size() - kTemporarySuffix.size();
    base.resize(std::min(base.size(), room));
    std::string name =
        (folder / (std::string(kTemporaryPrefix) + base + std::string(kTemporarySuffix))).string();
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
      return false;
    }
    fd_ = fd;
    name_ = std::move(name);
    return true;
  }

  // mkostemp makes the file private to its owner; give it the target's mode,
  // or for a new file what the umask allows, as an ordinary create would.
  bool setMode(const std::filesystem::path& target) const {
    struct stat info {};
    mode_t mode = 0;
    if (::stat(target.c_str(), &info) == 0) {
      mode = info.st_mode & 07777;
    } else {
      const mode_t mask = ::umask(0);
      ::umask(mask);
      mode = 0666 & ~mask;
    }
    return ::fchmod(fd_, mode) == 0;
  }

  bool writeAll(std::string_view bytes) const {
    while (!bytes.empty()) {
      const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
      if (n < 0 && errno == EINTR) {
        continue;
      }
      if (n <= 0) {
        return false;
      }
      bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
  }

  bool syncAndClose() {
    const bool synced = ::fsync(fd_) == 0;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    return synced && closed;
  }

  bool renameTo(const std::filesystem::path& target) {
    if (::rename(name_.c_str(), target.c_str()) != 0) {
      return false;
    }
    renamed_ = true;
    return true;
  }

 private:
  int fd_ = -1;
  std::string name_;
  bool renamed_ = false;
};

}  // namespace

bool isRegularFile(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

std::optional<std::string> readWholeFile(const std::filesystem::path& path) {
  // O_NONBLOCK keeps a FIFO at that path from blocking the open.
  const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!file.valid()) {
    return std::nullopt;
  }
  struct stat info {};
  if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return std::nullopt;
  }
  std::string bytes;
  std::array<char, kReadChunk> buffer{};
  for (;;) {
    const ssize_t n = ::read(file.get(), buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n < 0) {
      return std::nullopt;
    }
    if (n == 0) {
      break;
    }
    bytes.append(buffer.data(), static_cast<std::size_t>(n));
  }
  return bytes;
}

std::optional<std::string> writeFileSafely(const std::filesystem::path& path,
                                           std::string_view bytes) {
  std::optional<std::string> failure = "Unable to write to " + path.string();
  if (path.empty() || !path.has_filename()) {
    return failure;
  }
  TemporaryFile temporary;
  if (!temporary.create(path) || !temporary.setMode(path) || !temporary.writeAll(bytes) ||
      !temporary.syncAndClose() || !temporary.renameTo(path)) {
    return failure;
  }
  return std::nullopt;
}

}  // namespace korvane::files
