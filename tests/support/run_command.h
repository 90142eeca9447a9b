#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace korvane::testing {

struct CommandRun {
  int status = -1;  // the exit status, -1 when the program did not exit
  std::string out;
  std::string err;
};

// Runs a shell command line and collects its output and exit status; the
// command's standard error goes to `errFile` and is read back from there.
inline CommandRun runCommand(const std::string& commandLine, const std::filesystem::path& errFile) {
  const std::string command = commandLine + " 2>'" + errFile.string() + "'";
  CommandRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) {
    ADD_FAILURE() << "popen failed";
    return run;
  }
  std::array<char, 4096> buffer{};
  std::size_t n = 0;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
    run.out.append(buffer.data(), n);
  }
  const int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.err = TempDir::readFile(errFile);
  return run;
}

}  // namespace korvane::testing
