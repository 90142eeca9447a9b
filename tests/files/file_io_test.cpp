#include "files/file_io.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace korvane::files {
namespace {

namespace fs = std::filesystem;
using korvane::testing::TempDir;

std::vector<std::string> listing(const fs::path& folder) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(SafeWrite, RemovesTheTemporaryFilesOfKilledWritesAndNothingElse) {
  const TempDir dir;
  // What writes killed between their temporary file and the rename leave.
  dir.write(".Mode1_data.ini.tmp-Ab3xZ9", "[Mode1_data]\r\nData0=");
  dir.write(".GM.ini.tmp-000000", "");
  // Names of other programs, and of ours but not of a write.
  dir.write(".GM.ini.tmp-12", "");
  dir.write("Mode1.ini.tmp-ABCDEF", "");
  dir.write(".Mode2.ini.swp", "");
  dir.write(".Mode1_data.ini.tmp-Ab3xZ9x", "");
  // A temporary file a live write holds: it stays.
  const fs::path live = dir.write(".Mode1_data.ini.tmp-Live01", "");
  const int fd = ::open(live.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);

  EXPECT_EQ(writeFileSafely(dir.path() / "Mode1_data.ini", "[Mode1_data]\r\n"), std::nullopt);
  ::close(fd);
  EXPECT_EQ(listing(dir.path()),
            (std::vector<std::string>{".GM.ini.tmp-000000", ".GM.ini.tmp-12",
                                      ".Mode1_data.ini.tmp-Ab3xZ9x", ".Mode1_data.ini.tmp-Live01",
                                      ".Mode2.ini.swp", "Mode1.ini.tmp-ABCDEF", "Mode1_data.ini"}));
  // GM.ini's own leftover goes with GM.ini's next write.
  EXPECT_EQ(writeFileSafely(dir.path() / "GM.ini", "[GM]\r\n"), std::nullopt);
  EXPECT_FALSE(fs::exists(dir.path() / ".GM.ini.tmp-000000"));
}

// Fault: the cleanup took any ".<anything>.tmp-XXXXXX" in the folder, such as
// another program's temporary file beside a settings file.
TEST(SafeWrite, CleanupLeavesTheTemporaryFilesOfOtherProgramsAlone) {
  const TempDir dir;
  const std::vector<std::string> others = {".notes.txt.tmp-AbCdEf", ".kdeglobals.tmp-x1Y2z3"};
  for (const std::string& name : others) {
    dir.write(name, "another program's unfinished save");
  }
  EXPECT_EQ(writeFileSafely(dir.path() / "Mode1.ini", "[Mode1]\r\n"), std::nullopt);
  for (const std::string& name : others) {
    EXPECT_EQ(dir.read(name), "another program's unfinished save") << name;
  }
}

TEST(SafeWrite, WritesThroughASymbolicLinkToItsTarget) {
  const TempDir dir;
  const fs::path target = dir.write("real/Mode1.ini", "[Mode1]\r\nSpeed=1\r\n");
  fs::create_directories(dir.path() / "configure");
  const fs::path link = dir.path() / "configure" / "Mode1.ini";
  fs::create_symlink("../real/Mode1.ini", link);
  // A link to a link is followed to the end.
  const fs::path second = dir.path() / "GM.ini";
  fs::create_symlink(link, second);

  EXPECT_EQ(writeFileSafely(second, "[Mode1]\r\nSpeed=9\r\n"), std::nullopt);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_TRUE(fs::is_symlink(second));
  EXPECT_EQ(TempDir::readFile(target), "[Mode1]\r\nSpeed=9\r\n");
  EXPECT_EQ(listing(dir.path() / "real"), std::vector<std::string>{"Mode1.ini"});

  // A link whose target is missing: the target is made, as opening it would.
  const fs::path dangling = dir.path() / "Mode2.ini";
  fs::create_symlink("real/Mode2.ini", dangling);
  EXPECT_EQ(writeFileSafely(dangling, "x"), std::nullopt);
  EXPECT_TRUE(fs::is_symlink(dangling));
  EXPECT_EQ(dir.read("real/Mode2.ini"), "x");
}

TEST(SafeWrite, AFailureGivesTheSystemsReason) {
  const TempDir dir;
  const fs::path missingFolder = dir.path() / "missing" / "Mode1.ini";
  const fs::path loop = dir.path() / "loop.ini";
  fs::create_symlink("loop.ini", loop);
  struct Case {
    fs::path path;
    std::string reason;
  };
  const Case cases[] = {
      {missingFolder, "No such file or directory"},
      {loop, "Too many levels of symbolic links"},
      {"", "Invalid argument"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const std::optional<WriteFailure> failure = replaceFile(c.path, "x");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->reason, c.reason);
    EXPECT_EQ(writeFileSafely(c.path, "x"), (FileError{FileFailure::Write, c.path, c.reason}));
  }
  EXPECT_EQ(listing(dir.path()), std::vector<std::string>{"loop.ini"});
}

TEST(ReadFile, RefusesAFileLargerThanTheLimit) {
  const TempDir dir;
  const fs::path full = dir.write("full.ini", std::string(kMaxFileBytes, '\n'));
  const fs::path over = dir.write("over.ini", std::string(kMaxFileBytes + 1, '\n'));
  const FileContent read = readFile(full);
  ASSERT_TRUE(read.bytes);
  EXPECT_EQ(read.bytes->size(), kMaxFileBytes);
  EXPECT_FALSE(read.tooLarge);

  const FileContent refused = readFile(over);
  EXPECT_FALSE(refused.bytes);
  EXPECT_TRUE(refused.tooLarge);
  EXPECT_EQ(readWholeFile(over), std::nullopt);

  const FileContent missing = readFile(dir.path() / "missing.ini");
  EXPECT_FALSE(missing.bytes);
  EXPECT_FALSE(missing.tooLarge);
}

}  // namespace
}  // namespace korvane::files
