#include "paths/folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>
#include <vector>

namespace korvane::paths {

namespace fs = std::filesystem;

namespace {

constexpr const char* kSkinFolder = "skins";
constexpr const char* kConfigFolder = "configure";
constexpr const char* kDataFolder = "data";
constexpr const char* kMacroFolder = "Macro";
// The record the portable tool has always kept per user.
constexpr const char* kPortableRecordFolder = "KorvaneDriver";
constexpr const char* kRecordFile = "registry.ini";

bool isFolder(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

fs::path baseFolder(const std::string& variable, const std::string& home, const char* fallback) {
  if (!variable.empty() && fs::path(variable).is_absolute()) {
    return fs::path(variable);
  }
  if (!home.empty() && fs::path(home).is_absolute()) {
    return fs::path(home) / fallback;
  }
  return {};
}

// <prefix>/share/korvane-driver for <prefix>/bin/korvane-driver. A build tree's
// program started from elsewhere has no such folder but its resources beside
// itself; those serve then.
fs::path installedResources(const fs::path& executablePath) {
  fs::path programDir = executablePath.parent_path();
  fs::path shared = (programDir.parent_path() / "share" / kInstalledName).lexically_normal();
  if (!isFolder(shared / kSkinFolder) && isPortableStartFolder(programDir)) {
    return programDir;
  }
  return shared;
}

std::string variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

std::string homeFromPasswordDatabase() {
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384U);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
      found == nullptr || found->pw_dir == nullptr) {
    return {};
  }
  return found->pw_dir;
}

// Makes one folder and its missing parents; the new ones are private (0700),
// as the base-directory rules ask for the user's folders.
bool makeFolder(const fs::path& folder) {
  std::error_code error;
  if (fs::is_directory(folder, error)) {
    return true;
  }
  if (folder.empty() || !folder.has_parent_path() || folder.parent_path() == folder) {
    return false;
  }
  if (!makeFolder(folder.parent_path())) {
    return false;
  }
  if (!fs::create_directory(folder, error) || error) {
    // Another process may have made it meanwhile.
    return fs::is_directory(folder, error);
  }
  fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, error);
  return !error;
}

}  // namespace

bool isPortableStartFolder(const fs::path& folder) {
  return isFolder(folder / kSkinFolder) && isFolder(folder / kConfigFolder);
}

Folders portableFolders(const fs::path& startDir, const fs::path& executablePath) {
  Folders folders;
  folders.mode = FolderMode::Portable;
  folders.resourceDir = startDir;
  folders.factoryConfigDir = startDir / kConfigFolder;
  folders.factoryDataDir = startDir / kDataFolder;
  folders.configDir = folders.factoryConfigDir;
  folders.dataDir = folders.factoryDataDir;
  // Beside the program itself, whatever link started it.
  std::error_code error;
  fs::path program = fs::canonical(executablePath, error);
  if (error) {
    program = fs::absolute(executablePath, error);
  }
  folders.programDir = program.parent_path();
  folders.macroDir = folders.programDir / kMacroFolder;
  return folders;
}

fs::path configHome(const FolderEnvironment& environment) {
  return baseFolder(environment.xdgConfigHome, environment.home, ".config");
}

fs::path dataHome(const FolderEnvironment& environment) {
  return baseFolder(environment.xdgDataHome, environment.home, ".local/share");
}

Folders portableFolders(const fs::path& startDir, const FolderEnvironment& environment) {
  Folders folders = portableFolders(startDir, environment.executablePath);
  if (const fs::path config = configHome(environment); !config.empty()) {
    folders.pointerRecord = config / kPortableRecordFolder / kRecordFile;
  }
  return folders;
}

Folders decideFolders(const FolderEnvironment& environment) {
  if (isPortableStartFolder(environment.currentDir)) {
    return portableFolders(environment.currentDir, environment);
  }
  const fs::path config = configHome(environment);
  Folders folders;
  folders.mode = FolderMode::Installed;
  folders.programDir = environment.executablePath.parent_path();
  folders.resourceDir = installedResources(environment.executablePath);
  folders.factoryConfigDir = folders.resourceDir / kConfigFolder;
  folders.factoryDataDir = folders.resourceDir / kDataFolder;
  // Without a home folder there is nowhere to keep the user's files; the
  // empty paths make every write fail visibly instead of landing somewhere
  // relative to the current directory.
  const fs::path data = dataHome(environment);
  if (!config.empty()) {
    const fs::path own = config / kInstalledName;
    folders.configDir = own / kConfigFolder;
    folders.dataDir = own / kDataFolder;
    folders.pointerRecord = own / kRecordFile;
  }
  if (!data.empty()) {
    folders.macroDir = data / kInstalledName / kMacroFolder;
  }
  return folders;
}

FolderEnvironment processEnvironment(const fs::path& fallbackExecutable) {
  FolderEnvironment environment;
  std::error_code error;
  environment.currentDir = fs::current_path(error);
  if (error) {
    environment.currentDir.clear();
  }
  environment.executablePath = fs::read_symlink("/proc/self/exe", error);
  if (error) {
    environment.executablePath = fs::weakly_canonical(fallbackExecutable, error);
    if (error) {
      environment.executablePath = fs::absolute(fallbackExecutable, error);
    }
  }
  environment.xdgConfigHome = variable("XDG_CONFIG_HOME");
  environment.xdgDataHome = variable("XDG_DATA_HOME");
  environment.home = variable("HOME");
  if (environment.home.empty()) {
    environment.home = homeFromPasswordDatabase();
  }
  return environment;
}

std::optional<fs::path> createUserFolders(const Folders& folders) {
  if (folders.mode != FolderMode::Installed) {
    return std::nullopt;
  }
  for (const fs::path& folder : {folders.configDir, folders.dataDir, folders.macroDir}) {
    if (!makeFolder(folder)) {
      return folder;
    }
  }
  return std::nullopt;
}

}  // namespace korvane::paths
