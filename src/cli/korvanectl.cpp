// korvanectl: the command-line companion of KorvaneDriver. It works on the
// same macro folder and configuration files as the window, without a window
// or a mouse.

#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/app_state.h"
#include "cli/companion.h"
#include "files/file_io.h"
#include "files/hex.h"
#include "macros/compiler.h"
#include "macros/library.h"
#include "macros/macro_file.h"
#include "macros/script.h"
#include "settings/code_page.h"
#include "settings/ini_file.h"

namespace {

namespace fs = std::filesystem;
namespace files = korvane::files;
namespace macros = korvane::macros;
namespace app = korvane::app;

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

constexpr std::string_view kProgram = "korvanectl";

constexpr std::string_view kUsage =
    "Usage: korvanectl [--dir DIR] [--macro-dir DIR] COMMAND\n"
    "\n"
    "Commands:\n"
    "  macro compile [--endless | --count N | --no-repeat]\n"
    "      Compile the macro library into the mouse's macro blocks and print one\n"
    "      line per block: the block number, a tab, the macro name, a tab and the\n"
    "      128 bytes as 256 upper-case hex digits. The repeat option comes from\n"
    "      configure/GM.ini in the start folder, read as the window reads it\n"
    "      (section GM: CycleMaxFlag=1 repeats without end, CycleFlag=1 repeats\n"
    "      Cycle_Count times) unless one is given:\n"
    "        --endless     repeat without end\n"
    "        --count N     play N times, N from 1 to 9\n"
    "        --no-repeat   no repeat option\n"
    "      Compilation stops quietly at the first macro with an empty file.\n"
    "  macro decrypt FILE\n"
    "      Print the script lines of a macro file (.spm).\n"
    "  macro encrypt\n"
    "      Read script lines on standard input and write the macro file content\n"
    "      (one enciphered line per script line, CR LF) on standard output.\n"
    "\n"
    "Options:\n"
    "  --dir DIR        the start folder (default: the current directory)\n"
    "  --macro-dir DIR  the macro folder (default: the folder \"Macro\" beside\n"
    "                   the korvanectl executable)\n"
    "  -h, --help       show this help\n"
    "\n"
    "Exit status: 0 on success, 1 when a command fails (a file that cannot be\n"
    "read, a line that is not hex, a macro that does not fit), 2 on a usage error.\n";

struct Options {
  fs::path startDir = korvane::app::defaultStartFolder();
  std::optional<fs::path> macroDir;
  std::vector<std::string> words;  // the command and its operands
  std::optional<macros::RepeatOption> repeat;
  bool help = false;
};

struct UsageError {
  std::string message;
};

int usageFailure(std::string_view message) {
  std::cerr << kProgram << ": " << message << "\n\n" << kUsage;
  return kExitUsage;
}

int failure(std::string_view message) {
  std::cerr << kProgram << ": " << message << "\n";
  return kExitFailure;
}

bool writeOut(std::string_view bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
}

// Flushes standard output; false when any write to it failed on the way.
bool flushOut() {
  return std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
}

int finish(int status) {
  if (!flushOut()) {
    return failure("unable to write to standard output");
  }
  return status;
}

// What was printed before a failure goes out first; the failure's own
// message is what matters then, so a failing flush adds nothing to it.
int failAfterOutput(std::string_view message) {
  static_cast<void>(flushOut());
  return failure(message);
}

fs::path executablePath(const char* argv0) {
  std::error_code error;
  fs::path executable = fs::read_symlink("/proc/self/exe", error);
  if (error) {
    executable = fs::absolute(argv0, error);
  }
  return executable;
}

korvane::cli::Setup setupFor(const Options& options, const char* argv0) {
  korvane::cli::Setup setup;
  setup.startDir = options.startDir;
  setup.macroDir = options.macroDir;
  setup.executable = executablePath(argv0);
  return setup;
}

std::optional<UsageError> setRepeat(Options& options, macros::RepeatOption repeat,
                                    std::string_view option) {
  if (options.repeat) {
    return UsageError{"only one of --endless, --count and --no-repeat may be given (" +
                      std::string(option) + ")"};
  }
  options.repeat = std::move(repeat);
  return std::nullopt;
}

std::optional<UsageError> parse(int argc, char** argv, Options& options) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (optionsEnded || arg.empty() || arg.front() != '-' || arg == "-") {
      options.words.emplace_back(arg);
      continue;
    }
    // The operand of an option: the next argument.
    const auto value = [&]() -> std::optional<std::string_view> {
      if (i + 1 >= args.size()) {
        return std::nullopt;
      }
      return args[++i];
    };
    if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "-h" || arg == "--help") {
      options.help = true;
    } else if (arg == "--dir" || arg == "--macro-dir") {
      const std::optional<std::string_view> folder = value();
      if (!folder) {
        return UsageError{std::string(arg) + " needs a folder"};
      }
      if (arg == "--dir") {
        options.startDir = fs::path(*folder);
      } else {
        options.macroDir = fs::path(*folder);
      }
    } else if (arg == "--endless") {
      macros::RepeatOption repeat;
      repeat.endless = true;
      if (auto error = setRepeat(options, repeat, arg)) {
        return error;
      }
    } else if (arg == "--no-repeat") {
      if (auto error = setRepeat(options, macros::RepeatOption{}, arg)) {
        return error;
      }
    } else if (arg == "--count") {
      const std::optional<std::string_view> count = value();
      if (!count || count->size() != 1 || (*count)[0] < '1' || (*count)[0] > '9') {
        return UsageError{"--count needs a number from 1 to 9"};
      }
      macros::RepeatOption repeat;
      repeat.counted = true;
      repeat.count = std::string(*count);
      if (auto error = setRepeat(options, repeat, arg)) {
        return error;
      }
    } else {
      return UsageError{"unknown option " + std::string(arg)};
    }
  }
  return std::nullopt;
}

