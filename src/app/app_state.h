#pragma once

#include <filesystem>
#include <string>

namespace korvane::app {

// The folder rule, shared by the window and korvanectl: resources (skins,
// configuration, data, language and theme files) live under the start
// folder, the user's macros in "Macro" beside the executable.
inline constexpr const char* kSkinFolder = "skins";
inline constexpr const char* kConfigFolder = "configure";
inline constexpr const char* kDataFolder = "data";
inline constexpr const char* kLanguageFolder = "Language";
inline constexpr const char* kMacroFolder = "Macro";

// The start folder of a program given none: the current directory.
std::filesystem::path defaultStartFolder();

// Folders and start-up flags shared by the whole program.
struct AppState {
  std::string StartDir;
  std::string SkinDir;
  std::string ImageExt = "png";
  std::string ConfigDir;
  std::string DataDir;
  std::string LanguageDir;
  std::string ProgramDir;  // ends with a separator
  std::string MacroDir;    // ends with a separator

  // While set, no INI file is written; the first activation of the main
  // window clears it, so nothing is written during start-up.
  bool SaveSuppressed = true;
  // Set at the end of start-up; until then a mode panel click only marks the
  // mode active and loads nothing.
  bool StartupDone = false;

  void buildResourceFolders(const std::string& startDir);
  // From the executable's real path. Returns false when the macro folder is
  // missing and could not be created.
  bool buildMacroFolder(const std::filesystem::path& executablePath);
  // A macro folder chosen by the user instead; it is never created.
  bool useMacroFolder(const std::filesystem::path& folder);

  std::string skinFile(const std::string& baseName) const;
};

}  // namespace korvane::app
