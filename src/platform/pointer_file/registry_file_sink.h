#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "files/file_io.h"
#include "settings/pointer_settings.h"

namespace korvane::platform {

// Where the per-user registry file lives: $XDG_CONFIG_HOME/KorvaneDriver/
// registry.ini, else $HOME/.config/KorvaneDriver/registry.ini. A relative
// XDG_CONFIG_HOME is ignored, as the base-directory rules say. Empty when
// neither variable gives an absolute folder. Null arguments count as unset.
std::filesystem::path registryFilePath(const char* xdgConfigHome, const char* home);
// The same from the process environment.
std::filesystem::path defaultRegistryFilePath();

// The pointer settings of the current user kept in an INI file, one section
// per registry key ("[Control Panel\Mouse]"), so they persist as the
// registry would. The desktop has no common equivalent of the system-
// parameter calls, so the last call of each action is kept in the section
// "[SystemParametersInfo]" of the same file, where it can be seen.
class RegistryFileSink : public settings::PointerSettingsSink {
 public:
  explicit RegistryFileSink(std::filesystem::path file);

  // Creates the missing configuration folder; a folder or file that cannot
  // be written makes the key one that cannot be opened, and that refusal
  // the last error.
  bool openKey(std::string_view keyPath) override;
  void writeString(std::string_view keyPath, std::string_view valueName,
                   std::string_view text) override;
  void systemParameter(const settings::SystemParameterCall& call) override;

  const std::filesystem::path& file() const { return file_; }
  std::optional<files::FileError> lastError() const override { return lastError_; }

 private:
  bool canWrite();
  void write(std::string_view section, std::string_view key, std::string_view text);

  std::filesystem::path file_;
  std::optional<files::FileError> lastError_;
};

// The key under which a system-parameter call is kept ("SPI_SETMOUSESPEED"),
// and its text ("uiParam=0;pvParam=14;fWinIni=2", a triple as "6,10,1").
inline constexpr std::string_view kSystemParametersSection = "SystemParametersInfo";
std::string systemParameterKey(std::uint32_t action);
std::string systemParameterText(const settings::SystemParameterCall& call);

}  // namespace korvane::platform
