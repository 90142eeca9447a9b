#include "macros/library.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "macros/compiler.h"
#include "macros/macro_file.h"
#include "support/temp_dir.h"

namespace korvane::macros {
namespace {

namespace fs = std::filesystem;
using korvane::testing::TempDir;

const MacroScript kClick = {"1", "1 Left Key  CODE:0071", "0 50", "2 Left Key  CODE:0071"};

void writeMacro(const TempDir& dir, const std::string& name, const MacroScript& script = kClick) {
  ASSERT_EQ(writeMacroFile(macroFilePath(dir.path(), name), script), std::nullopt);
}

MacroLibrary rebuilt(const TempDir& dir) {
  MacroLibrary library(dir.path());
  EXPECT_EQ(library.RebuildLibrary(), std::nullopt);
  return library;
}

std::vector<std::string> sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

TEST(MacroLibrary, ListsOnlySpmFiles) {
  const TempDir dir;
  dir.write("b.spm", "");
  dir.write("A.spm", "");
  dir.write(".spm", "");
  dir.write("notes.txt", "");
  dir.write("upper.SPM", "");
  dir.write("b.spm.bak", "");
  fs::create_directory(dir.path() / "folder.spm");

  const Result<std::vector<std::string>> names = ListMacroFiles(dir.path());
  ASSERT_TRUE(names);
  EXPECT_EQ(sorted(*names), (std::vector<std::string>{"", "A", "b"}));

  const Result<std::vector<std::string>> missing = ListMacroFiles(dir.path() / "none");
  ASSERT_TRUE(missing);
  EXPECT_TRUE(missing->empty());
}

TEST(MacroLibrary, NumbersEntriesInCaseBlindOrder) {
  const TempDir dir;
  for (const char* name : {"gamma", "Alpha", "beta", "abc", "ABC"}) {
    writeMacro(dir, name);
  }
  const MacroLibrary library = rebuilt(dir);
  // "abc" and "ABC" are one name to the library: the first in byte order stays.
  EXPECT_EQ(library.names(), (std::vector<std::string>{"ABC", "Alpha", "beta", "gamma"}));
  EXPECT_EQ(library.entries(),
            (std::vector<std::string>{"1. ABC", "2. Alpha", "3. beta", "4. gamma"}));
  EXPECT_FALSE(library.selected());
}

TEST(MacroLibrary, TenMacrosDisableNewAndTheTenthIsBlockNine) {
  const TempDir dir;
  for (int i = 0; i < 9; ++i) {
    writeMacro(dir, "m" + std::to_string(i));
  }
  MacroLibrary library = rebuilt(dir);
  EXPECT_TRUE(library.newEnabled());
  ASSERT_TRUE(library.createMacro("zeta").created());
  EXPECT_FALSE(library.newEnabled());
  writeMacro(dir, "zeta", {"1", "1 A CODE:0004", "0 50", "2 A CODE:0004"});

  ASSERT_EQ(library.RebuildLibrary(), std::nullopt);
  ASSERT_EQ(library.entries().size(), 10u);
  EXPECT_EQ(library.entries().back(), "10. zeta");
  EXPECT_FALSE(library.newEnabled());
  ASSERT_TRUE(library.select(9));
  EXPECT_EQ(library.currentMacro(), "zeta");
  EXPECT_EQ(readMacroFile(library.fileOf(*library.selectedName())).script[1], "1 A CODE:0004");

  EXPECT_EQ(blockForEntry(1), 0);
  EXPECT_EQ(blockForEntry(10), 9);
  EXPECT_EQ(blockForEntry(11), std::nullopt);
  MacroBlocks blocks{};
  RepeatOption endless;
  endless.endless = true;
  const CompileOutcome outcome = CompileAllMacros(dir.path(), library.names(), endless, blocks);
  ASSERT_FALSE(outcome.error);
  ASSERT_EQ(outcome.written.size(), 10u);
  EXPECT_EQ(outcome.written[9].block, 9);
  EXPECT_EQ(outcome.written[9].name, "zeta");
  EXPECT_EQ(blocks[9][0], 0xF9);
  EXPECT_EQ(blocks[9][5], 0x04);  // key A

  // Files beyond ten (put there by other means) keep "新建" disabled: an
  // eleventh macro would have no block either. Only a name held has room.
  EXPECT_TRUE(library.hasRoomFor("zeta"));
  EXPECT_TRUE(library.hasRoomFor("ZETA"));
  EXPECT_FALSE(library.hasRoomFor("extra"));
  const TempDir elsewhere;
  writeMacro(elsewhere, "extra");
  ASSERT_EQ(library.loadFrom(elsewhere.path() / "extra.spm"), std::nullopt);
  EXPECT_EQ(library.names().size(), 11u);
  EXPECT_FALSE(library.newEnabled());
}

TEST(MacroLibrary, NameDialogRefusals) {
  const TempDir dir;
  writeMacro(dir, "ABC");
  MacroLibrary library = rebuilt(dir);
  struct Case {
    std::string name;
    NameProblem problem;
  };
  const Case cases[] = {
      {"", NameProblem::Empty},
      {"   ", NameProblem::Empty},
      {"abc", NameProblem::AlreadyExists},
      {"ABC", NameProblem::AlreadyExists},
      {"a/b", NameProblem::Invalid},
      {"tab\there", NameProblem::Invalid},
      {std::string(252, 'n'), NameProblem::Invalid},  // 256 bytes with ".spm"
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const NewMacroOutcome outcome = library.createMacro(c.name);
    EXPECT_EQ(outcome.refused, c.problem);
    EXPECT_FALSE(outcome.error);
  }
  EXPECT_EQ(library.names(), std::vector<std::string>{"ABC"});
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(MacroLibrary, CreateMakesAnEmptyFileAndBecomesCurrent) {
  const TempDir dir;
  writeMacro(dir, "b");
  MacroLibrary library = rebuilt(dir);
  ASSERT_TRUE(library.select(0));

  const NewMacroOutcome outcome = library.createMacro(std::string(251, 'n'));
  ASSERT_TRUE(outcome.created());
  EXPECT_FALSE(library.selected());
  EXPECT_EQ(library.names().size(), 2u);
  EXPECT_EQ(library.currentMacro(), std::string(251, 'n'));
  EXPECT_EQ(fs::file_size(library.fileOf(std::string(251, 'n'))), 0u);

  // A file that cannot be created leaves the name list as it was.
  MacroLibrary unwritable(dir.path() / "gone");
  const NewMacroOutcome failed = unwritable.createMacro("x");
  ASSERT_TRUE(failed.error);
  EXPECT_TRUE(unwritable.names().empty());
}

TEST(MacroLibrary, DeleteRemovesOnlyTheSelectedMacro) {
  const TempDir dir;
  writeMacro(dir, "one");
  writeMacro(dir, "two");
  MacroLibrary library = rebuilt(dir);

  // Nothing selected: no file goes, the list is rebuilt all the same.
  EXPECT_EQ(library.deleteSelected(), std::nullopt);
  EXPECT_EQ(library.names(), (std::vector<std::string>{"one", "two"}));
  EXPECT_TRUE(fs::exists(dir.path() / "one.spm"));
  EXPECT_TRUE(fs::exists(dir.path() / "two.spm"));

  ASSERT_TRUE(library.select(1));
  EXPECT_EQ(library.deleteSelected(), std::nullopt);
  EXPECT_EQ(library.names(), std::vector<std::string>{"one"});
  EXPECT_EQ(library.entries(), std::vector<std::string>{"1. one"});
  EXPECT_FALSE(fs::exists(dir.path() / "two.spm"));
  EXPECT_FALSE(library.selected());
}

TEST(MacroLibrary, LoadReplacesASameNamedMacro) {
  const TempDir dir;
  writeMacro(dir, "click");
  writeMacro(dir, "other");
  MacroLibrary library = rebuilt(dir);
  ASSERT_TRUE(library.select(0));

  const TempDir elsewhere;
  const MacroScript replacement = {"1", "1 B CODE:0005", "0 80", "2 B CODE:0005"};
  writeMacro(elsewhere, "click", replacement);
  ASSERT_EQ(library.loadFrom(elsewhere.path() / "click.spm"), std::nullopt);
  EXPECT_EQ(library.names(), (std::vector<std::string>{"click", "other"}));
  EXPECT_FALSE(library.selected());
  EXPECT_EQ(readMacroFile(dir.path() / "click.spm").script, replacement);

  elsewhere.write("notes.txt", "x");
  EXPECT_TRUE(library.loadFrom(elsewhere.path() / "notes.txt"));
  EXPECT_FALSE(fs::exists(dir.path() / "notes.txt"));
  EXPECT_EQ(library.loadFrom(elsewhere.path() / "notes.txt"),
            (files::FileError{files::FileFailure::WrongType, elsewhere.path() / "notes.txt", {}}));
  EXPECT_EQ(library.loadFrom(elsewhere.path() / "missing.spm"),
            (files::FileError{files::FileFailure::Read, elsewhere.path() / "missing.spm", {}}));
}

TEST(MacroLibrary, SaveTargetsTheCurrentMacro) {
  const TempDir dir;
  writeMacro(dir, "first", {"1"});
  MacroLibrary library = rebuilt(dir);

  // No selection and nothing typed yet: there is no macro to save into.
  EXPECT_EQ(SaveMacroScript(library, kClick), std::nullopt);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);

  // A name typed into a dialog that did not create it names no file.
  library.setTypedName("typed");
  ASSERT_EQ(SaveMacroScript(library, kClick), std::nullopt);
  EXPECT_FALSE(fs::exists(dir.path() / "typed.spm"));
  ASSERT_TRUE(library.createMacro("typed").created());
  ASSERT_EQ(SaveMacroScript(library, kClick), std::nullopt);
  EXPECT_EQ(readMacroFile(dir.path() / "typed.spm").script, kClick);

  ASSERT_TRUE(library.select(0));
  ASSERT_EQ(SaveMacroScript(library, kClick), std::nullopt);
  EXPECT_EQ(readMacroFile(dir.path() / "first.spm").script, kClick);
}

}  // namespace
}  // namespace korvane::macros
