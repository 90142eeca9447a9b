#include "device/report_descriptor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace korvane::device {
namespace {

// Fixture files hold hex bytes separated by white space; '#' starts a comment.
std::vector<std::uint8_t> loadHexFixture(const std::string& name) {
  std::ifstream in(std::string(KORVANE_FIXTURES_DIR) + "/descriptors/" + name);
  EXPECT_TRUE(in) << name;
  std::vector<std::uint8_t> bytes;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line.substr(0, line.find('#')));
    std::string word;
    while (words >> word) {
      bytes.push_back(static_cast<std::uint8_t>(std::stoul(word, nullptr, 16)));
    }
  }
  return bytes;
}

struct DescriptorCase {
  const char* fixture = "";
  HidReportLengths lengths;
  bool numbered = false;
};

TEST(ReportDescriptor, LengthsOfRealWorldDescriptors) {
  const DescriptorCase cases[] = {
      {"boot_mouse.hex", {.input = 4, .output = 0, .feature = 0}, false},
      {"boot_keyboard.hex", {.input = 9, .output = 2, .feature = 0}, false},
      {"vendor_config.hex", {.input = 65, .output = 65, .feature = 9}, false},
      // The largest feature report decides.
      {"vendor_config_numbered.hex", {.input = 65, .output = 65, .feature = 17}, true},
      // Pop must bring back the one-bit field size; report 1 (6 bytes) beats report 2.
      {"gaming_mouse_push_pop.hex", {.input = 7, .output = 0, .feature = 0}, true},
  };
  for (const DescriptorCase& c : cases) {
    SCOPED_TRACE(c.fixture);
    const std::vector<std::uint8_t> bytes = loadHexFixture(c.fixture);
    ASSERT_FALSE(bytes.empty());
    const auto summary = parseReportDescriptor(bytes);
    ASSERT_TRUE(summary.has_value());
    EXPECT_EQ(summary->lengths, c.lengths);
    EXPECT_EQ(summary->numberedReports, c.numbered);
  }
}

TEST(ReportDescriptor, LongItemsAreSkippedAndSizesRoundUpToBytes) {
  const std::vector<std::uint8_t> bytes = {
      0xFE, 0x03, 0x10, 0xB1, 0xB1, 0xB1,  // long item whose data looks like Feature items
      0x75, 0x01, 0x95, 0x09, 0x81, 0x02,  // 9 one-bit input fields: 2 bytes
  };
  const auto summary = parseReportDescriptor(bytes);
  ASSERT_TRUE(summary.has_value());
  EXPECT_EQ(summary->lengths, (HidReportLengths{.input = 3, .output = 0, .feature = 0}));
}

TEST(ReportDescriptor, EmptyDescriptorHasNoReports) {
  const auto summary = parseReportDescriptor({});
  ASSERT_TRUE(summary.has_value());
  EXPECT_EQ(summary->lengths, HidReportLengths{});
}

TEST(ReportDescriptor, BrokenDescriptorsAreRefused) {
  struct BrokenCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
  };
  std::vector<std::uint8_t> deepPush(17, 0xA4);
  const BrokenCase cases[] = {
      {"item cut short", {0x75, 0x08, 0x26, 0xFF}},
      {"four-byte item cut short", {0x75, 0x08, 0x97, 0x01, 0x00}},
      {"long item cut short", {0xFE, 0x08, 0x10, 0x00}},
      {"long item header cut short", {0x75, 0x08, 0xFE, 0x01}},
      {"pop without push", {0x05, 0x01, 0xB4, 0x75, 0x08}},
      {"push stack too deep", deepPush},
      {"report id 0", {0x85, 0x00, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02}},
      {"absurd report count", {0x75, 0x08, 0x97, 0xFF, 0xFF, 0xFF, 0x7F, 0x81, 0x02}},
      {"absurd report size", {0x77, 0x00, 0x00, 0x01, 0x00, 0x95, 0x01, 0x81, 0x02}},
      // 255 bits × 16384 per item: one report past any real buffer.
      {"report too large", {0x75, 0xFF, 0x96, 0x00, 0x40, 0x81, 0x02}},
  };
  for (const BrokenCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(parseReportDescriptor(c.bytes).has_value());
  }
}

}  // namespace
}  // namespace korvane::device
