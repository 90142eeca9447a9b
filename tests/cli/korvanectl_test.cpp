// Runs the built korvanectl against temporary start and macro folders.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "files/file_io.h"
#include "macros/macro_file.h"
#include "macros/script.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace korvane::macros {
namespace {

namespace fs = std::filesystem;
using korvane::testing::TempDir;

using CliRun = korvane::testing::CommandRun;

CliRun korvanectl(const std::string& arguments, const std::string& input = "",
                  const std::string& locale = "C.UTF-8") {
  const TempDir io;
  const fs::path in = io.write("stdin", input);
  const std::string command =
      "LC_ALL=" + locale + " '" KORVANECTL_PATH "' " + arguments + " <'" + in.string() + "'";
  return korvane::testing::runCommand(command, io.path() / "stderr");
}

std::string blockHex(const std::string& leading) {
  return leading + std::string(256 - leading.size(), '0');
}

std::string fixture(const std::string& name) {
  std::ifstream in(fs::path(KORVANE_FIXTURES_DIR) / "macros" / name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class KorvanectlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    writeMacro("a click", {"1", "1 Left Key  CODE:0071", "0 50", "2 Left Key  CODE:0071"});
    writeMacro("b overlap", {"1", "1 A CODE:0004", "0 120", "1 B CODE:0005", "0 80",
                             "2 A CODE:0004", "0 60", "2 B CODE:0005"});
    // As the window writes it; the flags decide, as when the window reads it.
    start_.write("configure/GM.ini",
                 "[GM]\r\nCycle_Max=1\r\nCycleMaxFlag=0\r\nCycle=1\r\nCycleFlag=1\r\n"
                 "Cycle_Count=3\r\n");
  }

  void writeMacro(const std::string& name, const MacroScript& script) {
    ASSERT_EQ(writeMacroFile(macroFilePath(macros_.path(), name), script), std::nullopt);
  }

  std::string folders() const {
    return "--dir '" + start_.path().string() + "' --macro-dir '" + macros_.path().string() + "'";
  }

  TempDir start_;
  TempDir macros_;
};

TEST_F(KorvanectlTest, CompilePrintsOneLinePerBlock) {
  const std::string click = "02020400710100";
  const std::string overlap = "04020B0004030700040502050005010000";
  struct Case {
    const char* options;
    const char* repeat0;
    const char* repeat1;
  };
  const Case cases[] = {
      {"", "30", "31"},  // counted, 3 runs, from GM.ini
      {"--endless", "F0", "F1"},
      {"--count 9", "90", "91"},
      {"--no-repeat", "00", "00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    const CliRun run = korvanectl(folders() + " macro compile " + c.options);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "0\ta click\t" + blockHex(c.repeat0 + click) + "\n" + "1\tb overlap\t" +
                           blockHex(c.repeat1 + overlap) + "\n");
    EXPECT_EQ(run.err, "");
  }
}

TEST_F(KorvanectlTest, CompileTakesAnEmptyMacroAsAnEmptyBlockAndGoesOn) {
  writeMacro("a2 new", {});  // as "新建" leaves it, between "a click" and "b overlap"
  const CliRun run = korvanectl(folders() + " macro compile --no-repeat");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "0\ta click\t" + blockHex("0002020400710100") + "\n" + "1\ta2 new\t" +
                         blockHex("0001") + "\n" + "2\tb overlap\t" +
                         blockHex("0004020B0004030700040502050005010000") + "\n");
}

TEST_F(KorvanectlTest, CompileStopsAtAMacroThatDoesNotFit) {
  ScriptEditor editor;
  for (int i = 0; i < 19; ++i) {
    insertMouseClick(editor, MouseButton::Left);
  }
  writeMacro("c too long", editor.script);
  const CliRun run = korvanectl(folders() + " macro compile --no-repeat");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "korvanectl: Macro \"c too long\": it does not fit in the mouse's 128-byte macro "
            "block (it needs 135 bytes)\n");
  // The blocks compiled before it are still reported.
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 2);
}