int compileCommand(const Options& options, const char* argv0) {
  korvane::cli::TerminalHost host(std::cerr, false, false);
  korvane::cli::Companion companion(setupFor(options, argv0), host);
  // The library and the repeat option as the window has them after start-up.
  companion.start();
  if (!host.messages().empty()) {
    return kExitFailure;
  }
  const app::MacroPage& page = companion.model().macro;
  const macros::RepeatOption repeat = options.repeat ? *options.repeat : page.repeatOption();
  macros::MacroBlocks blocks{};
  const macros::CompileOutcome outcome = page.compileAll(blocks, repeat);
  for (const macros::CompiledMacro& compiled : outcome.written) {
    const std::string line = std::to_string(compiled.block) + "\t" + compiled.name + "\t" +
                             files::toHex(blocks[static_cast<std::size_t>(compiled.block)]) + "\n";
    if (!writeOut(line)) {
      break;
    }
  }
  if (outcome.error) {
    return failAfterOutput(outcome.error->message);
  }
  return finish(kExitOk);
}

int decryptCommand(const fs::path& file) {
  const macros::MacroFileRead read = macros::readMacroFile(file);
  for (const std::string& line : read.script) {
    if (!writeOut(line) || !writeOut("\n")) {
      break;
    }
  }
  if (read.error) {
    return failAfterOutput(file.string() + ": " + *read.error);
  }
  return finish(kExitOk);
}

int encryptCommand() {
  // Read through the descriptor: a stream takes a failed read (standard input
  // a folder, or closed) for the end of an empty input.
  std::string input;
  std::array<char, 4096> buffer{};
  for (;;) {
    const ssize_t n = ::read(STDIN_FILENO, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n < 0) {
      return failure(std::string("unable to read standard input: ") + std::strerror(errno));
    }
    if (n == 0) {
      break;
    }
    input.append(buffer.data(), static_cast<std::size_t>(n));
  }
  writeOut(macros::encodeMacroFile(macros::splitFileLines(input)));
  return finish(kExitOk);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (const std::optional<UsageError> error = parse(argc, argv, options)) {
    return usageFailure(error->message);
  }
  if (options.help) {
    writeOut(kUsage);
    return finish(kExitOk);
  }
  const std::vector<std::string>& words = options.words;
  if (words.empty()) {
    return usageFailure("no command given");
  }
  if (words[0] != "macro") {
    return usageFailure("unknown command " + words[0]);
  }
  if (words.size() < 2) {
    return usageFailure("macro needs a command: compile, decrypt or encrypt");
  }
  const std::string& command = words[1];
  if (options.repeat && command != "compile") {
    return usageFailure("--endless, --count and --no-repeat belong to macro compile");
  }
  if (command == "compile" && words.size() == 2) {
    return compileCommand(options, argv[0]);
  }
  if (command == "decrypt" && words.size() == 3) {
    return decryptCommand(words[2]);
  }
  if (command == "encrypt" && words.size() == 2) {
    return encryptCommand();
  }
  if (command == "compile" || command == "decrypt" || command == "encrypt") {
    return usageFailure("wrong number of operands for macro " + command);
  }
  return usageFailure("unknown command macro " + command);
}
