#include "device/report_descriptor.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <map>
#include <utility>
#include <vector>

namespace korvane::device {

namespace {

// Short item prefix: bits 0-1 data size (3 means 4 bytes), bits 2-3 type,
// bits 4-7 tag.
constexpr std::uint8_t kSizeMask = 0x03;
constexpr std::uint8_t kTypeShift = 2;
constexpr std::uint8_t kTypeMask = 0x03;
constexpr std::uint8_t kTagShift = 4;
constexpr std::array<std::size_t, 4> kDataSizes = {0, 1, 2, 4};

// Long item: prefix, data size, long tag, data.
constexpr std::uint8_t kLongItemPrefix = 0xFE;
constexpr std::size_t kLongItemHeader = 3;
constexpr std::size_t kLongItemSizeOffset = 1;

enum class ItemType : std::uint8_t { Main = 0, Global = 1, Local = 2, Reserved = 3 };

// Main item tags.
constexpr std::uint8_t kTagInput = 0x8;
constexpr std::uint8_t kTagOutput = 0x9;
constexpr std::uint8_t kTagFeature = 0xB;

// Global item tags.
constexpr std::uint8_t kTagReportSize = 0x7;
constexpr std::uint8_t kTagReportId = 0x8;
constexpr std::uint8_t kTagReportCount = 0x9;
constexpr std::uint8_t kTagPush = 0xA;
constexpr std::uint8_t kTagPop = 0xB;

// Limits past which a descriptor is taken as corrupt rather than believed.
constexpr std::uint32_t kMaxReportSizeBits = 256;
constexpr std::uint32_t kMaxReportCount = 16384;
constexpr std::uint64_t kMaxReportBytes = 16384;
constexpr std::size_t kMaxGlobalStackDepth = 16;

constexpr int kReportIdByte = 1;

enum class ReportKind { Input, Output, Feature };

struct GlobalState {
  std::uint32_t reportSize = 0;
  std::uint32_t reportCount = 0;
  std::uint32_t reportId = 0;
};

std::uint32_t unsignedValue(std::span<const std::uint8_t> data) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < data.size(); ++i) {
    value |= static_cast<std::uint32_t>(data[i]) << (8 * i);
  }
  return value;
}

int lengthOf(const std::map<std::pair<ReportKind, std::uint32_t>, std::uint64_t>& bits,
             ReportKind kind) {
  std::uint64_t largest = 0;
  for (const auto& [key, count] : bits) {
    if (key.first == kind) {
      largest = std::max(largest, (count + 7) / 8);
    }
  }
  return largest > 0 ? static_cast<int>(largest) + kReportIdByte : 0;
}

}  // namespace

std::optional<ReportDescriptorSummary> parseReportDescriptor(std::span<const std::uint8_t> bytes) {
  GlobalState globals;
  std::vector<GlobalState> stack;
  bool numbered = false;
  // Bits per (kind, report id).
  std::map<std::pair<ReportKind, std::uint32_t>, std::uint64_t> bits;

  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::uint8_t prefix = bytes[pos];
    if (prefix == kLongItemPrefix) {
      if (bytes.size() - pos < kLongItemHeader) {
        return std::nullopt;
      }
      const std::size_t dataSize = bytes[pos + kLongItemSizeOffset];
      if (bytes.size() - pos - kLongItemHeader < dataSize) {
        return std::nullopt;
      }
      pos += kLongItemHeader + dataSize;
      continue;
    }

    const std::size_t dataSize = kDataSizes[prefix & kSizeMask];
    if (bytes.size() - pos - 1 < dataSize) {
      return std::nullopt;
    }
    const auto type = static_cast<ItemType>((prefix >> kTypeShift) & kTypeMask);
    const std::uint8_t tag = prefix >> kTagShift;
    const std::uint32_t value = unsignedValue(bytes.subspan(pos + 1, dataSize));
    pos += 1 + dataSize;

    if (type == ItemType::Main) {
      ReportKind kind;
      if (tag == kTagInput) {
        kind = ReportKind::Input;
      } else if (tag == kTagOutput) {
        kind = ReportKind::Output;
      } else if (tag == kTagFeature) {
        kind = ReportKind::Feature;
      } else {
        continue;  // collections
      }
      std::uint64_t& total = bits[{kind, globals.reportId}];
      total += static_cast<std::uint64_t>(globals.reportSize) * globals.reportCount;
      if (total > kMaxReportBytes * 8) {
        return std::nullopt;
      }
    } else if (type == ItemType::Global) {
      switch (tag) {
        case kTagReportSize:
          if (value > kMaxReportSizeBits) {
            return std::nullopt;
          }
          globals.reportSize = value;
          break;
        case kTagReportCount:
          if (value > kMaxReportCount) {
            return std::nullopt;
          }
          globals.reportCount = value;
          break;
        case kTagReportId:
          if (value == 0 || value > 0xFF) {
            return std::nullopt;
          }
          globals.reportId = value;
          numbered = true;
          break;
        case kTagPush:
          if (stack.size() == kMaxGlobalStackDepth) {
            return std::nullopt;
          }
          stack.push_back(globals);
          break;
        case kTagPop:
          if (stack.empty()) {
            return std::nullopt;
          }
          globals = stack.back();
          stack.pop_back();
          break;
        default:
          break;  // usage page, logical and physical ranges, units
      }
    }
    // Local items (usages, strings, designators) do not change report sizes.
  }

  ReportDescriptorSummary summary;
  summary.lengths.input = lengthOf(bits, ReportKind::Input);
  summary.lengths.output = lengthOf(bits, ReportKind::Output);
  summary.lengths.feature = lengthOf(bits, ReportKind::Feature);
  summary.numberedReports = numbered;
  return summary;
}

}  // namespace korvane::device
