#include "paths/folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace korvane::paths {
namespace {

namespace fs = std::filesystem;
using korvane::testing::TempDir;

// An installed tree (<prefix>/bin, <prefix>/share/korvane-driver), a portable
// start folder, an empty folder to start from, and a home.
class FolderRule : public ::testing::Test {
 protected:
  FolderRule() {
    root.write("prefix/bin/korvane-driver", "");
    root.write("prefix/share/korvane-driver/skins/basemap.png", "png");
    root.write("prefix/share/korvane-driver/configure/Default_GM.ini", "[GM]\r\n");
    root.write("portable/skins/basemap.png", "png");
    root.write("portable/configure/Default_GM.ini", "[GM]\r\n");
    fs::create_directories(root.path() / "elsewhere");
    fs::create_directories(root.path() / "home");
  }

  FolderEnvironment environment(const std::string& currentDir) const {
    FolderEnvironment env;
    env.currentDir = root.path() / currentDir;
    env.executablePath = root.path() / "prefix/bin/korvane-driver";
    env.home = (root.path() / "home").string();
    return env;
  }

  TempDir root;
};

TEST_F(FolderRule, AFolderWithSkinsAndConfigureIsPortable) {
  const Folders folders = decideFolders(environment("portable"));
  const fs::path start = root.path() / "portable";
  EXPECT_EQ(folders.mode, FolderMode::Portable);
  EXPECT_EQ(folders.resourceDir, start);
  EXPECT_EQ(folders.configDir, start / "configure");
  EXPECT_EQ(folders.factoryConfigDir, start / "configure");
  EXPECT_EQ(folders.dataDir, start / "data");
  EXPECT_EQ(folders.factoryDataDir, start / "data");
  // Macros beside the program, as they always were.
  EXPECT_EQ(folders.macroDir, fs::canonical(root.path() / "prefix/bin") / "Macro");
  EXPECT_EQ(folders.pointerRecord, root.path() / "home/.config/KorvaneDriver/registry.ini");
}

TEST_F(FolderRule, OnlyBothFoldersMakeAStartFolderPortable) {
  root.write("only-skins/skins/basemap.png", "png");
  root.write("only-configure/configure/Default_GM.ini", "");
  // A file named like the folder is not the folder.
  root.write("file-skins/skins", "");
  root.write("file-skins/configure/Default_GM.ini", "");
  for (const char* start : {"only-skins", "only-configure", "file-skins", "elsewhere"}) {
    SCOPED_TRACE(start);
    EXPECT_EQ(decideFolders(environment(start)).mode, FolderMode::Installed);
  }
}

// The per-user folders with the XDG variables set, unset, empty and relative
// (a relative one is ignored).
TEST_F(FolderRule, InstalledModeKeepsTheUsersFilesInTheXdgFolders) {
  const fs::path home = root.path() / "home";
  struct Case {
    const char* name;
    std::string xdgConfigHome;
    std::string xdgDataHome;
    fs::path config;  // $XDG_CONFIG_HOME/korvane-driver
    fs::path data;    // $XDG_DATA_HOME/korvane-driver
  };
  const Case cases[] = {
      {"set", "/xdg/config", "/xdg/data", "/xdg/config/korvane-driver", "/xdg/data/korvane-driver"},
      {"unset", "", "", home / ".config/korvane-driver", home / ".local/share/korvane-driver"},
      {"relative", "rel/config", "rel/data", home / ".config/korvane-driver",
       home / ".local/share/korvane-driver"},
      {"config only", "/xdg/config", "", "/xdg/config/korvane-driver",
       home / ".local/share/korvane-driver"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FolderEnvironment env = environment("elsewhere");
    env.xdgConfigHome = c.xdgConfigHome;
    env.xdgDataHome = c.xdgDataHome;
    const Folders folders = decideFolders(env);
    const fs::path shared = root.path() / "prefix/share/korvane-driver";
    EXPECT_EQ(folders.mode, FolderMode::Installed);
    EXPECT_EQ(folders.resourceDir, shared);
    EXPECT_EQ(folders.factoryConfigDir, shared / "configure");
    EXPECT_EQ(folders.factoryDataDir, shared / "data");
    EXPECT_EQ(folders.configDir, c.config / "configure");
    EXPECT_EQ(folders.dataDir, c.config / "data");
    EXPECT_EQ(folders.pointerRecord, c.config / "registry.ini");
    EXPECT_EQ(folders.macroDir, c.data / "Macro");
  }
}

TEST_F(FolderRule, WithoutAnyHomeThereIsNoUserFolder) {
  FolderEnvironment env = environment("elsewhere");
  env.home.clear();
  const Folders folders = decideFolders(env);
  EXPECT_TRUE(folders.configDir.empty());
  EXPECT_TRUE(folders.macroDir.empty());
  EXPECT_TRUE(folders.pointerRecord.empty());
  // Nothing is made relative to the current directory instead.
  EXPECT_TRUE(createUserFolders(folders).has_value());
}

TEST_F(FolderRule, TheDataDirectoryMovesWithTheExecutable) {
  fs::rename(root.path() / "prefix", root.path() / "moved");
  FolderEnvironment env = environment("elsewhere");
  env.executablePath = root.path() / "moved/bin/korvane-driver";
  EXPECT_EQ(decideFolders(env).resourceDir, root.path() / "moved/share/korvane-driver");
}

TEST_F(FolderRule, ABuildTreeProgramStartedElsewhereUsesTheResourcesBesideIt) {
  root.write("build/start/korvane-driver", "");
  root.write("build/start/skins/basemap.png", "png");
  root.write("build/start/configure/Default_GM.ini", "");
  FolderEnvironment env = environment("elsewhere");
  env.executablePath = root.path() / "build/start/korvane-driver";
  const Folders folders = decideFolders(env);
  EXPECT_EQ(folders.mode, FolderMode::Installed);
  EXPECT_EQ(folders.resourceDir, root.path() / "build/start");
  EXPECT_EQ(folders.configDir, root.path() / "home/.config/korvane-driver/configure");
}

TEST_F(FolderRule, UserFoldersAreMadePrivateWithTheirParents) {
  const Folders folders = decideFolders(environment("elsewhere"));
  EXPECT_EQ(createUserFolders(folders), std::nullopt);
  for (const fs::path& folder : {folders.configDir, folders.dataDir, folders.macroDir,
                                 root.path() / "home/.config", root.path() / "home/.local"}) {
    SCOPED_TRACE(folder.string());
    struct stat info {};
    ASSERT_EQ(::stat(folder.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700U);
  }
  // A second start finds them and changes nothing.
  EXPECT_EQ(createUserFolders(folders), std::nullopt);
}

TEST_F(FolderRule, AFolderThatCannotBeMadeIsNamed) {
  // A file where the configuration folder should be.
  root.write("home/.config/korvane-driver", "not a folder");
  const Folders folders = decideFolders(environment("elsewhere"));
  EXPECT_EQ(createUserFolders(folders), folders.configDir);
}

TEST_F(FolderRule, PortableFoldersAreNeverMadeByTheRule) {
  const Folders folders = decideFolders(environment("portable"));
  EXPECT_EQ(createUserFolders(folders), std::nullopt);
  EXPECT_FALSE(fs::exists(folders.dataDir));
  EXPECT_FALSE(fs::exists(folders.macroDir));
}

}  // namespace
}  // namespace korvane::paths
