#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace korvane::platform {

// "set-feature 00 C0 00 ..." : the kind, then every byte of the report as
// sent or received, report-id byte first, upper-case hex.
std::string formatTraceLine(std::string_view kind, std::span<const std::uint8_t> bytes);

// A file that gets one line per transfer, appended and flushed at once so a
// test driving the running program can read it at any time.
class TraceFile {
 public:
  explicit TraceFile(const std::string& path);

  // False once the file could not be opened or written; tracing then stops.
  bool good() const { return file_ != nullptr; }
  void append(std::string_view kind, std::span<const std::uint8_t> bytes);

 private:
  struct Closer {
    void operator()(std::FILE* file) const;
  };
  std::string path_;
  std::unique_ptr<std::FILE, Closer> file_;
};

}  // namespace korvane::platform
