// korvanectl: the command-line companion of KorvaneDriver. It works on the
// same macro folder and configuration files as the window, without a window
// or a mouse.

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/app_state.h"
#include "app/message_texts.h"
#include "cli/companion.h"
#include "cli/mode_report.h"
#include "files/file_io.h"
#include "files/hex.h"
#include "i18n/messages.h"
#include "macros/compiler.h"
#include "macros/library.h"
#include "macros/macro_file.h"
#include "macros/script.h"
#include "paths/folders.h"
#include "platform/hid/hid_backend_factory.h"
#include "settings/code_page.h"
#include "settings/ini_file.h"
#include "settings/mode_layout.h"

namespace {

namespace fs = std::filesystem;
namespace files = korvane::files;
namespace macros = korvane::macros;
namespace app = korvane::app;
namespace cli = korvane::cli;
namespace device = korvane::device;
namespace i18n = korvane::i18n;
namespace settings = korvane::settings;

// Off: the emulated mouse is driven without the pauses a real one needs.
constexpr const char* kEmulatorPacingVariable = "KORVANE_EMULATOR_PACING";

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

constexpr std::string_view kProgram = "korvanectl";

constexpr std::string_view kUsage =
    "Usage: korvanectl [--dir DIR] [--macro-dir DIR] [--emulated [--trace FILE]] COMMAND\n"
    "       korvanectl --help | --version\n"
    "\n"
    "Commands:\n"
    "  status\n"
    "      Print \"mouse VVVV:PPPP firmware N\" (hex ids, decimal version) or\n"
    "      \"no mouse\"; exit 0 or 1.\n"
    "  show [--json]\n"
    "      Print the five modes after the same load step the window runs (the\n"
    "      active mode marked *): report rate, DPI steps (the active level in\n"
    "      brackets), lighting, vibration, the twelve buttons by name (their\n"
    "      bytes in hex when no function has them), then the pointer settings\n"
    "      of the active mode.\n"
    "  apply [--verify]\n"
    "      The window's Apply: the five modes (the active one last), the macros\n"
    "      compiled from the library, the pointer settings (the registry file and\n"
    "      the desktop); a progress line per write on standard error. --verify\n"
    "      then runs verify.\n"
    "  read [--json] [--save]\n"
    "      Read the five modes back from the mouse and print them as show does;\n"
    "      --save writes them into the data files (a backup of the mouse).\n"
    "  verify\n"
    "      Read the five modes back and print every byte that differs from the\n"
    "      stored settings, by field name; exit 0 when all match, 1 otherwise.\n"
    "  macro compile [--endless | --count N | --no-repeat]\n"
    "      Compile the macro library into the mouse's macro blocks and print one\n"
    "      line per block: the block number, a tab, the macro name, a tab and the\n"
    "      128 bytes as 256 upper-case hex digits. The repeat option comes from\n"
    "      GM.ini among the settings files, read as the window reads it\n"
    "      (section GM: CycleMaxFlag=1 repeats without end, CycleFlag=1 repeats\n"
    "      Cycle_Count times) unless one is given:\n"
    "        --endless     repeat without end\n"
    "        --count N     play N times, N from 1 to 9\n"
    "        --no-repeat   no repeat option\n"
    "      A macro with an empty file compiles to an empty block and the ones\n"
    "      after it still compile; blocks with no macro behind them are zeros.\n"
    "  macro decrypt FILE\n"
    "      Print the script lines of a macro file (.spm).\n"
    "  macro encrypt\n"
    "      Read script lines on standard input and write the macro file content\n"
    "      (one enciphered line per script line, CR LF) on standard output;\n"
    "      input larger than a macro file may be (1 MiB) is refused unread.\n"
    "\n"
    "Options:\n"
    "  --dir DIR        a start folder holding configure/ (portable use)\n"
    "  --macro-dir DIR  the macro folder\n"
    "  --emulated       use the emulated mouse (as KORVANE_DEVICE=emulated); it\n"
    "                   keeps what it is sent until korvanectl ends\n"
    "  --trace FILE     with --emulated: append the emulator's transfer trace\n"
    "                   to FILE (the KORVANE_EMULATOR_TRACE format)\n"
    "  -h, --help       show this help\n"
    "  --version        show the version\n"
    "\n"
    "Folders: as the window finds them. Started from a folder that holds skins/\n"
    "and configure/, that folder and the folder \"Macro\" beside korvanectl;\n"
    "otherwise the user's own: $XDG_CONFIG_HOME/korvane-driver/configure and\n"
    "data (default ~/.config) and $XDG_DATA_HOME/korvane-driver/Macro (default\n"
    "~/.local/share).\n"
    "\n"
    "No command writes a file except apply (the pointer settings, also the\n"
    "desktop's), read --save and the macro commands. korvanectl reads the live\n"
    "files as they are: it does not make missing ones from the Default_ files\n"
    "as the window does.\n"
    "\n"
    "Exit status: 0 on success, 1 when a command fails (no mouse, a missing\n"
    "start folder, a failed write or read, a file that cannot be read, a line\n"
    "that is not hex, a macro that does not fit), 2 on a usage error.\n";

struct Options {
  std::optional<fs::path> startDir;  // --dir: a portable start folder
  std::optional<fs::path> macroDir;
  std::vector<std::string> words;  // the command and its operands
  std::optional<macros::RepeatOption> repeat;
  bool help = false;
  bool version = false;
  bool emulated = false;
  std::optional<std::string> trace;
  bool json = false;
  bool verify = false;
  bool save = false;
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

korvane::cli::Setup setupFor(const Options& options, const char* argv0) {
  korvane::cli::Setup setup;
  // The window's folder rule, unless --dir names a portable start folder.
  const korvane::paths::FolderEnvironment environment = korvane::paths::processEnvironment(argv0);
  setup.folders = options.startDir ? korvane::paths::portableFolders(*options.startDir, environment)
                                   : korvane::paths::decideFolders(environment);
  setup.macroDir = options.macroDir;
  setup.emulated = options.emulated;
  setup.traceFile = options.trace;
  return setup;
}

bool usesEmulatedMouse(const Options& options) {
  return options.emulated || korvane::platform::hidChoiceFromEnvironment().emulated;
}

// The mouse needs its pauses; the emulated one can do without them when
// KORVANE_EMULATOR_PACING=off (tests), a real mouse never does.
bool pacing(const Options& options) {
  const char* value = std::getenv(kEmulatorPacingVariable);
  return !(usesEmulatedMouse(options) && value != nullptr && std::string_view(value) == "off");
}

std::string text(const app::MainWindowModel& model, i18n::Message message,
                 std::initializer_list<std::string_view> args = {}) {
  return app::LoadMessageText(model.state(), message, args);
}

// What the library reports as data, in the command line's English words.
std::string describe(const files::FileError& error) {
  std::string text;
  switch (error.failure) {
    case files::FileFailure::Read:
      text = "Unable to read ";
      break;
    case files::FileFailure::Write:
      text = "Unable to write to ";
      break;
    case files::FileFailure::List:
      text = "Unable to list ";
      break;
    case files::FileFailure::Delete:
      text = "Unable to delete ";
      break;
    case files::FileFailure::WrongType:
      text = "Not a macro file: ";
      break;
    case files::FileFailure::KeptTooLarge:
      return error.path.string() + " is larger than " + std::string(files::kMaxFileSizeText) +
             " and was not read, so it was not replaced";
    case files::FileFailure::KeptUnreadable:
      return error.path.string() + " could not be read" +
             (error.reason.empty() ? std::string() : " (" + error.reason + ")") +
             ", so it was not replaced";
    case files::FileFailure::KeptNotOurs:
      return error.path.string() + " has no [" + error.reason +
             "] section: it is not a file of this program, so nothing was written to it";
    case files::FileFailure::KeptUndecipherable:
      return error.path.string() + " could not be deciphered, so it was not replaced";
  }
  text += error.path.string();
  if (!error.reason.empty()) {
    text += ": " + error.reason;
  }
  return text;
}

std::string describe(const macros::CompileError& error) {
  std::string text = "Macro \"" + error.macroName + "\": ";
  switch (error.kind) {
    case macros::CompileError::Kind::Unreadable:
      return text + (error.file ? describe(*error.file) : std::string("unreadable"));
    case macros::CompileError::Kind::Script:
      return text + error.detail;
    case macros::CompileError::Kind::TooLong:
      return text + "it does not fit in the mouse's " + std::to_string(macros::kMacroBlockSize) +
             "-byte macro block (it needs " + std::to_string(error.bytesNeeded) + " bytes)";
  }
  return text;
}

std::string hexId(std::uint32_t id) {
  const std::array<std::uint8_t, 2> bytes = {static_cast<std::uint8_t>(id >> 8),
                                             static_cast<std::uint8_t>(id & 0xFF)};
  return files::toHex(bytes);
}

// The five modes as the mouse holds them (read-mode commands 0x81..0x85);
// nothing, after the message, when a read fails.
std::optional<std::array<settings::ModeBlock, settings::kModeCount>> readModes(
    app::MainWindowModel& model, cli::TerminalHost& host) {
  std::array<settings::ModeBlock, settings::kModeCount> blocks{};
  model.clearTransferFailure();
  for (int mode = 1; mode <= settings::kModeCount; ++mode) {
    model.deviceLink().ReadMode(mode, blocks[static_cast<std::size_t>(mode - 1)]);
    if (model.session().TransferFailed) {
      host.messageBox(text(model, i18n::Message::ReadFailedMode, {std::to_string(mode)}));
      return std::nullopt;
    }
  }
  return blocks;
}

// Every byte the mouse holds differently from the stored block of the load
// step, by field name.
int verifyModes(app::MainWindowModel& model, cli::TerminalHost& host) {
  const auto read = readModes(model, host);
  if (!read) {
    return finish(kExitFailure);
  }
  bool differs = false;
  for (int mode = 1; mode <= settings::kModeCount; ++mode) {
    const settings::ModeBlock& stored = model.blocks.storedBlock(mode);
    const settings::ModeBlock& held = (*read)[static_cast<std::size_t>(mode - 1)];
    for (std::size_t i = 0; i < stored.size(); ++i) {
      if (stored[i] == held[i]) {
        continue;
      }
      differs = true;
      const std::array<std::uint8_t, 1> was = {stored[i]};
      const std::array<std::uint8_t, 1> is = {held[i]};
      writeOut(text(model, i18n::Message::ModeDiffers,
                    {std::to_string(mode), settings::modeFieldName(i), files::toHex(was),
                     files::toHex(is)}) +
               "\n");
    }
  }
  if (!differs) {
    writeOut(text(model, i18n::Message::ModesMatch) + "\n");
  }
  return finish(differs ? kExitFailure : kExitOk);
}

// A macro folder named on the command line must be there: a mistyped one
// would compile an empty library and send the mouse ten empty macros. The
// message, when it is missing, in the language files among the resources.
std::optional<std::string> missingMacroFolder(const Options& options, app::MainWindowModel& model) {
  std::error_code error;
  if (!options.macroDir || fs::is_directory(*options.macroDir, error)) {
    return std::nullopt;
  }
  model.useResourceFolders();
  return text(model, i18n::Message::MacroFolderMissing, {options.macroDir->string()});
}

enum class DeviceCommand { Status, Show, Apply, Read, Verify };

int companionCommand(const Options& options, const char* argv0, DeviceCommand command) {
  korvane::cli::Setup setup = setupFor(options, argv0);
  setup.applyPointerSettings = command == DeviceCommand::Apply;
  cli::TerminalHost host(std::cerr, ::isatty(STDERR_FILENO) == 1, pacing(options));
  cli::Companion companion(setup, host);
  app::MainWindowModel& model = companion.model();
  // The folder the settings come from: the start folder when portable, the
  // user's settings folder when installed (made by the window's first start).
  const fs::path settingsFolder = setup.folders.mode == korvane::paths::FolderMode::Portable
                                      ? setup.folders.resourceDir
                                      : setup.folders.configDir;
  std::error_code folderError;
  if (command != DeviceCommand::Status && !fs::is_directory(settingsFolder, folderError)) {
    // The messages come from the language files among the resources, so
    // this one is the built-in text.
    model.useResourceFolders();
    return failure(text(model, i18n::Message::StartFolderMissing, {settingsFolder.string()}));
  }
  if (const std::optional<std::string> message = missingMacroFolder(options, model)) {
    return failure(*message);
  }
  companion.start();
  // Read from the language file once: a line per write must not read it
  // again each time.
  host.setProgressText([progress = text(model, i18n::Message::WriteProgress)](int done, int total) {
    return i18n::fillMessage(progress, {std::to_string(done), std::to_string(total)});
  });

  if (command == DeviceCommand::Show) {
    writeOut(cli::formatModes(model, model.blocks.stored, {options.json, true}));
    return finish(kExitOk);
  }
  const bool found = companion.connect();
  if (command == DeviceCommand::Status) {
    if (!found) {
      writeOut("no mouse\n");
      return finish(kExitFailure);
    }
    std::string line =
        "mouse " + hexId(model.session().VendorId) + ":" + hexId(model.session().ProductId);
    // A mouse that did not answer the version command has no version to show.
    if (!model.session().TransferFailed) {
      line += " firmware " + std::to_string(model.session().FirmwareVersion);
    }
    writeOut(line + "\n");
    return finish(model.session().TransferFailed ? kExitFailure : kExitOk);
  }
  if (!found) {
    return failure(text(model, i18n::Message::NoMouse));
  }
  if (command == DeviceCommand::Apply) {
    // Apply hands the pointer settings over only after its last write.
    companion.openPointerSettings();
    // Apply's own message named what failed, a refused pointer record among it.
    if (model.ApplyClick() != device::ApplyOutcome::Completed) {
      return finish(kExitFailure);
    }
    return options.verify ? verifyModes(model, host) : finish(kExitOk);
  }
  if (command == DeviceCommand::Verify) {
    return verifyModes(model, host);
  }
  const auto read = readModes(model, host);
  if (!read) {
    return finish(kExitFailure);
  }
  writeOut(cli::formatModes(model, *read, {options.json, false}));
  if (options.save) {
    // A backup of what the mouse holds, into the data files, written safely.
    model.FormActivate();  // saving is allowed from here on
    for (int mode = 1; mode <= settings::kModeCount; ++mode) {
      if (const std::optional<std::string> error =
              model.keepModeFromMouse(mode, (*read)[static_cast<std::size_t>(mode - 1)])) {
        return failAfterOutput(*error);
      }
    }
  }
  return finish(kExitOk);
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
    } else if (arg == "--version") {
      options.version = true;
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
    } else if (arg == "--emulated") {
      options.emulated = true;
    } else if (arg == "--json") {
      options.json = true;
    } else if (arg == "--verify") {
      options.verify = true;
    } else if (arg == "--save") {
      options.save = true;
    } else if (arg == "--trace") {
      const std::optional<std::string_view> file = value();
      if (!file) {
        return UsageError{"--trace needs a file"};
      }
      options.trace = std::string(*file);
    } else {
      return UsageError{"unknown option " + std::string(arg)};
    }
  }
  return std::nullopt;
}

