#include "settings/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_io.h"
#include "settings/code_page.h"
#include "support/temp_dir.h"

namespace korvane::settings {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const CodePage kUtf8{CodePageId::Utf8};
const CodePage kGbk{CodePageId::Gbk936};
const CodePage kCp1252{CodePageId::Windows1252};

// "设置模式1" in UTF-8 and in GBK.
constexpr std::string_view kModeName =
    "\xE8\xAE\xBE\xE7\xBD\xAE\xE6\xA8\xA1\xE5\xBC\x8F"
    "1";
constexpr std::string_view kModeNameGbk =
    "\xC9\xE8\xD6\xC3\xC4\xA3\xCA\xBD"
    "1";

IniFile parse(std::string_view bytes, const CodePage& page = kUtf8) {
  return IniFile::fromBytes(bytes, page);
}

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> folderListing(const fs::path& folder) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// ---------------------------------------------------------------- integers

struct IntRow {
  std::string_view text;
  std::optional<int> value;
};

class ProfileInt : public ::testing::TestWithParam<IntRow> {};

TEST_P(ProfileInt, FollowsTheGetPrivateProfileIntRule) {
  EXPECT_EQ(parseProfileInt(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(IniFile, ProfileInt,
                         ::testing::Values(IntRow{"0", 0}, IntRow{"5", 5}, IntRow{"-5", -5},
                                           IntRow{"+8", 8}, IntRow{" 7", 7}, IntRow{"\t 9", 9},
                                           IntRow{"12abc", 12}, IntRow{"3 4", 3}, IntRow{"0x10", 0},
                                           IntRow{"007", 7}, IntRow{"abc", std::nullopt},
                                           IntRow{"", std::nullopt}, IntRow{"   ", std::nullopt},
                                           IntRow{"-", std::nullopt}, IntRow{"- 5", std::nullopt},
                                           IntRow{"--5", std::nullopt}, IntRow{"+-5", std::nullopt},
                                           IntRow{"256", 256}, IntRow{"511", 511}, IntRow{"-1", -1},
                                           IntRow{"2147483647", INT_MAX},
                                           IntRow{"2147483648", INT_MIN}, IntRow{"4294967295", -1},
                                           IntRow{"4294967296", 0}, IntRow{"4294967297", 1},
                                           IntRow{"99999999999999999999", 1661992959},
                                           IntRow{"-99999999999999999999", -1661992959}));

TEST(IniFile, DataBytesTakeTheLowEightBits) {
  const IniFile ini =
      parse("[Mode1_data]\r\nData0=256\r\nData1=511\r\nData2=-1\r\nData3=4294967297\r\n");
  EXPECT_EQ(ini.readInt("Mode1_data", "Data0") & 0xFF, 0);
  EXPECT_EQ(ini.readInt("Mode1_data", "Data1") & 0xFF, 255);
  EXPECT_EQ(ini.readInt("Mode1_data", "Data2") & 0xFF, 255);
  EXPECT_EQ(ini.readInt("Mode1_data", "Data3") & 0xFF, 1);
}

struct ValueRow {
  std::string_view value;
  int asInt;         // with default 42
  bool asBoolFalse;  // with default false
  bool asBoolTrue;   // with default true
};

class ValueReads : public ::testing::TestWithParam<ValueRow> {};

TEST_P(ValueReads, IntegerAndBooleanOfAValue) {
  const ValueRow& row = GetParam();
  const IniFile ini = parse("[S]\r\nk=" + std::string(row.value) + "\r\n");
  EXPECT_EQ(ini.readInt("S", "k", 42), row.asInt);
  EXPECT_EQ(ini.readBool("S", "k", false), row.asBoolFalse);
  EXPECT_EQ(ini.readBool("S", "k", true), row.asBoolTrue);
}

INSTANTIATE_TEST_SUITE_P(
    IniFile, ValueReads,
    ::testing::Values(ValueRow{"1", 1, true, true}, ValueRow{"0", 0, false, false},
                      ValueRow{"2", 2, true, true}, ValueRow{"-1", -1, true, true},
                      ValueRow{"-5", -5, true, true}, ValueRow{"  7  ", 7, true, true},
                      ValueRow{"12abc", 12, true, true}, ValueRow{"0abc", 0, false, false},
                      // Present but not a number: 0, as the profile functions read it.
                      ValueRow{"abc", 0, false, false}, ValueRow{"-  3", 0, false, false},
                      ValueRow{"true", 0, false, false}, ValueRow{"-", 0, false, false},
                      // Empty: the default.
                      ValueRow{"", 42, false, true}, ValueRow{"4294967296", 0, false, false},
                      ValueRow{"4294967297", 1, true, true},
                      ValueRow{"99999999999999999999", 1661992959, true, true}));

// ---------------------------------------------------------------- reads

TEST(IniFile, NamesMatchWithoutRegardToCase) {
  const IniFile ini = parse("[Mode1]\r\nKey1=Copy\r\nSPEED=6\r\n");
  EXPECT_TRUE(ini.hasSection("mode1"));
  EXPECT_TRUE(ini.hasSection("MODE1"));
  EXPECT_TRUE(ini.hasKey("MODE1", "key1"));
  EXPECT_EQ(ini.readString("mOdE1", "KEY1"), "Copy");
  EXPECT_EQ(ini.readInt("Mode1", "Speed"), 6);
  EXPECT_EQ(ini.readInt(" Mode1 ", " speed "), 6);  // names given are trimmed too
}

TEST(IniFile, MissingFileSectionOrKeyReadsTheDefault) {
  const IniFile missing = IniFile::load("/nonexistent-korvane/GM.ini", kGbk);
  EXPECT_FALSE(missing.exists());
  EXPECT_EQ(missing.path(), fs::path("/nonexistent-korvane/GM.ini"));
  EXPECT_EQ(missing.text(), "");
  EXPECT_FALSE(missing.hasSection("GM"));
  EXPECT_EQ(missing.readInt("GM", "cbMode"), 0);
  EXPECT_EQ(missing.readInt("GM", "cbMode", 7), 7);
  EXPECT_FALSE(missing.readBool("GM", "Cycle"));
  EXPECT_TRUE(missing.readBool("GM", "Cycle", true));
  EXPECT_EQ(missing.readString("GM", "Mode1"), "");
  EXPECT_EQ(missing.readString("GM", "Mode1", "x"), "x");

  const IniFile ini = parse("[GM]\r\ncbMode=2\r\n");
  EXPECT_TRUE(ini.exists());
  EXPECT_EQ(ini.readInt("Mode1", "cbMode", -3), -3);
  EXPECT_EQ(ini.readInt("GM", "Cycle", -3), -3);
  EXPECT_EQ(ini.readString("GM", "Mode1", "none"), "none");
  EXPECT_FALSE(ini.hasKey("GM", "Mode1"));
  EXPECT_FALSE(ini.hasKey("Mode1", "cbMode"));
}

TEST(IniFile, DuplicateKeysFirstOccurrenceWins) {
  const IniFile ini = parse("[S]\r\nk=1\r\nK=2\r\n");
  EXPECT_EQ(ini.readInt("S", "k"), 1);
}

TEST(IniFile, DuplicateSectionsOnlyTheFirstCounts) {
  const IniFile ini = parse("[S]\r\na=1\r\n[T]\r\na=5\r\n[s]\r\na=2\r\nb=3\r\n");
  EXPECT_EQ(ini.readInt("S", "a"), 1);
  // As with the Windows profile functions, a key only in the later section is not seen.
  EXPECT_FALSE(ini.hasKey("S", "b"));
  EXPECT_EQ(ini.readInt("S", "b", 9), 9);
  EXPECT_EQ(ini.readInt("T", "a"), 5);
}

TEST(IniFile, KeysBeforeTheFirstSectionBelongToNone) {
  const IniFile ini = parse("a=1\r\n[S]\r\nb=2\r\n");
  EXPECT_FALSE(ini.hasKey("S", "a"));
  EXPECT_FALSE(ini.hasKey("", "a"));
  EXPECT_EQ(ini.readInt("S", "b"), 2);
}

TEST(IniFile, StringValuesAreKeptExactlyBetweenTheBlanks) {
  const IniFile ini = parse(
      "[S]\r\n"
      "quoted=\"Copy\"\r\n"
      "single='x'\r\n"
      "spaced =  two  words \t\r\n"
      "equals=a=b\r\n"
      "semicolon=;not a comment\r\n"
      "empty=\r\n"
      ";hidden=1\r\n"
      "  ;alsoHidden=1\r\n");
  EXPECT_EQ(ini.readString("S", "quoted"), "\"Copy\"");
  EXPECT_EQ(ini.readString("S", "single"), "'x'");
  EXPECT_EQ(ini.readString("S", "spaced"), "two  words");
  EXPECT_EQ(ini.readString("S", "equals"), "a=b");
  EXPECT_EQ(ini.readString("S", "semicolon"), ";not a comment");
  EXPECT_TRUE(ini.hasKey("S", "empty"));
  EXPECT_EQ(ini.readString("S", "empty", "default"), "");
  EXPECT_FALSE(ini.hasKey("S", ";hidden"));
  EXPECT_FALSE(ini.hasKey("S", ";alsoHidden"));
}

TEST(IniFile, SectionHeaderForms) {
  const IniFile ini = parse(
      "  [ Spaced ]  trailing text\r\n"
      "a=1\r\n"
      "[NoClose\r\n"
      "b=2\r\n"
      "[]\r\n"
      "c=3\r\n");
  EXPECT_EQ(ini.readInt("Spaced", "a"), 1);
  EXPECT_EQ(ini.readInt("NoClose", "b"), 2);
  EXPECT_FALSE(ini.hasKey("Spaced", "b"));
  EXPECT_EQ(ini.readInt("", "c"), 3);
}

TEST(IniFile, ValuesAreConvertedFromTheCodePage) {
  const IniFile gbk = parse("[GM]\r\nMode1=" + std::string(kModeNameGbk) + "\r\n", kGbk);
  EXPECT_EQ(gbk.readString("GM", "Mode1"), kModeName);

  // The same bytes read as Windows-1252 give Latin letters, not Chinese.
  const IniFile latin = parse("[GM]\r\nMode1=\xC9\r\n", kCp1252);
  EXPECT_EQ(latin.readString("GM", "Mode1"), "\xC3\x89");
}

// ---------------------------------------------------------------- bad input

struct BadInputRow {
  const char* name;
  std::string bytes;
  const char* section;
  const char* key;
  int expectedInt;  // readInt with default 99
};

class BadInput : public ::testing::TestWithParam<BadInputRow> {};

TEST_P(BadInput, LoadsAndGivesTheDefinedValue) {
  const BadInputRow& row = GetParam();
  const IniFile ini = parse(row.bytes, kGbk);
  EXPECT_EQ(ini.readInt(row.section, row.key, 99), row.expectedInt);
  EXPECT_EQ(ini.text(), row.bytes);  // nothing written, nothing changed
}

const std::string kLongKey(300, 'K');

INSTANTIATE_TEST_SUITE_P(
    IniFile, BadInput,
    ::testing::Values(
        BadInputRow{"GarbageValue", "[S]\r\nData0=zz\r\n", "S", "Data0", 0},
        BadInputRow{"ValueOver255", "[S]\r\nData0=300\r\n", "S", "Data0", 300},
        BadInputRow{"NegativeValue", "[S]\r\nData0=-4\r\n", "S", "Data0", -4},
        BadInputRow{"KeyNameOver255Chars", "[S]\r\n" + kLongKey + "=8\r\n", "S", kLongKey.c_str(),
                    8},
        BadInputRow{"DuplicateKey", "[S]\r\nData0=1\r\nData0=2\r\n", "S", "Data0", 1},
        BadInputRow{"DuplicateSection", "[S]\r\nData0=1\r\n[S]\r\nData0=2\r\n", "S", "Data0", 1},
        BadInputRow{"NoFinalNewline", "[S]\r\nData0=5", "S", "Data0", 5},
        BadInputRow{"LfEndings", "[S]\nData0=6\n", "S", "Data0", 6},
        BadInputRow{"LoneCrEndings", "[S]\rData0=7\rData1=8", "S", "Data1", 8},
        BadInputRow{"MixedEndings", "[S]\r\nData0=1\nData1=2\rData2=3\r\n", "S", "Data2", 3},
        BadInputRow{"BlankLinesAndTabs", "\r\n\r\n\t[S]\t\r\n\r\n\tData0\t=\t4\t\r\n", "S", "Data0",
                    4},
        BadInputRow{"KeyWithoutEquals", "[S]\r\nData0\r\n", "S", "Data0", 99},
        BadInputRow{"NulInValue", "[S]\r\nData0=5\0garbage\r\n"s, "S", "Data0", 5},
        BadInputRow{"NulLine", "[S]\r\n\0\0\0\r\nData0=6\r\n"s, "S", "Data0", 6},
        BadInputRow{"HalfGbkCharacter", "[S]\r\n\xC9=1\r\nData0=\xC9\r\n", "S", "Data0", 0},
        BadInputRow{"EmptyFile", "", "S", "Data0", 99},
        BadInputRow{"OnlyLineEnds", "\r\n\n\r", "S", "Data0", 99}),
    [](const ::testing::TestParamInfo<BadInputRow>& info) { return std::string(info.param.name); });

TEST(IniFile, Utf8ByteOrderMarkIsSetAsideAndTheTextIsUtf8) {
  const std::string bytes = "\xEF\xBB\xBF[GM]\r\nMode1=" + std::string(kModeName) + "\r\n";
  IniFile ini = parse(bytes, kGbk);
  EXPECT_EQ(ini.codePage().id(), CodePageId::Utf8);
  EXPECT_TRUE(ini.hasSection("GM"));
  EXPECT_EQ(ini.readString("GM", "Mode1"), kModeName);
  EXPECT_EQ(ini.text(), bytes);

  ini.writeString("GM", "Mode2", kModeName);
  EXPECT_EQ(ini.text(), bytes + "Mode2=" + std::string(kModeName) + "\r\n");
}

TEST(IniFile, RandomBytesWithNulsLoadWithoutCrash) {
  std::mt19937 random(1234);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 50; ++round) {
    std::string bytes;
    for (int i = 0; i < 4096; ++i) {
      bytes += static_cast<char>(round % 2 == 0 && i % 7 == 0 ? 0 : byte(random));
    }
    IniFile ini = parse(bytes, kGbk);
    EXPECT_EQ(ini.text(), bytes);
    EXPECT_EQ(ini.readInt("Mode1_data", "Data0", 99), 99);
    EXPECT_EQ(ini.readString("Mode1", "Key1", "d"), "d");
    ini.writeInt("Mode1_data", "Data0", 17);
    EXPECT_EQ(ini.readInt("Mode1_data", "Data0", 99), 17);
    EXPECT_EQ(ini.text().substr(0, bytes.size()), bytes);
  }
}

// ---------------------------------------------------------------- writes

TEST(IniFile, WritingAnExistingKeyReplacesItsValueInPlace) {
  IniFile ini = parse(
      "; Korvane settings\r\n"
      "[Mode1]\r\n"
      "Key1=Left\r\n"
      "speed = 5  \r\n"
      "\r\n"
      "junk line\r\n"
      "[Other]\r\n"
      "Speed=1\r\n");
  ini.writeInt("Mode1", "Speed", 7);
  ini.writeString("MODE1", "KEY1", "Copy");
  EXPECT_EQ(ini.text(),
            "; Korvane settings\r\n"
            "[Mode1]\r\n"
            "Key1=Copy\r\n"
            "speed = 7\r\n"
            "\r\n"
            "junk line\r\n"
            "[Other]\r\n"
            "Speed=1\r\n");
}

TEST(IniFile, WritingAMissingKeyAppendsItAtTheEndOfItsSection) {
  IniFile ini = parse(
      "[Mode1]\r\n"
      "Key1=Left\r\n"
      "; trailing comment\r\n"
      "\r\n"
      "[GM]\r\n"
      "cbMode=0\r\n");
  ini.writeBool("Mode1", "Enhance", true);
  ini.writeInt("Mode1", "wheel", 3);
  ini.writeBool("GM", "Cycle", false);
  EXPECT_EQ(ini.text(),
            "[Mode1]\r\n"
            "Key1=Left\r\n"
            "; trailing comment\r\n"
            "Enhance=1\r\n"
            "wheel=3\r\n"
            "\r\n"
            "[GM]\r\n"
            "cbMode=0\r\n"
            "Cycle=0\r\n");
}

TEST(IniFile, KeysAreFoundAfterLinesWereAddedBeforeThem) {
  IniFile ini = parse("[Mode1]\r\nKey1=Left\r\n[GM]\r\ncbMode=4\r\n");
  EXPECT_EQ(ini.readInt("GM", "cbMode"), 4);
  ini.writeInt("Mode1", "wheel", 3);  // a line added above [GM]
  ini.writeInt("Mode1", "Speed", 2);
  EXPECT_EQ(ini.readInt("GM", "cbMode"), 4);
  EXPECT_EQ(ini.readString("Mode1", "Key1"), "Left");
  ini.writeInt("GM", "cbMode", 1);
  ini.writeInt("New", "x", 5);
  EXPECT_EQ(ini.readInt("New", "X"), 5);
  EXPECT_EQ(ini.text(),
            "[Mode1]\r\nKey1=Left\r\nwheel=3\r\nSpeed=2\r\n[GM]\r\ncbMode=1\r\n[New]\r\nx=5\r\n");
}

TEST(IniFile, WritingAMissingSectionAppendsItAtTheEndOfTheFile) {
  IniFile ini = parse("x=1\r\n[GM]\r\ncbMode=0\r\n\r\n");
  ini.writeInt("Mode3", "Speed", -2);
  EXPECT_EQ(ini.text(), "x=1\r\n[GM]\r\ncbMode=0\r\n\r\n[Mode3]\r\nSpeed=-2\r\n");
}

TEST(IniFile, ANewFileGetsCrLfLines) {
  IniFile ini = IniFile::load("/nonexistent-korvane/GM.ini", kUtf8);
  ini.writeInt("GM", "cbMode", 2);
  ini.writeString("GM", "Cycle_Count", "3");
  EXPECT_EQ(ini.text(), "[GM]\r\ncbMode=2\r\nCycle_Count=3\r\n");
}

TEST(IniFile, NewKeysAreAddedInTheOrderWritten) {
  IniFile ini = parse("[S]\r\nb=value\r\na=value\r\n");
  ini.writeString("S", "z", "");
  ini.writeString("S", "b", "");
  ini.writeString("S", "y", "");
  ini.writeString("S", "a", "");
  EXPECT_EQ(ini.text(), "[S]\r\nb=\r\na=\r\nz=\r\ny=\r\n");
}

struct EndingRow {
  const char* name;
  std::string before;
  std::string after;  // after writing S/new=1 and T/k=2
};

class LineEnds : public ::testing::TestWithParam<EndingRow> {};

TEST_P(LineEnds, AddedLinesUseTheFilesLineEnd) {
  IniFile ini = parse(GetParam().before);
  ini.writeInt("S", "new", 1);
  ini.writeInt("T", "k", 2);
  EXPECT_EQ(ini.text(), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    IniFile, LineEnds,
    ::testing::Values(EndingRow{"CrLf", "[S]\r\na=0\r\n", "[S]\r\na=0\r\nnew=1\r\n[T]\r\nk=2\r\n"},
                      EndingRow{"Lf", "[S]\na=0\n", "[S]\na=0\nnew=1\n[T]\nk=2\n"},
                      EndingRow{"LoneCr", "[S]\ra=0\r", "[S]\ra=0\rnew=1\r[T]\rk=2\r"},
                      EndingRow{"LfNoFinalNewline", "[S]\na=0", "[S]\na=0\nnew=1\n[T]\nk=2\n"},
                      EndingRow{"OneLineNoNewline", "[S]", "[S]\r\nnew=1\r\n[T]\r\nk=2\r\n"},
                      EndingRow{"Empty", "", "[S]\r\nnew=1\r\n[T]\r\nk=2\r\n"}),
    [](const ::testing::TestParamInfo<EndingRow>& info) { return std::string(info.param.name); });

TEST(IniFile, ReplacingTheLastLineKeepsItsMissingLineEnd) {
  IniFile ini = parse("[S]\r\na=0");
  ini.writeInt("S", "a", 12);
  EXPECT_EQ(ini.text(), "[S]\r\na=12");
}

TEST(IniFile, DuplicatesWriteToTheFirstOccurrence) {
  IniFile ini = parse("[S]\r\nk=1\r\nk=2\r\n[T]\r\n[s]\r\nk=3\r\nonlyLater=4\r\n");
  ini.writeInt("S", "k", 10);
  ini.writeInt("S", "onlyLater", 40);
  EXPECT_EQ(ini.text(),
            "[S]\r\nk=10\r\nk=2\r\nonlyLater=40\r\n[T]\r\n[s]\r\nk=3\r\nonlyLater=4\r\n");
  EXPECT_EQ(ini.readInt("S", "onlyLater"), 40);
}

// ---------------------------------------------------------------- encodings

struct EncodingRow {
  const char* name;
  std::string bytes;  // the file; its GM/Mode1 value reads as "expected"
  CodePage legacy;    // the code page the caller names for a file not in UTF-8
  CodePageId kept;    // the encoding the file is then kept in
  std::string expected;
};

class Encoding : public ::testing::TestWithParam<EncodingRow> {};

TEST_P(Encoding, IsReadFromTheContent) {
  const EncodingRow& row = GetParam();
  const IniFile ini = parse(row.bytes, row.legacy);
  EXPECT_EQ(ini.codePage().id(), row.kept);
  EXPECT_EQ(ini.readString("GM", "Mode1"), row.expected);
  EXPECT_EQ(ini.text(), row.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    IniFile, Encoding,
    ::testing::Values(
        // A byte-order mark: UTF-8 whatever the legacy code page.
        EncodingRow{"ByteOrderMark", "\xEF\xBB\xBF[GM]\r\nMode1=" + std::string(kModeName), kGbk,
                    CodePageId::Utf8, std::string(kModeName)},
        // Valid UTF-8 without one: UTF-8, also where 1252 would read "è®¾..."
        EncodingRow{"ValidUtf8", "[GM]\r\nMode1=" + std::string(kModeName), kCp1252,
                    CodePageId::Utf8, std::string(kModeName)},
        EncodingRow{"AsciiIsUtf8", "[GM]\r\nMode1=Mode 1", kGbk, CodePageId::Utf8, "Mode 1"},
        // Anything else: the legacy code page named for the file.
        EncodingRow{"Gbk", "[GM]\r\nMode1=" + std::string(kModeNameGbk), kGbk, CodePageId::Gbk936,
                    std::string(kModeName)},
        EncodingRow{"Big5",
                    "[GM]\r\nMode1=\xB3\x5D\xB8\x6D\xBC\xD2\xA6\xA1"
                    "1",
                    CodePage(CodePageId::Big5_950), CodePageId::Big5_950, "設置模式1"},
        EncodingRow{"Windows1252", "[GM]\r\nMode1=Caf\xE9", kCp1252, CodePageId::Windows1252,
                    "Caf\xC3\xA9"}),
    [](const ::testing::TestParamInfo<EncodingRow>& info) { return std::string(info.param.name); });

TEST(IniFile, ALegacyFileKeepsItsCodePageForWhatItCanHold) {
  IniFile gbk = parse("[GM]\r\nMode1=" + std::string(kModeNameGbk) + "\r\n", kGbk);
  gbk.writeString("GM", "Mode2", "右键");
  gbk.writeString("GM", "Mode3", "Cafe");
  EXPECT_EQ(gbk.codePage().id(), CodePageId::Gbk936);
  EXPECT_EQ(gbk.text(), "[GM]\r\nMode1=" + std::string(kModeNameGbk) +
                            "\r\nMode2=\xD3\xD2\xBC\xFC\r\nMode3=Cafe\r\n");
}

TEST(IniFile, WhatTheLegacyCodePageCannotHoldMakesTheFileUtf8NeverAQuestionMark) {
  // A 1252 file from the original platform; a Chinese name is written into it.
  IniFile latin = parse("[GM]\r\n; \xA9 1998\r\nMode1=Caf\xE9\r\n", kCp1252);
  latin.writeString("GM", "Mode2", kModeName);
  EXPECT_EQ(latin.codePage().id(), CodePageId::Utf8);
  EXPECT_EQ(latin.text(), "[GM]\r\n; \xC2\xA9 1998\r\nMode1=Caf\xC3\xA9\r\nMode2=" +
                              std::string(kModeName) + "\r\n");
  EXPECT_EQ(latin.text().find('?'), std::string::npos);
  const IniFile reread = parse(latin.text(), kCp1252);
  EXPECT_EQ(reread.readString("GM", "Mode1"), "Caf\xC3\xA9");
  EXPECT_EQ(reread.readString("GM", "Mode2"), kModeName);
}

TEST(IniFile, ANewFileIsUtf8WithoutByteOrderMark) {
  IniFile ini = IniFile::load(fs::path("/nonexistent/folder/GM.ini"), kCp1252);
  EXPECT_FALSE(ini.exists());
  ini.writeString("GM", "Mode1", kModeName);
  EXPECT_EQ(ini.text(), "[GM]\r\nMode1=" + std::string(kModeName) + "\r\n");
}

TEST(IniFile, WrittenValuesCannotSpanLines) {
  IniFile ini = parse("[S]\r\n");
  ini.writeString("S", "k", "one\r\ntwo\nthree");
  EXPECT_EQ(ini.text(), "[S]\r\nk=one  two three\r\n");
  EXPECT_EQ(ini.readString("S", "k"), "one  two three");
}

TEST(IniFile, CaptionsComeBackUnchanged) {
  const std::vector<std::string> captions = {
      "\"Copy\"", "'Paste'", "a=b", ";x", "[Mode1]", std::string(kModeName), ""};
  IniFile ini = parse("", kGbk);
  for (std::size_t i = 0; i < captions.size(); ++i) {
    ini.writeString("Mode1", "Key" + std::to_string(i + 1), captions[i]);
  }
  const IniFile reread = parse(ini.text(), kGbk);
  for (std::size_t i = 0; i < captions.size(); ++i) {
    EXPECT_EQ(reread.readString("Mode1", "Key" + std::to_string(i + 1), "missing"), captions[i]);
  }
}

// ---------------------------------------------------------------- files

TEST(IniFileFixtures, LoadAndKeepEveryByte) {
  const fs::path folder = fs::path(KORVANE_FIXTURES_DIR) / "ini";
  for (const char* name : {"GbkCaptions.ini", "LfEndingsNoFinalNewline.ini",
                           "Utf8ByteOrderMark.ini", "BinaryGarbage.ini"}) {
    const IniFile ini = IniFile::load(folder / name, kGbk);
    EXPECT_TRUE(ini.exists()) << name;
    EXPECT_EQ(ini.text(), readBytes(folder / name)) << name;
  }
}

TEST(IniFileFixtures, GbkCaptions) {
  const IniFile ini =
      IniFile::load(fs::path(KORVANE_FIXTURES_DIR) / "ini" / "GbkCaptions.ini", kGbk);
  EXPECT_EQ(ini.readString("Mode1", "Key1"), "\xE5\xB7\xA6\xE9\x94\xAE");  // 左键
  EXPECT_EQ(ini.readInt("Mode1", "Speed"), 6);
  EXPECT_EQ(ini.readString("GM", "Mode1"), kModeName);
}

// A Mode1.ini as the original platform writes it in GBK: read, a button
// renamed, saved, and it is still GBK with every other byte in place.
TEST(IniFileFixtures, GbkMode1FromTheOriginalIsEditedAndSavedBackInGbk) {
  const fs::path original = fs::path(KORVANE_FIXTURES_DIR) / "ini" / "GbkMode1FromTheOriginal.ini";
  const korvane::testing::TempDir dir;
  const fs::path file = dir.write("Mode1.ini", readBytes(original));
  IniFile ini = IniFile::load(file, kGbk);
  EXPECT_EQ(ini.codePage().id(), CodePageId::Gbk936);
  EXPECT_EQ(ini.readString("Mode1", "Key1"), "左键");
  EXPECT_EQ(ini.readString("Mode1", "Key10"), "模式切换");
  ini.writeString("Mode1", "Key4", "复制");
  ASSERT_EQ(ini.save(), std::nullopt);

  std::string expected = readBytes(original);
  const std::string before = "Key4=\xBA\xF3\xCD\xCB";  // 后退
  ASSERT_NE(expected.find(before), std::string::npos);
  expected.replace(expected.find(before), before.size(), "Key4=\xB8\xB4\xD6\xC6");  // 复制
  EXPECT_EQ(readBytes(file), expected);
  EXPECT_EQ(IniFile::load(file, kGbk).readString("Mode1", "Key4"), "复制");
}

TEST(IniFileFixtures, LfEndingsNoFinalNewline) {
  const IniFile ini =
      IniFile::load(fs::path(KORVANE_FIXTURES_DIR) / "ini" / "LfEndingsNoFinalNewline.ini", kGbk);
  EXPECT_EQ(ini.readInt("Mode2_data", "Data0"), 2);
  EXPECT_EQ(ini.readInt("Mode2_data", "Data1") & 0xFF, 300 & 0xFF);
  EXPECT_EQ(ini.readInt("Mode2_data", "Data2") & 0xFF, 255);
  EXPECT_EQ(ini.readInt("Other", "x"), 1);
}

TEST(IniFileFixtures, Utf8ByteOrderMark) {
  const IniFile ini =
      IniFile::load(fs::path(KORVANE_FIXTURES_DIR) / "ini" / "Utf8ByteOrderMark.ini", kCp1252);
  EXPECT_EQ(ini.readString("English", "KOF1"), "Copy");
  EXPECT_EQ(ini.readString("English", "Mode1"), "Caf\xC3\xA9");
}

TEST(IniFileFixtures, BinaryGarbage) {
  const IniFile ini =
      IniFile::load(fs::path(KORVANE_FIXTURES_DIR) / "ini" / "BinaryGarbage.ini", kGbk);
  EXPECT_EQ(ini.readInt("Mode3_data", "Data0", 99), 3);
  EXPECT_EQ(ini.readInt("Mode3_data", "Data1", 99), 99);
}

class IniFileOnDisk : public ::testing::Test {
 protected:
  korvane::testing::TempDir temp_;
  const fs::path& folder_ = temp_.path();
};

TEST_F(IniFileOnDisk, SaveWritesTheTextAndLoadReadsItBack) {
  const fs::path file = folder_ / "Mode3_data.ini";
  IniFile ini = IniFile::load(file, kGbk);
  EXPECT_FALSE(ini.exists());
  for (int i = 0; i < 64; ++i) {
    ini.writeInt("Mode3_data", "Data" + std::to_string(i), i == 0 ? 3 : i);
  }
  ini.writeString("Mode3_data", "Name", kModeName);
  ASSERT_EQ(ini.save(), std::nullopt);
  EXPECT_EQ(readBytes(file), ini.text());
  EXPECT_EQ(folderListing(folder_), std::vector<std::string>{"Mode3_data.ini"});

  const IniFile reread = IniFile::load(file, kGbk);
  EXPECT_TRUE(reread.exists());
  EXPECT_EQ(reread.path(), file);
  EXPECT_EQ(reread.readInt("Mode3_data", "Data0"), 3);
  EXPECT_EQ(reread.readInt("Mode3_data", "Data63"), 63);
  EXPECT_EQ(reread.readString("Mode3_data", "Name"), kModeName);
}

TEST_F(IniFileOnDisk, SaveReplacesAnExistingFileAndKeepsItsOtherLines) {
  const fs::path file = temp_.write("Mode1.ini", "; keep me\n[Mode1]\nSpeed=5\nunknown=x\n");
  ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
  IniFile ini = IniFile::load(file, kGbk);
  ini.writeInt("Mode1", "Speed", 9);
  ini.writeInt("Mode1", "wheel", 2);
  ASSERT_EQ(ini.save(), std::nullopt);
  EXPECT_EQ(readBytes(file), "; keep me\n[Mode1]\nSpeed=9\nunknown=x\nwheel=2\n");
  struct stat info {};
  ASSERT_EQ(::stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640U);
  EXPECT_EQ(folderListing(folder_), std::vector<std::string>{"Mode1.ini"});
}

// A file that was there but not read is never replaced by what was built
// without it.
TEST_F(IniFileOnDisk, AFileTooLargeToReadLoadsAsMissingAndSaveLeavesIt) {
  const std::string refused = "[Mode1]\r\nSpeed=5\r\n" + std::string(files::kMaxFileBytes, '\n');
  const fs::path file = temp_.write("Mode1.ini", refused);
  IniFile ini = IniFile::load(file, kGbk);
  EXPECT_FALSE(ini.exists());
  EXPECT_TRUE(ini.tooLarge());
  EXPECT_EQ(ini.readInt("Mode1", "Speed", -1), -1);
  ini.writeInt("Mode1", "Speed", 9);
  EXPECT_EQ(ini.save(), (files::FileError{files::FileFailure::KeptTooLarge, file, {}}));
  EXPECT_EQ(readBytes(file), refused);
  EXPECT_EQ(folderListing(folder_), std::vector<std::string>{"Mode1.ini"});
}

TEST_F(IniFileOnDisk, AFileTheSystemWillNotOpenIsNeverReplaced) {
  // A link to itself: there, but no open gets through it (ELOOP).
  const fs::path file = folder_ / "Mode1.ini";
  ASSERT_EQ(::symlink("Mode1.ini", file.c_str()), 0);
  IniFile ini = IniFile::load(file, kGbk);
  ini.writeInt("Mode1", "Speed", 9);
  const std::optional<files::FileError> refused = ini.save();
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->failure, files::FileFailure::KeptUnreadable);
  EXPECT_EQ(refused->reason, "Too many levels of symbolic links");
  EXPECT_TRUE(fs::is_symlink(file));
}

TEST_F(IniFileOnDisk, SaveToAMissingFolderGivesTheMessage) {
  const fs::path file = folder_ / "configure" / "Mode2.ini";
  IniFile ini = IniFile::load(file, kGbk);
  ini.writeInt("Mode2", "Speed", 1);
  EXPECT_EQ(ini.save(),
            (files::FileError{files::FileFailure::Write, file, "No such file or directory"}));
  EXPECT_FALSE(fs::exists(folder_ / "configure"));
  EXPECT_TRUE(folderListing(folder_).empty());
}

TEST_F(IniFileOnDisk, AFailedRenameLeavesNoTemporaryFile) {
  // A folder where the file should be: the temporary file is written, the rename is refused.
  const fs::path file = folder_ / "GM.ini";
  ASSERT_TRUE(fs::create_directory(file));
  ASSERT_TRUE(fs::create_directory(file / "inside"));
  IniFile ini = IniFile::load(file, kGbk);
  EXPECT_FALSE(ini.exists());
  ini.writeInt("GM", "cbMode", 1);
  EXPECT_EQ(ini.save(), (files::FileError{files::FileFailure::Write, file, "Is a directory"}));
  EXPECT_EQ(folderListing(folder_), std::vector<std::string>{"GM.ini"});
  EXPECT_TRUE(fs::is_directory(file / "inside"));
}

TEST_F(IniFileOnDisk, SaveWithAnEmptyPathGivesTheMessage) {
  IniFile ini;
  ini.writeInt("GM", "cbMode", 1);
  EXPECT_EQ(ini.save(), (files::FileError{files::FileFailure::Write, {}, "Invalid argument"}));
}

TEST_F(IniFileOnDisk, ARelativePathIsSavedInTheCurrentFolder) {
  const fs::path previous = fs::current_path();
  fs::current_path(folder_);
  IniFile ini = IniFile::load("GM.ini", kUtf8);
  ini.writeInt("GM", "cbMode", 4);
  const std::optional<files::FileError> result = ini.save();
  fs::current_path(previous);
  ASSERT_EQ(result, std::nullopt);
  EXPECT_EQ(readBytes(folder_ / "GM.ini"), "[GM]\r\ncbMode=4\r\n");
  EXPECT_EQ(folderListing(folder_), std::vector<std::string>{"GM.ini"});
}

}  // namespace
}  // namespace korvane::settings