TEST_F(KorvanectlTest, DecryptAndEncrypt) {
  const std::string fixtures = (fs::path(KORVANE_FIXTURES_DIR) / "macros").string();
  const CliRun decrypted = korvanectl("macro decrypt '" + fixtures + "/LeftClick.spm'");
  EXPECT_EQ(decrypted.status, 0) << decrypted.err;
  EXPECT_EQ(decrypted.out, "1\n1 Left Key  CODE:0071\n0 50\n2 Left Key  CODE:0071\n");

  const CliRun broken = korvanectl("macro decrypt '" + fixtures + "/BrokenHexLine.spm'");
  EXPECT_EQ(broken.status, 1);
  EXPECT_EQ(broken.out, "1\n");
  EXPECT_NE(broken.err.find("Error: not a Hex String"), std::string::npos) << broken.err;

  const CliRun missing = korvanectl("macro decrypt /nonexistent.spm");
  EXPECT_EQ(missing.status, 1);

  const TempDir big;
  const fs::path huge = big.write("huge.spm", std::string((1 << 20) + 1, '\n'));
  const CliRun tooLarge = korvanectl("macro decrypt '" + huge.string() + "'");
  EXPECT_EQ(tooLarge.status, 1);
  EXPECT_EQ(tooLarge.out, "");
  EXPECT_EQ(tooLarge.err,
            "korvanectl: " + huge.string() + ": " + huge.string() + " is larger than 1 MiB\n");

  // Any line end in, CR LF out.
  const CliRun encrypted =
      korvanectl("macro encrypt", "1\n1 Left Key  CODE:0071\r\n0 50\r2 Left Key  CODE:0071");
  EXPECT_EQ(encrypted.status, 0) << encrypted.err;
  EXPECT_EQ(encrypted.out, fixture("LeftClick.spm"));
}

// Fault: macro encrypt read all of standard input, however large. Input
// past what a macro file may hold is refused, as such a file is.
TEST_F(KorvanectlTest, EncryptRefusesInputLargerThanAMacroFile) {
  const std::string line = "0 50\n";
  std::string atTheLimit;
  while (atTheLimit.size() + line.size() <= files::kMaxFileBytes) {
    atTheLimit += line;
  }
  atTheLimit.append(files::kMaxFileBytes - atTheLimit.size(), '\n');
  const CliRun taken = korvanectl("macro encrypt", atTheLimit);
  EXPECT_EQ(taken.status, 0) << taken.err;
  EXPECT_FALSE(taken.out.empty());

  const CliRun refused = korvanectl("macro encrypt", atTheLimit + "\n");
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.out, "");
  EXPECT_EQ(refused.err, "korvanectl: standard input is larger than 1 MiB and was not read\n");
}

TEST_F(KorvanectlTest, EncryptFailsWhenStandardInputCannotBeRead) {
  // A folder opens for reading, but every read of it fails.
  const TempDir folder;
  const std::string command =
      "'" KORVANECTL_PATH "' macro encrypt <'" + folder.path().string() + "' 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  std::array<char, 4096> buffer{};
  std::size_t n = 0;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
    output.append(buffer.data(), n);
  }
  const int status = ::pclose(pipe);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(output, "korvanectl: unable to read standard input: Is a directory\n");
}

TEST_F(KorvanectlTest, UsageErrorsExitWithTwo) {
  for (const std::string arguments :
       {"", "frobnicate", "macro", "macro frobnicate", "macro decrypt", "macro encrypt extra",
        "--bogus macro compile", "macro compile --count 12", "macro compile --count",
        "macro compile --endless --no-repeat", "macro decrypt x.spm --endless", "--dir"}) {
    SCOPED_TRACE(arguments);
    const CliRun run = korvanectl(arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("Usage: korvanectl"), std::string::npos);
    EXPECT_EQ(run.out, "");
  }
  const CliRun help = korvanectl("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("macro compile [--endless | --count N | --no-repeat]"),
            std::string::npos);
}

}  // namespace
}  // namespace korvane::macros
