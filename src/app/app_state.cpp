#include "app/app_state.h"

#include <system_error>

namespace korvane::app {

namespace {

constexpr char kSeparator = '/';

std::string withoutTrailingSeparator(std::string folder) {
  while (folder.size() > 1 && folder.back() == kSeparator) {
    folder.pop_back();
  }
  return folder;
}

}  // namespace

std::filesystem::path defaultStartFolder() {
  std::error_code error;
  std::filesystem::path folder = std::filesystem::current_path(error);
  return error ? std::filesystem::path(".") : folder;
}

void AppState::buildResourceFolders(const std::string& startDir) {
  StartDir = withoutTrailingSeparator(startDir);
  SkinDir = StartDir + kSeparator + kSkinFolder;
  ImageExt = "png";
  ConfigDir = StartDir + kSeparator + kConfigFolder;
  DataDir = StartDir + kSeparator + kDataFolder;
  LanguageDir = StartDir + kSeparator + kLanguageFolder;
  FactoryConfigDir = ConfigDir;
  FactoryDataDir = DataDir;
}

void AppState::useResourceFolders(const paths::Folders& folders) {
  buildResourceFolders(folders.resourceDir.string());
  ConfigDir = withoutTrailingSeparator(folders.configDir.string());
  DataDir = withoutTrailingSeparator(folders.dataDir.string());
  FactoryConfigDir = withoutTrailingSeparator(folders.factoryConfigDir.string());
  FactoryDataDir = withoutTrailingSeparator(folders.factoryDataDir.string());
}

bool AppState::useRuleMacroFolder(const paths::Folders& folders) {
  ProgramDir = withoutTrailingSeparator(folders.programDir.string()) + kSeparator;
  MacroDir = withoutTrailingSeparator(folders.macroDir.string()) + kSeparator;
  std::error_code error;
  const std::filesystem::path folder(MacroDir);
  if (std::filesystem::is_directory(folder, error)) {
    return true;
  }
  if (folders.mode == paths::FolderMode::Installed) {
    return false;
  }
  // One level only: a missing program folder is not created.
  return std::filesystem::create_directory(folder, error) && !error;
}

bool AppState::buildMacroFolder(const std::filesystem::path& executablePath) {
  std::error_code error;
  std::filesystem::path real = std::filesystem::canonical(executablePath, error);
  if (error) {
    real = std::filesystem::absolute(executablePath, error);
  }
  ProgramDir = withoutTrailingSeparator(real.parent_path().string()) + kSeparator;
  MacroDir = ProgramDir + kMacroFolder + kSeparator;
  const std::filesystem::path folder(MacroDir);
  if (std::filesystem::is_directory(folder, error)) {
    return true;
  }
  // One level only: a missing program folder is not created.
  return std::filesystem::create_directory(folder, error) && !error;
}

bool AppState::useMacroFolder(const std::filesystem::path& folder) {
  MacroDir = withoutTrailingSeparator(folder.string()) + kSeparator;
  std::error_code error;
  return std::filesystem::is_directory(folder, error);
}

std::string AppState::skinFile(const std::string& baseName) const {
  return SkinDir + kSeparator + baseName + "." + ImageExt;
}

}  // namespace korvane::app