int compileCommand(const Options& options, const char* argv0) {
  korvane::cli::TerminalHost host(std::cerr, false, false);
  korvane::cli::Companion companion(setupFor(options, argv0), host);
  if (const std::optional<std::string> message = missingMacroFolder(options, companion.model())) {
    return failure(*message);
  }
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
    return failAfterOutput(describe(*outcome.error));
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
  if (read.readError) {
    return failAfterOutput(describe(*read.readError));
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
    // Refused as a macro file of that size would be, before more is read.
    if (input.size() + static_cast<std::size_t>(n) > files::kMaxFileBytes) {
      return failure("standard input is larger than " + std::string(files::kMaxFileSizeText) +
                     " and was not read");
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
  if (options.version) {
    writeOut(std::string(kProgram) + " " + KORVANE_VERSION + "\n");
    return finish(kExitOk);
  }
  const std::vector<std::string>& words = options.words;
  if (words.empty()) {
    return usageFailure("no command given");
  }
  const std::string& name = words[0];
  if (name != "macro") {
    static const std::array<std::pair<std::string_view, DeviceCommand>, 5> kCommands = {{
        {"status", DeviceCommand::Status},
        {"show", DeviceCommand::Show},
        {"apply", DeviceCommand::Apply},
        {"read", DeviceCommand::Read},
        {"verify", DeviceCommand::Verify},
    }};
    const auto found = std::find_if(kCommands.begin(), kCommands.end(),
                                    [&name](const auto& entry) { return entry.first == name; });
    if (found == kCommands.end()) {
      return usageFailure("unknown command " + name);
    }
    const DeviceCommand command = found->second;
    if (words.size() != 1) {
      return usageFailure(name + " takes no operands");
    }
    if (options.repeat) {
      return usageFailure("--endless, --count and --no-repeat belong to macro compile");
    }
    if (options.json && command != DeviceCommand::Show && command != DeviceCommand::Read) {
      return usageFailure("--json belongs to show and read");
    }
    if (options.verify && command != DeviceCommand::Apply) {
      return usageFailure("--verify belongs to apply");
    }
    if (options.save && command != DeviceCommand::Read) {
      return usageFailure("--save belongs to read");
    }
    if (options.trace && !usesEmulatedMouse(options)) {
      return usageFailure("--trace needs the emulated mouse (--emulated)");
    }
    return companionCommand(options, argv[0], command);
  }
  if (options.json || options.verify || options.save) {
    return usageFailure("--json, --verify and --save do not belong to macro commands");
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
