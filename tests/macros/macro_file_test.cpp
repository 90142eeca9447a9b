#include "macros/macro_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace korvane::macros {
namespace {

namespace fs = std::filesystem;

const MacroScript kLeftClick = {"1", "1 Left Key  CODE:0071", "0 50", "2 Left Key  CODE:0071"};

std::string fixture(const std::string& name) {
  return (fs::path(KORVANE_FIXTURES_DIR) / "macros" / name).string();
}

TEST(MacroFile, SplitsOnAnyLineEnd) {
  struct Case {
    const char* text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\rb\nc\r\n", {"a", "b", "c"}},
      {"a\r\n\r\n", {"a", ""}},
      {"a\n\r", {"a", ""}},
      {"\r\n", {""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(std::string(c.text)));
    EXPECT_EQ(splitFileLines(c.text), c.lines);
  }
}

TEST(MacroFile, ReadsFixtures) {
  struct Case {
    const char* file;
    MacroScript script;
    std::optional<std::string> error;
  };
  const Case cases[] = {
      {"LeftClick.spm", kLeftClick, std::nullopt},
      // Lower case, an odd last digit, a partial last block, LF / CR / CR LF
      // line ends and no end on the last line.
      {"LowerCaseOddLengthMixedLineEnds.spm", kLeftClick, std::nullopt},
      // Reading stops at the bad line, keeping the lines before it.
      {"BrokenHexLine.spm", {"1"}, "Error: not a Hex String"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const MacroFileRead read = readMacroFile(fixture(c.file));
    EXPECT_EQ(read.script, c.script);
    EXPECT_EQ(read.error, c.error);
  }

  const MacroFileRead missing = readMacroFile("/nonexistent/x.spm");
  EXPECT_TRUE(missing.script.empty());
  EXPECT_EQ(missing.readError,
            (files::FileError{files::FileFailure::Read, "/nonexistent/x.spm", {}}));
}

TEST(MacroFile, WritesUpperCaseLinesWithCrLf) {
  const korvane::testing::TempDir dir;
  const fs::path file = macroFilePath(dir.path(), "click");
  EXPECT_EQ(file.filename(), "click.spm");

  ASSERT_EQ(writeMacroFile(file, kLeftClick), std::nullopt);
  std::ifstream expected(fixture("LeftClick.spm"), std::ios::binary);
  EXPECT_EQ(dir.read("click.spm"), std::string(std::istreambuf_iterator<char>(expected),
                                               std::istreambuf_iterator<char>()));

  ASSERT_EQ(writeMacroFile(file, {"1"}), std::nullopt);
  EXPECT_EQ(dir.read("click.spm"), "E549B3922885FBA2\r\n");
  ASSERT_EQ(writeMacroFile(file, {}), std::nullopt);
  EXPECT_EQ(fs::file_size(file), 0u);

  // Written through a temporary file that does not stay behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);

  const fs::path nowhere = dir.path() / "missing" / "x.spm";
  EXPECT_EQ(writeMacroFile(nowhere, kLeftClick),
            (files::FileError{files::FileFailure::Write, nowhere, "No such file or directory"}));
}

}  // namespace
}  // namespace korvane::macros
