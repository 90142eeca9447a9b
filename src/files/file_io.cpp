#include "files/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <system_error>
#include <utility>

namespace korvane::files {

namespace {

constexpr std::size_t kReadChunk = 4096;
constexpr std::size_t kMaxNameBytes = 255;
constexpr std::string_view kTemporaryPrefix = ".";
constexpr std::string_view kTemporarySuffix = ".tmp-XXXXXX";
constexpr std::string_view kTemporaryMarker = ".tmp-";
constexpr std::size_t kTemporaryRandomLength = 6;
// As many links as the system follows in one path before it gives up (ELOOP).
constexpr int kMaxLinkDepth = 40;

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

// The folder a file is written in.
std::filesystem::path folderOf(const std::filesystem::path& file) {
  return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

// The file a write lands in: the path itself, or the last target of a chain
// of symbolic links, so that the link stays and its target gets the content.
// A missing path is written as it is.
std::optional<std::filesystem::path> resolveLinks(std::filesystem::path path, int& error) {
  for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
      return path;
    }
    std::error_code failure;
    const std::filesystem::path target = std::filesystem::read_symlink(path, failure);
    if (failure) {
      error = failure.value();
      return std::nullopt;
    }
    path = target.is_absolute() ? target : folderOf(path) / target;
  }
  error = ELOOP;
  return std::nullopt;
}

// The name of the target a temporary file is made for: shortened so that
// the temporary name fits in a folder entry.
std::string temporaryBase(const std::filesystem::path& target) {
  std::string base = target.filename().string();
  const std::size_t room = kMaxNameBytes - kTemporaryPrefix.size() - kTemporarySuffix.size();
  base.resize(std::min(base.size(), room));
  return base;
}

// ".<base>.tmp-XXXXXX", the name mkostemp gives a temporary file of a write
// of that target; a temporary file of any other name is not ours to remove.
bool isTemporaryNameOf(std::string_view name, std::string_view base) {
  const std::size_t head = kTemporaryPrefix.size() + base.size() + kTemporaryMarker.size();
  if (name.size() != head + kTemporaryRandomLength || !name.starts_with(kTemporaryPrefix) ||
      name.substr(kTemporaryPrefix.size(), base.size()) != base ||
      name.substr(head - kTemporaryMarker.size(), kTemporaryMarker.size()) != kTemporaryMarker) {
    return false;
  }
  const std::string_view random = name.substr(head);
  return std::all_of(random.begin(), random.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  });
}

class Folder {
 public:
  explicit Folder(const std::filesystem::path& path) : dir_(::opendir(path.c_str())) {}
  ~Folder() {
    if (dir_ != nullptr) {
      static_cast<void>(::closedir(dir_));
    }
  }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;
  Folder(Folder&&) = delete;
  Folder& operator=(Folder&&) = delete;

  DIR* get() const { return dir_; }

 private:
  DIR* dir_;
};

// Removes the temporary files that killed writes of this target left beside
// it: named after the target, ours by owner, and no longer locked by a live
// write (every write holds a lock on its temporary file until the rename).
// Leftovers of other files, which may be another program's, stay. Nothing here
// is an error: what cannot be removed stays for the next write.
void removeStaleTemporaries(const std::filesystem::path& target) {
  const std::string base = temporaryBase(target);
  const Folder dir(folderOf(target));
  if (dir.get() == nullptr) {
    return;
  }
  const int dirFd = ::dirfd(dir.get());
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (!isTemporaryNameOf(name, base)) {
      continue;
    }
    const FileDescriptor file(
        ::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!file.valid() || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_uid != ::geteuid() || ::flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
      continue;
    }
    static_cast<void>(::unlinkat(dirFd, entry->d_name, 0));
  }
}

