#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "settings/code_page.h"
#include "settings/data_files.h"
#include "settings/mode_block.h"
#include "support/temp_dir.h"

namespace korvane::settings {
namespace {

using testing::TempDir;

bool sameBody(const ModeBlock& a, const ModeBlock& b) {
  return std::equal(a.begin() + 1, a.end(), b.begin() + 1);
}

std::string dataFileText(int mode, const ModeBlock& block) {
  std::string text = "[Mode" + std::to_string(mode) + "_data]\r\n";
  for (std::size_t i = 0; i < block.size(); ++i) {
    text += "Data" + std::to_string(i) + "=" + std::to_string(block[i]) + "\r\n";
  }
  return text;
}

class LoadStep : public ::testing::Test {
 protected:
  void SetUp() override { blocks.ResetToFactory(); }

  void load() {
    LoadModeForEditing(blocks, dir.path(), CodePage(),
                       [this](int mode) { settingsReads.push_back(mode); });
  }

  TempDir dir;
  ModeBlocks blocks;
  std::vector<int> settingsReads;
};

TEST(ModeBlockTest, FactoryBlockHasTheDocumentedButtonsAndSteps) {
  ModeBlocks blocks;
  blocks.ResetToFactory();
  EXPECT_EQ(blocks.working[kReportRateOffset], 4);
  EXPECT_EQ(blocks.working[kLightAndMotorOffset], 0x02);
  EXPECT_EQ(blocks.working[keyActionOffset(8) + 2], 0x8A);
  EXPECT_EQ(blocks.working[keyActionOffset(12) + 1], 0xFF);
  EXPECT_EQ(keyActionOffset(12), 41u);
  EXPECT_EQ(blocks.working[kDpiStepsOffset + 3], 0x30);
  for (int mode = 1; mode <= kModeCount; ++mode) {
    EXPECT_EQ(blocks.storedBlock(mode)[0], mode);
  }
}

TEST(ModeBlockTest, StoreWorkingBlockCopiesBodyOnlyWithAnActiveMode) {
  ModeBlocks blocks;
  blocks.ResetToFactory();
  blocks.working[kReportRateOffset] = 1;
  const auto before = blocks.stored;
  blocks.StoreWorkingBlock();  // no mode active: nothing stored
  EXPECT_EQ(blocks.stored, before);

  blocks.activeMode = 2;
  blocks.working[0] = 9;  // byte 0 of the stored block is its mode, never the working byte
  blocks.StoreWorkingBlock();
  EXPECT_EQ(blocks.storedBlock(2)[0], 2);
  EXPECT_TRUE(sameBody(blocks.storedBlock(2), blocks.working));
  EXPECT_EQ(blocks.storedBlock(1), before[0]);

  blocks.captureForSaving();  // Save takes byte 0 as well
  EXPECT_EQ(blocks.storedBlock(2), blocks.working);
}

TEST_F(LoadStep, NoFilesGivesFactoryEverywhereAndTheActiveModeInByteZero) {
  blocks.activeMode = 3;
  load();
  for (int mode = 1; mode <= kModeCount; ++mode) {
    EXPECT_EQ(blocks.storedBlock(mode)[0], mode);
    EXPECT_TRUE(sameBody(blocks.storedBlock(mode), kFactoryBlock)) << mode;
  }
  EXPECT_EQ(blocks.working, blocks.storedBlock(3));
  EXPECT_EQ(settingsReads, std::vector<int>{3});
}

TEST_F(LoadStep, AMissingDataFileTakesTheLastFileReadBeforeIt) {
  ModeBlock first = kFactoryBlock;
  first[0] = 1;
  first[kReportRateOffset] = 2;
  first[1] = 0x11;  // reserved bytes travel with the file
  first[50] = 0x77;
  dir.write("Mode1_data.ini", dataFileText(1, first));
  ModeBlock third = kFactoryBlock;
  third[0] = 3;
  third[kLightColourOffset] = 5;
  dir.write("Mode3_data.ini", dataFileText(3, third));
  blocks.activeMode = 2;
  load();

  EXPECT_TRUE(sameBody(blocks.storedBlock(1), first));
  EXPECT_TRUE(sameBody(blocks.storedBlock(2), first));
  EXPECT_TRUE(sameBody(blocks.storedBlock(3), third));
  EXPECT_TRUE(sameBody(blocks.storedBlock(4), third));
  EXPECT_TRUE(sameBody(blocks.storedBlock(5), third));
  EXPECT_EQ(blocks.storedBlock(4)[0], 4);
  EXPECT_EQ(blocks.working[0], 2);
  EXPECT_EQ(blocks.working[1], 0x11);
  EXPECT_EQ(blocks.working[50], 0x77);
}

TEST_F(LoadStep, WithoutDataFilesEditsSurviveAReload) {
  // Nothing on disk to reread: every stored block takes the working block.
  blocks.activeMode = 2;
  load();
  blocks.working[kReportRateOffset] = 1;
  blocks.StoreWorkingBlock();
  load();
  EXPECT_EQ(blocks.working[kReportRateOffset], 1);
  EXPECT_EQ(blocks.storedBlock(5)[kReportRateOffset], 1);
}

TEST_F(LoadStep, MissingKeysReadAsZeroAndNoActiveModeKeepsTheLastFile) {
  dir.write("Mode5_data.ini", "[Mode5_data]\nData3=1\nData60=16\n");
  load();
  EXPECT_EQ(blocks.activeMode, 0);
  EXPECT_TRUE(settingsReads.empty());
  ModeBlock expected{};
  expected[kReportRateOffset] = 1;
  expected[kDpiStepsOffset] = 16;
  EXPECT_EQ(blocks.working, expected);  // byte 0 included
  EXPECT_TRUE(sameBody(blocks.storedBlock(5), expected));
  EXPECT_TRUE(sameBody(blocks.storedBlock(1), kFactoryBlock));
}

TEST_F(LoadStep, ReloadingDiscardsUnsavedEditsOfEveryMode) {
  for (int mode = 1; mode <= kModeCount; ++mode) {
    ModeBlock block = kFactoryBlock;
    block[0] = static_cast<std::uint8_t>(mode);
    dir.write("Mode" + std::to_string(mode) + "_data.ini", dataFileText(mode, block));
  }
  blocks.activeMode = 1;
  load();
  blocks.working[kReportRateOffset] = 1;
  blocks.StoreWorkingBlock();
  blocks.storedBlock(4)[kDpiLevelOffset] = 3;
  load();
  EXPECT_EQ(blocks.working[kReportRateOffset], kFactoryBlock[kReportRateOffset]);
  EXPECT_EQ(blocks.storedBlock(4)[kDpiLevelOffset], kFactoryBlock[kDpiLevelOffset]);
}

TEST(DataFileTest, ValuesKeepTheirLowEightBits) {
  struct Case {
    const char* value;
    std::uint8_t expected;
  };
  const Case cases[] = {{"7", 7},    {"255", 255}, {"256", 0}, {"300", 44},
                        {"-1", 255}, {"abc", 0},   {"", 0},    {"12abc", 12}};
  TempDir dir;
  for (const Case& c : cases) {
    const auto file = dir.write("Mode1_data.ini", std::string("[Mode1_data]\nData7=") + c.value);
    ModeBlock block = kFactoryBlock;
    ASSERT_TRUE(readDataFile(file, CodePage(), block));
    EXPECT_EQ(block[7], c.expected) << c.value;
  }
}

TEST(DataFileTest, WriteThenReadGivesTheSameBytesInKeyOrder) {
  TempDir dir;
  ModeBlock block{};
  for (std::size_t i = 0; i < block.size(); ++i) {
    block[i] = static_cast<std::uint8_t>(i * 4 + 1);
  }
  const auto file = dataFilePath(dir.path(), 3);
  ASSERT_FALSE(writeDataFile(file, CodePage(), block).has_value());
  const std::string text = dir.read("Mode3_data.ini");
  EXPECT_EQ(text.rfind("[Mode3_data]", 0), 0u);
  EXPECT_LT(text.find("Data0=1"), text.find("Data1=5"));
  EXPECT_LT(text.find("Data9="), text.find("Data10="));
  ModeBlock back{};
  ASSERT_TRUE(readDataFile(file, CodePage(), back));
  EXPECT_EQ(back, block);
}

TEST(DataFileTest, RefusedWriteNamesTheFile) {
  TempDir dir;
  const auto file = dir.path() / "missing-folder" / "Mode1_data.ini";
  const auto error = writeDataFile(file, CodePage(), kFactoryBlock);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(*error,
            (files::FileError{files::FileFailure::Write, file, "No such file or directory"}));
}

}  // namespace
}  // namespace korvane::settings
