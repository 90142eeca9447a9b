#pragma once

#include <filesystem>
#include <string>

#include "paths/folders.h"

namespace korvane::app {

// The folders under a portable start folder. Which folders the program uses,
// portable or installed, is decided by the folder rule in paths/folders.h,
// shared by the window and korvanectl.
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
  std::string ConfigDir;  // the live settings files
  std::string DataDir;    // the live data files
  // The factory (Default_) copies: beside the live files when portable, in
  // the read-only data directory when installed.
  std::string FactoryConfigDir;
  std::string FactoryDataDir;
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
  // The resource, settings and factory folders the folder rule decided.
  void useResourceFolders(const paths::Folders& folders);
  // The macro folder the folder rule decided. A portable one is made when
  // missing (one level); an installed one is made with the other per-user
  // folders. Returns false when it is missing.
  bool useRuleMacroFolder(const paths::Folders& folders);
  // From the executable's real path. Returns false when the macro folder is
  // missing and could not be created.
  bool buildMacroFolder(const std::filesystem::path& executablePath);
  // A macro folder chosen by the user instead; it is never created.
  bool useMacroFolder(const std::filesystem::path& folder);

  std::string skinFile(const std::string& baseName) const;
};

}  // namespace korvane::app
