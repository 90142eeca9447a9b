#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace korvane::paths {

// The name of the installed data directory and of the per-user folders.
inline constexpr const char* kInstalledName = "korvane-driver";

enum class FolderMode { Portable, Installed };

// What the folder rule looks at. Unset variables are empty strings.
struct FolderEnvironment {
  std::filesystem::path currentDir;
  std::filesystem::path executablePath;  // the executable's real path
  std::string xdgConfigHome;
  std::string xdgDataHome;
  std::string home;
};

// Where every file of the program lives.
//
// Portable: the current directory holds skins/ and configure/ (the build
// tree, or a folder brought from the original platform). Resources and the
// settings files live under it, the factory (Default_) copies beside the live
// files, and the macros in "Macro" beside the executable.
//
// Installed (otherwise): read-only resources from <prefix>/share/korvane-driver,
// found from the executable, so a relocated install works; the live settings
// in $XDG_CONFIG_HOME/korvane-driver/ (configure/, data/, the pointer-settings
// record); the macros in $XDG_DATA_HOME/korvane-driver/Macro/.
struct Folders {
  FolderMode mode = FolderMode::Portable;
  std::filesystem::path resourceDir;       // skins/, Language/, themes, wait.gif
  std::filesystem::path factoryConfigDir;  // Default_GM.ini, Default_Mode1.ini ..
  std::filesystem::path factoryDataDir;    // Default_Mode1_data.ini ..
  std::filesystem::path configDir;         // GM.ini, Mode1.ini ..
  std::filesystem::path dataDir;           // Mode1_data.ini ..
  std::filesystem::path programDir;        // the executable's folder
  std::filesystem::path macroDir;          // the user's .spm files
  std::filesystem::path pointerRecord;     // registry.ini; empty when no home is known
};

// A folder holds a portable start folder when it has skins/ and configure/.
bool isPortableStartFolder(const std::filesystem::path& folder);

// The portable layout of a start folder, macros beside the executable.
Folders portableFolders(const std::filesystem::path& startDir,
                        const std::filesystem::path& executablePath);

// The same with the per-user pointer-settings record of the environment:
// what the rule gives for a start folder named outright (korvanectl --dir).
Folders portableFolders(const std::filesystem::path& startDir,
                        const FolderEnvironment& environment);

// The rule itself.
Folders decideFolders(const FolderEnvironment& environment);

// The environment of this process: its current directory, the executable
// (from /proc/self/exe, else the given path), the XDG variables and the home
// folder (HOME, else the password database).
FolderEnvironment processEnvironment(const std::filesystem::path& fallbackExecutable);

// $XDG_CONFIG_HOME, or ~/.config; $XDG_DATA_HOME, or ~/.local/share. A relative
// variable is ignored, as the base-directory rules say. Empty when neither the
// variable nor the home folder is an absolute path.
std::filesystem::path configHome(const FolderEnvironment& environment);
std::filesystem::path dataHome(const FolderEnvironment& environment);

// Makes the per-user folders of the installed mode (live settings, live data,
// macros), parents included, new ones private to the user. Returns the first
// folder that is missing and could not be made. Portable folders are left
// alone: their rules are the start folder's own.
std::optional<std::filesystem::path> createUserFolders(const Folders& folders);

}  // namespace korvane::paths
