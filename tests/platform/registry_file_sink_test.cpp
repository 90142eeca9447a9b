// The per-user registry file: where it lives, what the pointer steps leave
// in it, and that a file it cannot write makes its keys unopenable.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/pointer_file/registry_file_sink.h"
#include "settings/code_page.h"
#include "settings/ini_file.h"
#include "settings/pointer_settings.h"
#include "support/temp_dir.h"

namespace korvane::platform {
namespace {

using korvane::testing::TempDir;

settings::IniFile reload(const std::filesystem::path& file) {
  return settings::IniFile::load(file, settings::CodePage(settings::CodePageId::Utf8));
}

TEST(RegistryFilePath, FollowsTheConfigurationFolderRules) {
  struct Case {
    const char* xdg;
    const char* home;
    const char* expected;
  };
  for (const Case& c : {
           Case{"/x/cfg", "/h", "/x/cfg/KorvaneDriver/registry.ini"},
           Case{nullptr, "/h", "/h/.config/KorvaneDriver/registry.ini"},
           Case{"", "/h", "/h/.config/KorvaneDriver/registry.ini"},
           Case{"relative/cfg", "/h", "/h/.config/KorvaneDriver/registry.ini"},
           Case{nullptr, "relative", ""},
           Case{nullptr, nullptr, ""},
       }) {
    EXPECT_EQ(registryFilePath(c.xdg, c.home), std::filesystem::path(c.expected))
        << (c.xdg ? c.xdg : "(unset)") << " / " << (c.home ? c.home : "(unset)");
  }
}

TEST(RegistryFileSink, KeepsThePointerStepsLikeTheRegistryWould) {
  TempDir dir;
  // Neither the folder nor the file exists yet.
  const std::filesystem::path file = dir.path() / "cfg/KorvaneDriver/registry.ini";

  RegistryFileSink sink(file);
  settings::PointerSettings pointer;
  pointer.registryStep1(sink, 7, true, 10);
  pointer.registryStep2(sink, 0, true);
  pointer.systemStep(sink);
  EXPECT_EQ(sink.lastError(), std::nullopt);

  const settings::IniFile ini = reload(file);
  const struct {
    const char* section;
    const char* key;
    const char* value;
  } expected[] = {
      {"Control Panel\\Mouse", "MouseSensitivity", "14"},
      {"Control Panel\\Mouse", "MouseSpeed", "1"},
      {"Control Panel\\Mouse", "MouseThreshold1", "6"},
      {"Control Panel\\Mouse", "MouseThreshold2", "10"},
      {"Control Panel\\Mouse", "DoubleClickSpeed", "270"},
      {"Control Panel\\Desktop", "WheelScrollLines", "-1"},
      {"SystemParametersInfo", "SPI_SETMOUSESPEED", "uiParam=0;pvParam=14;fWinIni=2"},
      {"SystemParametersInfo", "SPI_SETMOUSE", "uiParam=0;pvParam=6,10,1;fWinIni=2"},
      {"SystemParametersInfo", "SPI_SETDOUBLECLICKTIME", "uiParam=270;pvParam=0;fWinIni=2"},
      {"SystemParametersInfo", "SPI_SETWHEELSCROLLLINES", "uiParam=-1;pvParam=0;fWinIni=1"},
  };
  for (const auto& e : expected) {
    EXPECT_EQ(ini.readString(e.section, e.key), e.value) << e.section << " " << e.key;
  }

  // A later run finds the values and replaces only what it writes; the last
  // call of each action is what stays.
  RegistryFileSink again(file);
  settings::PointerSettings next;
  next.registryStep2(again, 4, false);
  next.systemStep(again);
  const settings::IniFile after = reload(file);
  EXPECT_EQ(after.readString("Control Panel\\Desktop", "WheelScrollLines"), "4");
  EXPECT_EQ(after.readString("Control Panel\\Mouse", "MouseSensitivity"), "14");
  EXPECT_EQ(after.readString("SystemParametersInfo", "SPI_SETWHEELSCROLLLINES"),
            "uiParam=4;pvParam=0;fWinIni=1");
  EXPECT_EQ(after.readString("SystemParametersInfo", "SPI_SETMOUSE"),
            "uiParam=0;pvParam=0,0,0;fWinIni=2");
}

// A record that cannot be written refuses its keys and says why.
TEST(RegistryFileSink, AnUnwritableRecordIsTheLastError) {
  TempDir dir;
  std::filesystem::create_directories(dir.path() / "registry.ini");
  RegistryFileSink sink(dir.path() / "registry.ini");
  settings::PointerSettings pointer;
  pointer.registryStep1(sink, 7, true, 10);
  ASSERT_TRUE(sink.lastError());
  EXPECT_EQ(sink.lastError()->failure, files::FileFailure::Write);
  EXPECT_EQ(sink.lastError()->path, dir.path() / "registry.ini");
  EXPECT_FALSE(sink.lastError()->reason.empty());
}

TEST(RegistryFileSink, AValueTheFileHoldsAlreadyIsNotWrittenAgain) {
  TempDir dir;
  const std::filesystem::path file = dir.path() / "registry.ini";
  RegistryFileSink sink(file);
  settings::PointerSettings pointer;
  pointer.registryStep1(sink, 7, true, 10);
  // The same steps again leave the very same file; a new value replaces it.
  const auto inode = [&file] {
    struct stat status {};
    return ::stat(file.c_str(), &status) == 0 ? status.st_ino : ino_t{0};
  };
  const ino_t written = inode();
  ASSERT_NE(written, ino_t{0});
  pointer.registryStep1(sink, 7, true, 10);
  EXPECT_EQ(inode(), written);
  EXPECT_EQ(sink.lastError(), std::nullopt);
  pointer.registryStep1(sink, 6, true, 10);
  EXPECT_NE(inode(), written);
  EXPECT_EQ(reload(file).readString("Control Panel\\Mouse", "MouseSensitivity"), "12");
}

TEST(RegistryFileSink, AFileThatCannotBeWrittenIsAKeyThatCannotBeOpened) {
  TempDir dir;
  dir.write("plain-file", "not a folder");
  const std::filesystem::path blocked[] = {
      dir.path() / "plain-file/KorvaneDriver/registry.ini",  // folder cannot be made
      dir.path() / "cfg/registry.ini",                       // the file is a folder
      {},                                                    // no home at all
  };
  std::filesystem::create_directories(dir.path() / "cfg/registry.ini");
  for (const std::filesystem::path& file : blocked) {
    SCOPED_TRACE(file.string());
    RegistryFileSink sink(file);
    EXPECT_FALSE(sink.openKey(settings::kMouseKeyPath));
    settings::PointerSettings pointer;
    pointer.registryStep1(sink, 7, true, 10);
    pointer.registryStep2(sink, 5, false);
    EXPECT_EQ(pointer.remembered(), settings::RememberedPointerValues{});
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "cfg/registry.ini"));
  EXPECT_TRUE(std::filesystem::is_regular_file(dir.path() / "plain-file"));
}

}  // namespace
}  // namespace korvane::platform
