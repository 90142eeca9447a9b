#include "macros/line_cipher.h"

#include <gtest/gtest.h>

#include <string>

namespace korvane::macros {
namespace {

using namespace std::string_literals;

// Known answers computed with OpenSSL's DES-ECB under the key 51656C746F000000.
TEST(LineCipher, EnciphersLikeAnyConformingDes) {
  struct Case {
    std::string plain;
    std::string hex;
  };
  const Case cases[] = {
      {"1", "E549B3922885FBA2"},
      {"0 50", "9BFAF15AFC7FADE8"},
      {"12345678", "330C2E4445A79D49"},
      {"123456789", "330C2E4445A79D492D029720907BC7EF"},
      {"1 Left Key  CODE:0071", "9B9833EE3B06DF8B43EDB6A165DED0D2048D072F49CA25D7"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.plain);
    EXPECT_EQ(EncryptLine(c.plain), c.hex);
    const Result<std::string> back = DecryptLine(c.hex);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, c.plain);
  }
  // nettle reports weak keys; the file key is not one (its parity bits are
  // wrong, which DES ignores).
  EXPECT_FALSE(lineKeyIsWeak());
}

TEST(LineCipher, SixteenDigitsPerStartedBlock) {
  for (const auto& [length, digits] :
       {std::pair{0, 0}, {1, 16}, {7, 16}, {8, 16}, {9, 32}, {16, 32}, {17, 48}}) {
    SCOPED_TRACE(length);
    const std::string hex = EncryptLine(std::string(static_cast<std::size_t>(length), 'x'));
    EXPECT_EQ(hex.size(), static_cast<std::size_t>(digits));
    EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string::npos);
  }
}

TEST(LineCipher, DecryptionRules) {
  struct Case {
    const char* name;
    std::string hex;
    std::string plain;
  };
  const Case cases[] = {
      {"lower case", "e549b3922885fba2", "1"},
      {"odd last character ignored", "E549B3922885FBA27", "1"},
      {"odd last character ignored even when not hex", "E549B3922885FBA2Z", "1"},
      {"partial trailing block ignored", "E549B3922885FBA2ABCD", "1"},
      {"only a partial block", "E549B3922885FB", ""},
      {"empty", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Result<std::string> plain = DecryptLine(c.hex);
    ASSERT_TRUE(plain) << plain.error();
    EXPECT_EQ(*plain, c.plain);
  }

  for (const std::string hex :
       {"E549B3922885FBG2", "E549 B3922885FBA2", "E549B3922885FBA2ZZ", "+1"}) {
    SCOPED_TRACE(hex);
    const Result<std::string> plain = DecryptLine(hex);
    ASSERT_FALSE(plain);
    EXPECT_EQ(plain.error(), "Error: not a Hex String");
  }
}

TEST(LineCipher, LinesAreBytes) {
  // UTF-8 (or any code page) text comes back byte for byte, NUL bytes inside
  // a line included; only trailing NUL bytes are lost to the padding rule.
  for (const std::string& line : {"1 \xE4\xB8\xAD\xE6\x96\x87 CODE:0004"s, "a\0b"s}) {
    const Result<std::string> back = DecryptLine(EncryptLine(line));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, line);
  }
  EXPECT_EQ(*DecryptLine(EncryptLine("ab\0\0"s)), "ab");
}

}  // namespace
}  // namespace korvane::macros