// The temporary file of a safe write: locked while it lives, closed and
// removed unless the rename took it. Every failing step keeps errno.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  ~TemporaryFile() {
    if (!name_.empty() && !renamed_) {
      static_cast<void>(::unlink(name_.c_str()));
    }
    if (fd_ >= 0) {
      static_cast<void>(::close(fd_));
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  TemporaryFile(TemporaryFile&&) = delete;
  TemporaryFile& operator=(TemporaryFile&&) = delete;

  int error() const { return error_; }

  bool create(const std::filesystem::path& target) {
    // Hidden, and with its own ending, so a listing of the folder for the
    // target's kind never sees it; the target's name is shortened so that a
    // long one still leaves room.
    std::string name = (folderOf(target) / (std::string(kTemporaryPrefix) + temporaryBase(target) +
                                            std::string(kTemporarySuffix)))
                           .string();
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
      return fail();
    }
    fd_ = fd;
    name_ = std::move(name);
    // The lock tells a cleaning write in another process that this one lives.
    return ::flock(fd_, LOCK_EX | LOCK_NB) == 0 || fail();
  }

  // mkostemp makes the file private to its owner; give it the target's mode,
  // or for a new file what the umask allows, as an ordinary create would.
  bool setMode(const std::filesystem::path& target) {
    struct stat info {};
    mode_t mode = 0;
    if (::stat(target.c_str(), &info) == 0) {
      mode = info.st_mode & 07777;
    } else {
      const mode_t mask = ::umask(0);
      ::umask(mask);
      mode = 0666 & ~mask;
    }
    return ::fchmod(fd_, mode) == 0 || fail();
  }

  bool writeAll(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
      if (n < 0 && errno == EINTR) {
        continue;
      }
      if (n < 0) {
        return fail();
      }
      if (n == 0) {
        error_ = EIO;
        return false;
      }
      bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
  }

  bool sync() { return ::fsync(fd_) == 0 || fail(); }

  bool renameTo(const std::filesystem::path& target) {
    if (::rename(name_.c_str(), target.c_str()) != 0) {
      return fail();
    }
    renamed_ = true;
    return true;
  }

  // The rename is an entry of the folder: flushed too, so that after a crash
  // the folder names the new file. File systems that cannot flush a folder
  // say so with EINVAL; that is not a failure of the write.
  bool syncFolder(const std::filesystem::path& target) {
    const FileDescriptor folder(
        ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid()) {
      return fail();
    }
    return ::fsync(folder.get()) == 0 || errno == EINVAL || fail();
  }

  bool close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0 || fail();
  }

 private:
  bool fail() {
    error_ = errno;
    return false;
  }

  int fd_ = -1;
  std::string name_;
  bool renamed_ = false;
  int error_ = 0;
};

}  // namespace

bool isRegularFile(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

FileContent readFile(const std::filesystem::path& path, std::size_t maxBytes) {
  FileContent content;
  // O_NONBLOCK keeps a FIFO at that path from blocking the open.
  const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  const auto unreadable = [&content](int error) {
    content.unreadable = true;
    content.reason = std::strerror(error);
    return content;
  };
  if (!file.valid()) {
    // Missing (a dangling link too) is the normal absence; anything else
    // means a file is there that the program cannot see into.
    if (errno == ENOENT || errno == ENOTDIR) {
      return content;
    }
    return unreadable(errno);
  }
  struct stat info {};
  if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return content;
  }
  if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
    content.tooLarge = true;
    return content;
  }
  std::string bytes;
  std::array<char, kReadChunk> buffer{};
  for (;;) {
    const ssize_t n = ::read(file.get(), buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n < 0) {
      return unreadable(errno);
    }
    if (n == 0) {
      break;
    }
    // A file that grows while it is read is held to the same limit.
    if (bytes.size() + static_cast<std::size_t>(n) > maxBytes) {
      content.tooLarge = true;
      return content;
    }
    bytes.append(buffer.data(), static_cast<std::size_t>(n));
  }
  content.bytes = std::move(bytes);
  return content;
}

bool isTooLargeToRead(const std::filesystem::path& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         static_cast<std::uintmax_t>(info.st_size) > kMaxFileBytes;
}

std::optional<std::string> readWholeFile(const std::filesystem::path& path) {
  return readFile(path).bytes;
}

std::string WriteFailure::message() const {
  return "Unable to write to " + path.string() + ": " + reason;
}

std::optional<WriteFailure> replaceFile(const std::filesystem::path& path, std::string_view bytes) {
  const auto failure = [&path](int error) {
    return WriteFailure{path, std::strerror(error != 0 ? error : EIO)};
  };
  if (path.empty() || !path.has_filename()) {
    return failure(EINVAL);
  }
  int linkError = 0;
  const std::optional<std::filesystem::path> target = resolveLinks(path, linkError);
  if (!target) {
    return failure(linkError);
  }
  removeStaleTemporaries(*target);
  TemporaryFile temporary;
  // Closed only after the rename, so the lock covers the whole write.
  if (!temporary.create(*target) || !temporary.setMode(*target) || !temporary.writeAll(bytes) ||
      !temporary.sync() || !temporary.renameTo(*target) || !temporary.syncFolder(*target) ||
      !temporary.close()) {
    return failure(temporary.error());
  }
  return std::nullopt;
}

std::optional<FileError> writeFileSafely(const std::filesystem::path& path,
                                         std::string_view bytes) {
  if (std::optional<WriteFailure> failure = replaceFile(path, bytes)) {
    return FileError{FileFailure::Write, failure->path, failure->reason};
  }
  return std::nullopt;
}

}  // namespace korvane::files
