#include "settings/code_page.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

namespace korvane::settings {
namespace {

using namespace std::string_literals;

// "设置模式1" (the built-in name of mode 1) and its Traditional form "設置模式1".
constexpr std::string_view kModeName =
    "\xE8\xAE\xBE\xE7\xBD\xAE\xE6\xA8\xA1\xE5\xBC\x8F"
    "1";
constexpr std::string_view kModeNameTraditional =
    "\xE8\xA8\xAD\xE7\xBD\xAE\xE6\xA8\xA1\xE5\xBC\x8F"
    "1";
constexpr std::string_view kModeNameGbk =
    "\xC9\xE8\xD6\xC3\xC4\xA3\xCA\xBD"
    "1";
// "設" is B3 5D in Big5: its second byte is "]".
constexpr std::string_view kModeNameTraditionalBig5 =
    "\xB3\x5D\xB8\x6D\xBC\xD2\xA6\xA1"
    "1";

struct LanguageRow {
  std::string_view code;
  CodePageId id;
  int number;
};

class LanguageTable : public ::testing::TestWithParam<LanguageRow> {};

TEST_P(LanguageTable, LanguageCodeChoosesTheAnsiCodePage) {
  const LanguageRow& row = GetParam();
  const CodePage page = CodePage::forLanguage(row.code);
  EXPECT_EQ(page.id(), row.id);
  EXPECT_EQ(page.number(), row.number);
}

INSTANTIATE_TEST_SUITE_P(CodePage, LanguageTable,
                         ::testing::Values(LanguageRow{"CHS", CodePageId::Gbk936, 936},
                                           LanguageRow{"CHT", CodePageId::Big5_950, 950},
                                           LanguageRow{"ENU", CodePageId::Windows1252, 1252},
                                           LanguageRow{"", CodePageId::Gbk936, 936},
                                           LanguageRow{"chs", CodePageId::Gbk936,
                                                       936},  // codes match exactly
                                           LanguageRow{"JPN", CodePageId::Gbk936, 936}));

TEST(CodePage, ExactEncodingRefusesWhatTheCodePageCannotHold) {
  const CodePage cp1252(CodePageId::Windows1252);
  EXPECT_EQ(cp1252.fromUtf8Exactly("Caf\xC3\xA9"), std::optional<std::string>("Caf\xE9"));
  EXPECT_EQ(cp1252.fromUtf8Exactly("左键"), std::nullopt);
  EXPECT_EQ(cp1252.fromUtf8Exactly("A\xFF"), std::nullopt);  // not UTF-8
  EXPECT_EQ(CodePage(CodePageId::Gbk936).fromUtf8Exactly("设置模式1"),
            std::optional<std::string>(kModeNameGbk));
  EXPECT_EQ(CodePage(CodePageId::Big5_950).fromUtf8Exactly("设置"), std::nullopt);
  EXPECT_EQ(CodePage().fromUtf8Exactly("左键"), std::optional<std::string>("左键"));
}

TEST(CodePage, DefaultIsUtf8) {
  EXPECT_EQ(CodePage().id(), CodePageId::Utf8);
  EXPECT_EQ(CodePage().number(), 65001);
}

struct ConversionRow {
  const char* name;
  CodePageId page;
  std::string utf8;     // given to fromUtf8
  std::string encoded;  // expected from fromUtf8
  std::string decoded;  // expected from toUtf8(encoded)
};

class Conversion : public ::testing::TestWithParam<ConversionRow> {};

TEST_P(Conversion, EncodesAndDecodes) {
  const ConversionRow& row = GetParam();
  const CodePage page(row.page);
  const std::string encoded = page.fromUtf8(row.utf8);
  EXPECT_EQ(encoded, row.encoded);
  EXPECT_EQ(page.toUtf8(encoded), row.decoded);
}

INSTANTIATE_TEST_SUITE_P(
    CodePage, Conversion,
    ::testing::Values(
        ConversionRow{"GbkModeName", CodePageId::Gbk936, std::string(kModeName),
                      std::string(kModeNameGbk), std::string(kModeName)},
        ConversionRow{"Big5TraditionalModeName", CodePageId::Big5_950,
                      std::string(kModeNameTraditional), std::string(kModeNameTraditionalBig5),
                      std::string(kModeNameTraditional)},
        // "设" is Simplified only; the other characters exist in Big5.
        ConversionRow{"Big5SimplifiedModeName", CodePageId::Big5_950, std::string(kModeName),
                      "?\xB8\x6D\xBC\xD2\xA6\xA1"
                      "1",
                      "?\xE7\xBD\xAE\xE6\xA8\xA1\xE5\xBC\x8F"
                      "1"},
        ConversionRow{"Cp1252Chinese", CodePageId::Windows1252, std::string(kModeName), "????1",
                      "????1"},
        ConversionRow{"Cp1252Latin", CodePageId::Windows1252, "Caf\xC3\xA9 \xE2\x82\xAC",
                      "Caf\xE9 \x80", "Caf\xC3\xA9 \xE2\x82\xAC"},
        ConversionRow{"GbkEuro", CodePageId::Gbk936, "\xE2\x82\xAC", "\x80", "\xE2\x82\xAC"},
        ConversionRow{"Utf8ModeName", CodePageId::Utf8, std::string(kModeName),
                      std::string(kModeName), std::string(kModeName)},
        ConversionRow{"AsciiWithNul", CodePageId::Gbk936, "a\0b"s, "a\0b"s, "a\0b"s},
        ConversionRow{"Empty", CodePageId::Big5_950, "", "", ""},
        // Invalid UTF-8 handed to fromUtf8: "?" for each bad byte, one for a character cut short.
        ConversionRow{"InvalidUtf8IntoGbk", CodePageId::Gbk936,
                      "a\xFF"
                      "b\xE8\xAE",
                      "a?b?", "a?b?"},
        ConversionRow{"InvalidUtf8IntoUtf8", CodePageId::Utf8, "a\xC0\xAF\xED\xA0\x80z", "a?????z",
                      "a?????z"},
        // A 4-byte character that Windows-1252 cannot hold is one "?".
        ConversionRow{"EmojiInto1252", CodePageId::Windows1252, "x\xF0\x9F\x98\x80y", "x?y",
                      "x?y"}),
    [](const ::testing::TestParamInfo<ConversionRow>& info) {
      return std::string(info.param.name);
    });

struct DecodeRow {
  const char* name;
  CodePageId page;
  std::string ansi;
  std::string utf8;
};

class Decoding : public ::testing::TestWithParam<DecodeRow> {};

TEST_P(Decoding, UndecodableBytesBecomeQuestionMarks) {
  const DecodeRow& row = GetParam();
  EXPECT_EQ(CodePage(row.page).toUtf8(row.ansi), row.utf8);
}

INSTANTIATE_TEST_SUITE_P(
    CodePage, Decoding,
    ::testing::Values(DecodeRow{"Cp1252Unassigned", CodePageId::Windows1252,
                                "a\x81"
                                "b\x8D",
                                "a?b?"},
                      DecodeRow{"GbkLeadByteAtEnd", CodePageId::Gbk936, "A\xC9", "A?"},
                      DecodeRow{"GbkBadTrailByte", CodePageId::Gbk936,
                                "\x81\x20"
                                "x",
                                "? x"},
                      DecodeRow{"GbkFF", CodePageId::Gbk936,
                                "\xFF"
                                "1",
                                "?1"},
                      DecodeRow{"Big5LeadByteAtEnd", CodePageId::Big5_950, "\xB3", "?"},
                      DecodeRow{"Utf8Truncated", CodePageId::Utf8, "ok\xE8\xAE", "ok??"},
                      DecodeRow{"Utf8Continuation", CodePageId::Utf8, "\x80\xBF", "??"},
                      DecodeRow{"Utf8BeyondUnicode", CodePageId::Utf8, "\xF4\x90\x80\x80", "????"}),
    [](const ::testing::TestParamInfo<DecodeRow>& info) { return std::string(info.param.name); });

TEST(CodePage, LongTextCrossesTheConversionBuffer) {
  std::string utf8;
  std::string gbk;
  for (int i = 0; i < 500; ++i) {
    utf8 += kModeName;
    gbk += kModeNameGbk;
  }
  const CodePage page(CodePageId::Gbk936);
  EXPECT_EQ(page.fromUtf8(utf8), gbk);
  EXPECT_EQ(page.toUtf8(gbk), utf8);
}

}  // namespace
}  // namespace korvane::settings
