#include "macros/compiler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "macros/macro_file.h"
#include "support/temp_dir.h"

namespace korvane::macros {
namespace {

using korvane::testing::TempDir;

const std::string kCtrlDown = "1 Ctrl CODE:1111";
const std::string kCtrlUp = "2 Ctrl CODE:1111";
const std::string kADown = "1 A CODE:0004";
const std::string kAUp = "2 A CODE:0004";
const std::string kBDown = "1 B CODE:0005";
const std::string kBUp = "2 B CODE:0005";
const std::string kCDown = "1 C CODE:0006";
const std::string kCUp = "2 C CODE:0006";

RepeatOption endless() {
  RepeatOption repeat;
  repeat.endless = true;
  return repeat;
}

RepeatOption counted(std::string count) {
  RepeatOption repeat;
  repeat.counted = true;
  repeat.count = std::move(count);
  return repeat;
}

MacroBlock blockOf(std::vector<std::uint8_t> leading) {
  MacroBlock block{};
  std::copy(leading.begin(), leading.end(), block.begin());
  return block;
}

// Pauses of the longest delay a line may hold, with nothing pressed.
MacroScript longestPauses(int count) {
  MacroScript script = {"1"};
  script.insert(script.end(), static_cast<std::size_t>(count), "0 2147483647");
  return script;
}

MacroScript clicks(int count) {
  ScriptEditor editor;
  for (int i = 0; i < count; ++i) {
    insertMouseClick(editor, MouseButton::Left);
  }
  return editor.script;
}

TEST(MacroCompiler, WorkedExamples) {
  struct Case {
    const char* name;
    MacroScript script;
    RepeatOption repeat;
    int block;
    std::vector<std::string> expanded;
    std::vector<std::uint8_t> bytes;
  };
  const Case cases[] = {
      {"left click, no repeat",
       {"1", "1 Left Key  CODE:0071", "0 50", "2 Left Key  CODE:0071"},
       RepeatOption{},
       0,
       {"1 0071", "0 50", "2 0071"},
       {0x00, 0x02, 0x02, 0x04, 0x00, 0x71, 0x01, 0x00, 0x00}},
      {"Ctrl+C, endless",
       {"1", kCtrlDown, "0 200", kCDown, "0 100", kCUp, "0 50", kCtrlUp},
       endless(),
       3,
       {"1 1111", "0 200", "1 1111", "1 0006", "0 100", "2 0006", "1 1111", "0 50", "2 1111"},
       {0xF3, 0x04, 0x81, 0x13, 0x01, 0x82, 0x09, 0x01, 0x06, 0x81, 0x04, 0x01, 0x01, 0x00, 0x00}},
      {"A and B overlapping, three runs",
       {"1", kADown, "0 120", kBDown, "0 80", kAUp, "0 60", kBUp},
       counted("3"),
       1,
       {"1 0004", "0 120", "1 0004", "1 0005", "0 80", "2 0004", "1 0005", "0 60", "2 0005"},
       {0x31, 0x04, 0x02, 0x0B, 0x00, 0x04, 0x03, 0x07, 0x00, 0x04, 0x05, 0x02, 0x05, 0x00, 0x05,
        0x01, 0x00, 0x00}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Result<std::vector<std::string>> expanded = expandMacroScript(c.script);
    ASSERT_TRUE(expanded) << expanded.error();
    EXPECT_EQ(*expanded, c.expanded);
    const Result<PackedMacro> packed = BuildMacroBlock(*expanded, c.block, c.repeat);
    ASSERT_TRUE(packed) << packed.error();
    EXPECT_EQ(packed->block, blockOf(c.bytes));
    EXPECT_TRUE(packed->fits());
  }
}

TEST(MacroCompiler, EdgeCases) {
  struct Case {
    const char* name;
    MacroScript script;
    std::vector<std::string> expanded;
    std::vector<std::uint8_t> bytes;
  };
  const Case cases[] = {
      {"a lone press: header left 0, one record counted",
       {"1", kADown},
       {"1 0004"},
       {0x00, 0x01, 0x00, 0x00, 0x00, 0x04}},
      {"a pause after the last release closes the terminal record",
       {"1", kADown, "0 50", kAUp, "0 30"},
       {"1 0004", "0 50", "2 0004", "0 30"},
       {0x00, 0x03, 0x02, 0x04, 0x00, 0x04, 0x01, 0x02, 0x00}},
      {"two presses without a pause share a record",
       {"1", kADown, kBDown, "0 50", kAUp, kBUp},
       {"1 0004", "1 0005", "0 50", "2 0004", "2 0005"},
       {0x00, 0x02, 0x03, 0x04, 0x00, 0x04, 0x05, 0x01, 0x00, 0x00}},
      {"a release is matched only at a pause, so A is carried on",
       {"1", kADown, kBDown, "0 50", kAUp, kCDown, "0 50", kBUp, kCUp},
       {"1 0004", "1 0005", "0 50", "2 0004", "1 0004", "1 0005", "1 0006", "0 50", "2 0005",
        "2 0006"},
       {0x00, 0x03, 0x03, 0x04, 0x00, 0x04, 0x05, 0x04, 0x04, 0x00, 0x04, 0x05, 0x06, 0x01, 0x00,
        0x00}},
      {"a delay of 0 is no boundary and re-appends nothing",
       {"1", kADown, "0 0", kBDown, "0 50", kAUp, kBUp},
       {"1 0004", "0 0", "1 0005", "0 50", "2 0004", "2 0005"},
       {0x00, 0x02, 0x03, 0x04, 0x00, 0x04, 0x05, 0x01, 0x00, 0x00}},
      {"lines of no kind are left out",
       {"1", "", "x junk", kADown, "0 50", kAUp},
       {"1 0004", "0 50", "2 0004"},
       {0x00, 0x02, 0x02, 0x04, 0x00, 0x04, 0x01, 0x00, 0x00}},
      {"Ctrl held for 6 s is split into records of at most 2560 ms",
       {"1", kCtrlDown, kADown, "0 6000", kAUp, kCtrlUp},
       {"1 1111", "1 0004", "0 6000", "2 0004", "2 1111"},
       {0x00, 0x04, 0x82, 0xFF, 0x01, 0x04, 0x82, 0xFF, 0x01, 0x04, 0x82, 0x57, 0x01, 0x04, 0x01,
        0x00, 0x00}},
      {"2570 ms is 2560 + 10",
       {"1", kADown, "0 2570", kAUp},
       {"1 0004", "0 2570", "2 0004"},
       {0x00, 0x03, 0x02, 0xFF, 0x00, 0x04, 0x02, 0x00, 0x00, 0x04, 0x01, 0x00, 0x00}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Result<std::vector<std::string>> expanded = expandMacroScript(c.script);
    ASSERT_TRUE(expanded) << expanded.error();
    EXPECT_EQ(*expanded, c.expanded);
    const Result<PackedMacro> packed = BuildMacroBlock(*expanded, 0, RepeatOption{});
    ASSERT_TRUE(packed) << packed.error();
    EXPECT_EQ(packed->block, blockOf(c.bytes));
  }
}

TEST(MacroCompiler, PressesPastTheSixthAreNotRemembered) {
  MacroScript script = {"1"};
  for (int code = 0x04; code <= 0x0A; ++code) {
    script.push_back(pressLine("k", static_cast<std::uint16_t>(code)));
  }
  script.insert(script.end(), {"0 50", kAUp, "0 50"});
  const Result<std::vector<std::string>> expanded = expandMacroScript(script);
  ASSERT_TRUE(expanded);
  const std::vector<std::string> tail(expanded->begin() + 9, expanded->end());
  // A's release empties its slot; presses 2 to 6 come back, the seventh does not.
  EXPECT_EQ(tail,
            (std::vector<std::string>{"1 0005", "1 0006", "1 0007", "1 0008", "1 0009", "0 50"}));
}

TEST(MacroCompiler, HoldTimeAndRepeatByte) {
  for (const auto& [delay, hold] : {std::pair{"9", 0},
                                    {"15", 0},
                                    {"20", 1},
                                    {"50", 4},
                                    {"120", 11},
                                    {"2550", 254},
                                    {"2569", 255}}) {
    SCOPED_TRACE(delay);
    const Result<PackedMacro> packed =
        compileMacroScript({"1", kADown, std::string("0 ") + delay, kAUp}, 0, RepeatOption{});
    ASSERT_TRUE(packed);
    EXPECT_EQ(packed->block[3], hold);
    EXPECT_EQ(packed->block[1], 2);  // one record, no split
  }

  struct Case {
    RepeatOption repeat;
    int block = 0;
    int byte = 0;
  };
  const Case cases[] = {
      {RepeatOption{}, 5, 0x00}, {endless(), 0, 0xF0},     {endless(), 9, 0xF9},
      {counted("1"), 0, 0x10},   {counted("9"), 9, 0x99},  {counted("0"), 4, 0x00},
      {counted("12"), 4, 0x00},  {counted("-3"), 4, 0x00},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.block);
    const Result<PackedMacro> packed = compileMacroScript({"1"}, c.block, c.repeat);
    ASSERT_TRUE(packed);
    EXPECT_EQ(packed->block[0], c.byte);
  }
  RepeatOption both = counted("x");
  both.endless = true;  // the count is not read then
  EXPECT_TRUE(compileMacroScript({"1"}, 0, both));
  for (const char* count : {"x", ""}) {
    const Result<PackedMacro> packed = compileMacroScript({"1"}, 0, counted(count));
    ASSERT_FALSE(packed);
    EXPECT_EQ(packed.error(), "the repeat count \"" + std::string(count) + "\" is not a number");
  }
}

TEST(MacroCompiler, InvalidLinesAreRefused) {
  struct Case {
    std::string line;
    std::string error;
  };
  const Case cases[] = {
      {"0 x", "line 3: the delay in \"0 x\" is not a whole number of milliseconds"},
      {"0 -5", "line 3: the delay in \"0 -5\" is not a whole number of milliseconds"},
      {"0", "line 3: the delay in \"0\" is not a whole number of milliseconds"},
      {"0 99999999999",
       "line 3: the delay in \"0 99999999999\" is not a whole number of "
       "milliseconds"},
      {"1 A CODE:00G4", "line 3: the key code of \"1 A CODE:00G4\" is not four hex digits"},
      {"2 AB", "line 3: the key code of \"2 AB\" is not four hex digits"},
      // Fault: a 500 KB delay line made a 500 KB message; a long line is
      // quoted by its first 40 bytes.
      {"0 " + std::string(500'000, '9'), "line 3: the delay in \"0 " + std::string(38, '9') +
                                             "\u2026\" is not a whole number of milliseconds"},
      {"1 " + std::string(13, 'A') + "\u00e9" + std::string(100, 'x'),
       "line 3: the key code of \"1 " + std::string(13, 'A') + "\u00e9" + std::string(23, 'x') +
           "\u2026\" is not four hex digits"},
      {"1 " + std::string(37, 'A') + "\u00e9" + std::string(100, 'x'),
       "line 3: the key code of \"1 " + std::string(37, 'A') + "\u2026\" is not four hex digits"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const Result<PackedMacro> packed = compileMacroScript({"1", kADown, c.line}, 0, {});
    ASSERT_FALSE(packed);
    EXPECT_EQ(packed.error(), c.error);
  }
}

TEST(MacroCompiler, MeasuresTheBytesAScriptUses) {
  struct Case {
    const char* name;
    MacroScript script;
    std::size_t bytes;
    bool fits;
  };
  const Case cases[] = {
      {"no lines", {}, 2, true},
      {"header only", {"1"}, 2, true},
      {"one click", clicks(1), 9, true},
      {"eighteen clicks fill the block exactly", clicks(18), 128, true},
      {"nineteen do not", clicks(19), 135, false},
      // 838861 records of A held for 2560 ms (4 bytes each), then the release.
      {"the longest pause is counted to its end",
       {"1", kADown, "0 2147483647", kAUp},
       3355449,
       false},
      // 900 x 838861 empty records of 3 bytes: more than a 32-bit count holds.
      {"a size past 2^31 stays exact", longestPauses(900), 2264924702u, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Result<MacroUsage> usage = measureMacroScript(c.script);
    ASSERT_TRUE(usage);
    EXPECT_EQ(usage->bytesUsed, c.bytes);
    EXPECT_EQ(usage->fits, c.fits);
  }
  EXPECT_FALSE(measureMacroScript({"1", "0 x"}));
}

class CompileAllTest : public ::testing::Test {
 protected:
  void write(const std::string& name, const MacroScript& script) {
    ASSERT_EQ(writeMacroFile(macroFilePath(dir_.path(), name), script), std::nullopt);
  }

  CompileOutcome compile(const std::vector<std::string>& names) {
    return CompileAllMacros(dir_.path(), names, RepeatOption{}, blocks_);
  }

  // Blocks that were not written keep this.
  static MacroBlock old() {
    MacroBlock block;
    block.fill(0xEE);
    return block;
  }

  void SetUp() override { blocks_.fill(old()); }

  TempDir dir_;
  MacroBlocks blocks_{};
};

TEST_F(CompileAllTest, AnEmptyLibraryClearsEveryBlock) {
  const CompileOutcome outcome = compile({});
  EXPECT_TRUE(outcome.written.empty());
  EXPECT_FALSE(outcome.error);
  for (const MacroBlock& block : blocks_) {
    EXPECT_EQ(block, MacroBlock{});
  }
}

TEST_F(CompileAllTest, AnEmptyMacroIsAnEmptyBlockAndTheOnesAfterItCompile) {
  const MacroBlock click = blockOf({0x00, 0x02, 0x02, 0x04, 0x00, 0x71, 0x01, 0x00, 0x00});
  write("a", clicks(1));
  write("b", {});
  write("c", clicks(1));
  const CompileOutcome outcome = compile({"a", "b", "c"});
  EXPECT_FALSE(outcome.error);
  ASSERT_EQ(outcome.written.size(), 3u);
  EXPECT_EQ(outcome.written[1].name, "b");
  EXPECT_EQ(blocks_[0], click);
  EXPECT_EQ(blocks_[1], blockOf({0x00, 0x01}));
  EXPECT_EQ(blocks_[2], click);
  // The blocks past the library lose what an earlier compilation left.
  for (std::size_t k = 3; k < blocks_.size(); ++k) {
    EXPECT_EQ(blocks_[k], MacroBlock{}) << k;
  }

  // The empty block takes the repeat byte as any other.
  const CompileOutcome repeated =
      CompileAllMacros(dir_.path(), std::vector<std::string>{"a", "b"}, endless(), blocks_);
  EXPECT_FALSE(repeated.error);
  EXPECT_EQ(blocks_[1], blockOf({0xF1, 0x01}));
  EXPECT_EQ(blocks_[2], MacroBlock{});
}

TEST_F(CompileAllTest, AMacroThatDoesNotFitIsRefusedByName) {
  write("a", clicks(1));
  write("long clicks", clicks(19));
  write("c", clicks(1));
  const CompileOutcome outcome = compile({"a", "long clicks", "c"});
  ASSERT_TRUE(outcome.error);
  EXPECT_EQ(outcome.error->macroName, "long clicks");
  EXPECT_EQ(outcome.error->kind, CompileError::Kind::TooLong);
  EXPECT_EQ(outcome.error->bytesNeeded, 135u);
  ASSERT_EQ(outcome.written.size(), 1u);
  // Neither its own block nor the next one received a byte.
  EXPECT_EQ(blocks_[1], old());
  EXPECT_EQ(blocks_[2], old());

  // A pause so long that its split records cannot fit is refused the same way.
  write("long pause", {"1", kADown, "0 400000", kAUp});
  const CompileOutcome pause = compile({"long pause"});
  ASSERT_TRUE(pause.error);
  EXPECT_EQ(pause.error->macroName, "long pause");
  EXPECT_EQ(blocks_[0], blockOf({0x00, 0x02, 0x02, 0x04, 0x00, 0x71, 0x01, 0x00, 0x00}));
}

TEST_F(CompileAllTest, FileErrorsStopAtTheirMacro) {
  write("a", clicks(1));
  write("c", clicks(2));
  dir_.write("b.spm", "E549B3922885FBA2\r\nNOT HEX\r\n");
  const CompileOutcome broken = compile({"a", "b", "c"});
  ASSERT_TRUE(broken.error);
  EXPECT_EQ(broken.error->macroName, "b");
  EXPECT_EQ(broken.error->kind, CompileError::Kind::Script);
  EXPECT_EQ(broken.error->detail, "Error: not a Hex String");
  EXPECT_EQ(broken.written.size(), 1u);
  EXPECT_EQ(blocks_[2], old());

  const CompileOutcome missing = compile({"gone"});
  ASSERT_TRUE(missing.error);
  EXPECT_EQ(missing.error->kind, CompileError::Kind::Unreadable);
  EXPECT_EQ(missing.error->file,
            (files::FileError{files::FileFailure::Read, macroFilePath(dir_.path(), "gone"), {}}));
}

TEST_F(CompileAllTest, EntriesPastTheTenthHaveNoBlock) {
  std::vector<std::string> names;
  for (int i = 0; i < 11; ++i) {
    names.push_back("m" + std::to_string(i));
    write(names.back(), clicks(1));
  }
  write("m10", {"1", "0 x"});  // compiled even so, and its error stops the run
  const CompileOutcome outcome = compile(names);
  EXPECT_EQ(outcome.written.size(), 10u);
  EXPECT_EQ(outcome.written.back().block, 9);
  ASSERT_TRUE(outcome.error);
  EXPECT_EQ(outcome.error->macroName, "m10");
}

}  // namespace
}  // namespace korvane::macros
