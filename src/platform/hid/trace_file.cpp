#include "platform/hid/trace_file.h"

#include <iostream>

#include "files/hex.h"

namespace korvane::platform {

std::string formatTraceLine(std::string_view kind, std::span<const std::uint8_t> bytes) {
  std::string line(kind);
  line.reserve(kind.size() + 3 * bytes.size());
  for (const std::uint8_t byte : bytes) {
    line += ' ';
    files::appendHex(line, byte);
  }
  return line;
}

void TraceFile::Closer::operator()(std::FILE* file) const {
  if (std::fclose(file) != 0) {
    std::cerr << "The transfer trace could not be closed\n";
  }
}

TraceFile::TraceFile(const std::string& path) : path_(path), file_(std::fopen(path.c_str(), "a")) {
  if (file_ == nullptr) {
    std::cerr << "The transfer trace " << path_ << " could not be opened\n";
  }
}

void TraceFile::append(std::string_view kind, std::span<const std::uint8_t> bytes) {
  if (file_ == nullptr) {
    return;
  }
  const std::string line = formatTraceLine(kind, bytes) + '\n';
  if (std::fputs(line.c_str(), file_.get()) == EOF || std::fflush(file_.get()) != 0) {
    std::cerr << "The transfer trace " << path_ << " could not be written; tracing stops\n";
    file_.reset();
  }
}

}  // namespace korvane::platform
