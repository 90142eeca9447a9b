#include "platform/pointer_file/registry_file_sink.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <utility>

#include "settings/code_page.h"
#include "settings/ini_file.h"

namespace korvane::platform {

namespace {

constexpr const char* kFolderName = "KorvaneDriver";
constexpr const char* kFileName = "registry.ini";

std::filesystem::path absoluteFolder(const char* value) {
  if (value == nullptr || *value == '\0') {
    return {};
  }
  std::filesystem::path folder(value);
  return folder.is_absolute() ? folder : std::filesystem::path{};
}

// The values are plain ASCII numbers, so the code page does not matter.
const settings::CodePage kCodePage{settings::CodePageId::Utf8};

}  // namespace

std::filesystem::path registryFilePath(const char* xdgConfigHome, const char* home) {
  std::filesystem::path base = absoluteFolder(xdgConfigHome);
  if (base.empty()) {
    const std::filesystem::path homeFolder = absoluteFolder(home);
    if (homeFolder.empty()) {
      return {};
    }
    base = homeFolder / ".config";
  }
  return base / kFolderName / kFileName;
}

std::filesystem::path defaultRegistryFilePath() {
  return registryFilePath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

RegistryFileSink::RegistryFileSink(std::filesystem::path file) : file_(std::move(file)) {}

bool RegistryFileSink::openKey(std::string_view /*keyPath*/) {
  // No folder to keep the record in (no HOME): there is nothing to name.
  if (file_.empty()) {
    return false;
  }
  return canWrite();
}

bool RegistryFileSink::canWrite() {
  const auto refuse = [this](const std::string& reason) {
    lastError_ = files::FileError{files::FileFailure::Write, file_, reason};
    return false;
  };
  const std::filesystem::path folder = file_.parent_path();
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    return refuse(error.message());
  }
  if (!std::filesystem::is_directory(folder, error)) {
    return refuse(std::make_error_code(std::errc::not_a_directory).message());
  }
  // The file is replaced through a temporary file beside it, so the folder
  // must take new files; an existing path must be a file we may replace.
  if (::access(folder.c_str(), W_OK | X_OK) != 0) {
    return refuse(std::generic_category().message(errno));
  }
  const auto status = std::filesystem::status(file_, error);
  if (error && error != std::errc::no_such_file_or_directory) {
    return refuse(error.message());
  }
  if (status.type() == std::filesystem::file_type::not_found) {
    return true;
  }
  if (status.type() != std::filesystem::file_type::regular) {
    return refuse(std::make_error_code(std::errc::is_a_directory).message());
  }
  // A file we could not read back would lose its other values on the rewrite.
  if (::access(file_.c_str(), R_OK | W_OK) != 0) {
    return refuse(std::generic_category().message(errno));
  }
  return true;
}

void RegistryFileSink::writeString(std::string_view keyPath, std::string_view valueName,
                                   std::string_view text) {
  write(keyPath, valueName, text);
}

void RegistryFileSink::systemParameter(const settings::SystemParameterCall& call) {
  if (!openKey(kSystemParametersSection)) {
    return;
  }
  write(kSystemParametersSection, systemParameterKey(call.action), systemParameterText(call));
}

void RegistryFileSink::write(std::string_view section, std::string_view key,
                             std::string_view text) {
  settings::IniFile ini = settings::IniFile::load(file_, kCodePage);
  // Start-up and every mode switch run the steps again with values the file
  // mostly holds already: those cost one read, not a safe write with its
  // flushes to disk.
  if (ini.hasKey(section, key) && ini.readString(section, key) == text) {
    lastError_.reset();
    return;
  }
  ini.writeString(section, key, text);
  lastError_ = ini.save();
}

std::string systemParameterKey(std::uint32_t action) {
  switch (action) {
    case settings::kSpiSetMouse:
      return "SPI_SETMOUSE";
    case settings::kSpiSetDoubleClickTime:
      return "SPI_SETDOUBLECLICKTIME";
    case settings::kSpiSetWheelScrollLines:
      return "SPI_SETWHEELSCROLLLINES";
    case settings::kSpiSetMouseSpeed:
      return "SPI_SETMOUSESPEED";
    default:
      return "Action" + std::to_string(action);
  }
}

std::string systemParameterText(const settings::SystemParameterCall& call) {
  std::string pv = std::to_string(call.pvValue);
  if (call.pvTriple) {
    const settings::PrecisionTriple& t = *call.pvTriple;
    pv = std::to_string(t[0]) + "," + std::to_string(t[1]) + "," + std::to_string(t[2]);
  }
  // uiParam as the signed number the program remembered, so one screen per
  // notch reads "-1" rather than 4294967295.
  return "uiParam=" + std::to_string(static_cast<std::int32_t>(call.uiParam)) + ";pvParam=" + pv +
         ";fWinIni=" + std::to_string(call.winIni);
}

}  // namespace korvane::platform
