#include "macros/compiler.h"

#include <algorithm>
#include <limits>
#include <string_view>
#include <utility>

#include "files/hex.h"
#include "files/text_lines.h"
#include "macros/macro_file.h"

namespace korvane::macros {

namespace {

// Longest delay a script line may hold (a signed 32-bit count of milliseconds).
constexpr std::uint64_t kMaxDelayMs = std::numeric_limits<std::int32_t>::max();
// The shortest press or release line the compiler can read: kind, blank and code.
constexpr std::size_t kMinEventLineLength = kKindPrefixLength + kCodeDigits;
constexpr int kUnitsPerRecord = kMaxHoldTime + 1;
constexpr std::uint8_t kKeyCountMask = 0x7F;

// A line quoted in a message: a short excerpt of a long one.
std::string inQuotes(std::string_view text) {
  return "\"" + files::excerpt(text) + "\"";
}

std::string_view afterKind(std::string_view line) {
  return line.size() > kKindPrefixLength ? line.substr(kKindPrefixLength) : std::string_view();
}

std::optional<std::uint32_t> parseDelay(std::string_view text) {
  if (text.empty()) {
    return std::nullopt;
  }
  std::uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') {
      return std::nullopt;
    }
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
    if (value > kMaxDelayMs) {
      return std::nullopt;
    }
  }
  return static_cast<std::uint32_t>(value);
}

std::optional<std::uint16_t> parseCode(std::string_view text) {
  if (text.size() != kCodeDigits) {
    return std::nullopt;
  }
  std::uint16_t value = 0;
  for (const char c : text) {
    const std::optional<std::uint8_t> digit = files::hexDigitValue(c);
    if (!digit) {
      return std::nullopt;
    }
    value = static_cast<std::uint16_t>((value << 4) | *digit);
  }
  return value;
}

// The repeat count box as the integer it holds: an optional sign and digits.
std::optional<long long> parseCount(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i == text.size()) {
    return std::nullopt;
  }
  long long value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') {
      return std::nullopt;
    }
    value = std::min(value * 10 + (text[i] - '0'), static_cast<long long>(kMaxDelayMs));
  }
  return negative ? -value : value;
}

std::string lineError(std::size_t index, std::string_view what) {
  // Script line i is line i + 1 of the file.
  return "line " + std::to_string(index + 1) + ": " + std::string(what);
}

// The expansion state of one macro, reset whenever all keys are up.
class Expander {
 public:
  Result<std::vector<std::string>> run(const MacroScript& script) {
    for (std::size_t i = 1; i < script.size(); ++i) {
      const std::string& line = script[i];
      switch (lineKind(line)) {
        case LineKind::Delay: {
          const std::string_view value = afterKind(line);
          const std::optional<std::uint32_t> delay = parseDelay(value);
          if (!delay) {
            return failure(
                i, "the delay in " + inQuotes(line) + " is not a whole number of milliseconds");
          }
          pause(*delay, value);
          break;
        }
        case LineKind::Press:
        case LineKind::Release: {
          const std::string_view code = codeText(line);
          if (line.size() < kMinEventLineLength || !parseCode(code)) {
            return failure(i, "the key code of " + inQuotes(line) + " is not four hex digits");
          }
          std::string rewritten{line.front(), ' '};
          rewritten += code;
          if (lineKind(line) == LineKind::Press) {
            press(std::move(rewritten));
          } else {
            release(std::move(rewritten));
          }
          break;
        }
        case LineKind::Other:
          break;
      }
    }
    return std::move(expanded_);
  }

 private:
  static Result<std::vector<std::string>> failure(std::size_t index, std::string_view what) {
    return Result<std::vector<std::string>>::failure(lineError(index, what));
  }

  void pause(std::uint32_t delay, std::string_view value) {
    if (delay != 0) {
      pauseSeen_ = true;
      // Releases are matched only here: a key released since the last press
      // leaves the held set at the next real pause.
      if (releasePending_ && releases_ != presses_) {
        for (std::optional<std::string>& released : released_) {
          if (!released) {
            continue;
          }
          const auto held = std::find_if(held_.begin(), held_.end(), [&](const auto& slot) {
            return slot && codeText(*slot) == codeText(*released);
          });
          if (held != held_.end()) {
            held->reset();
            released.reset();
          }
        }
        appendHeld(held_.size());
      }
    }
    expanded_.push_back(std::string{kDelayKind, ' '} + std::string(value));
  }

  void press(std::string line) {
    const int p = ++presses_;
    if (pauseSeen_ && p >= 2 && p <= static_cast<int>(kHeldKeySlots)) {
      appendHeld(static_cast<std::size_t>(p - 1));
    }
    if (p <= static_cast<int>(kHeldKeySlots)) {
      held_[static_cast<std::size_t>(p - 1)] = line;
    }
    pauseSeen_ = false;
    releasePending_ = false;
    expanded_.push_back(std::move(line));
  }

  void release(std::string line) {
    expanded_.push_back(line);
    const int r = ++releases_;
    if (r <= static_cast<int>(kReleaseSlots)) {
      released_[static_cast<std::size_t>(r - 1)] = std::move(line);
    }
    if (r == presses_) {
      presses_ = 0;
      releases_ = 0;
      held_.fill(std::nullopt);
      released_.fill(std::nullopt);
    } else {
      releasePending_ = true;
    }
  }

  void appendHeld(std::size_t slots) {
    for (std::size_t s = 0; s < slots; ++s) {
      if (held_[s]) {
        expanded_.push_back(*held_[s]);
      }
    }
  }

  std::vector<std::string> expanded_;
  int presses_ = 0;
  int releases_ = 0;
  std::array<std::optional<std::string>, kHeldKeySlots> held_;
  std::array<std::optional<std::string>, kReleaseSlots> released_;
  bool pauseSeen_ = false;
  bool releasePending_ = false;
};

// Sizes add up without wrapping: a count past any real block stays huge.
std::size_t saturatingAdd(std::size_t a, std::size_t b) {
  return b > std::numeric_limits<std::size_t>::max() - a ? std::numeric_limits<std::size_t>::max()
                                                         : a + b;
}

std::size_t saturatingMultiply(std::size_t a, std::size_t b) {
  return a != 0 && b > std::numeric_limits<std::size_t>::max() / a
             ? std::numeric_limits<std::size_t>::max()
             : a * b;
}

// Writes into the block and nowhere else: a byte past its end is only counted.
class BlockWriter {
 public:
  explicit BlockWriter(PackedMacro& packed) : packed_(packed) {}

  void put(std::size_t offset, std::uint8_t value) {
    reach(saturatingAdd(offset, 1));
    if (offset < kMacroBlockSize) {
      packed_.block[offset] = value;
    }
  }

  // Records that are only counted still take their room.
  void reach(std::size_t end) { packed_.bytesNeeded = std::max(packed_.bytesNeeded, end); }

  bool fits() const { return packed_.fits(); }

 private:
  PackedMacro& packed_;
};

// The packer: records of held keys, each closed by the pause that follows it.
class Packer {
 public:
  explicit Packer(PackedMacro& packed) : out_(packed) {}

  std::optional<std::string> run(std::span<const std::string> expanded) {
    for (std::size_t i = 0; i < expanded.size(); ++i) {
      const std::string& line = expanded[i];
      switch (lineKind(line)) {
        case LineKind::Press: {
          const std::optional<std::uint16_t> code = parseCode(afterKind(line));
          if (!code) {
            return "the key code of " + inQuotes(line) + " is not four hex digits";
          }
          if (const ModifierKey* modifier = findModifierByCode(afterKind(line))) {
            header_ |= kModifierHeldBit;
            mods_ |= modifier->bit;
          } else {
            addKey(static_cast<std::uint8_t>(*code & 0xFF));
          }
          break;
        }
        case LineKind::Delay: {
          const std::optional<std::uint32_t> delay = parseDelay(afterKind(line));
          if (!delay) {
            return "the delay in " + inQuotes(line) + " is not a whole number of milliseconds";
          }
          if (*delay != 0) {
            hold(*delay);
          }
          break;
        }
        case LineKind::Release:
          // A provisional terminal record in the next record's header slot;
          // a later pause overwrites it.
          writeHeader(1, 0, 0);
          break;
        case LineKind::Other:
          break;
      }
    }
    out_.put(kRecordCountOffset, static_cast<std::uint8_t>(saturatingAdd(records_, 1)));
    return std::nullopt;
  }

 private:
  void addKey(std::uint8_t code) {
    out_.put(pos_, code);
    pos_ = saturatingAdd(pos_, 1);
    keys_.push_back(code);
  }

  // The header of the open record sits in the three bytes before its keys.
  void writeHeader(std::uint8_t header, std::uint8_t holdTime, std::uint8_t mods) {
    const std::size_t at = pos_ - keys_.size() - kRecordHeaderLength;
    out_.put(at, header);
    out_.put(at + 1, holdTime);
    out_.put(at + 2, mods);
  }

  void closeRecord(int holdTime) {
    records_ = saturatingAdd(records_, 1);
    header_ |= static_cast<std::uint8_t>((keys_.size() + 1) & kKeyCountMask);
    writeHeader(header_, static_cast<std::uint8_t>(holdTime), mods_);
    header_ = 0;
    mods_ = 0;
    keys_.clear();
    pos_ = saturatingAdd(pos_, kRecordHeaderLength);
  }

  // One record holds at most 256 units of 10 ms; a longer pause goes on in
  // further records that hold the same keys. Once the block is known not to
  // fit, the rest of the pause is only counted, so a pause of weeks costs no
  // more than one of a second.
  void hold(std::uint32_t delayMs) {
    std::uint32_t units = delayMs / kHoldUnitMs;
    const std::uint32_t first = std::min<std::uint32_t>(units, kUnitsPerRecord);
    const std::uint8_t heldBit = header_ & kModifierHeldBit;
    const std::uint8_t mods = mods_;
    const std::vector<std::uint8_t> keys = keys_;
    closeRecord(first >= 1 ? static_cast<int>(first) - 1 : 0);
    units -= first;
    while (units > 0 && out_.fits()) {
      const std::uint32_t chunk = std::min<std::uint32_t>(units, kUnitsPerRecord);
      header_ = heldBit;
      mods_ = mods;
      for (const std::uint8_t code : keys) {
        addKey(code);
      }
      closeRecord(static_cast<int>(chunk) - 1);
      units -= chunk;
    }
    if (units > 0) {
      const std::size_t records = (units + kUnitsPerRecord - 1) / kUnitsPerRecord;
      records_ = saturatingAdd(records_, records);
      pos_ = saturatingAdd(pos_, saturatingMultiply(records, keys.size() + kRecordHeaderLength));
      // The last counted record ends where the next one's header would start.
      out_.reach(pos_ - kRecordHeaderLength);
    }
  }

  BlockWriter out_;
  std::size_t pos_ = kFirstRecordOffset + kRecordHeaderLength;
  std::size_t records_ = 0;
  std::uint8_t header_ = 0;
  std::uint8_t mods_ = 0;
  std::vector<std::uint8_t> keys_;
};

std::optional<std::uint8_t> repeatByte(int blockNumber, const RepeatOption& repeat,
                                       std::string& error) {
  if (repeat.endless) {
    return static_cast<std::uint8_t>((blockNumber ^ kEndlessRepeat) & 0xFF);
  }
  if (!repeat.counted) {
    return std::uint8_t{0};
  }
  const std::optional<long long> count = parseCount(repeat.count);
  if (!count) {
    error = "the repeat count " + inQuotes(repeat.count) + " is not a number";
    return std::nullopt;
  }
  if (*count < kMinRepeatCount || *count > kMaxRepeatCount) {
    return std::uint8_t{0};
  }
  return static_cast<std::uint8_t>((blockNumber ^ (*count << 4)) & 0xFF);
}

}  // namespace

Result<std::vector<std::string>> expandMacroScript(const MacroScript& script) {
  return Expander().run(script);
}

Result<PackedMacro> BuildMacroBlock(std::span<const std::string> expanded, int blockNumber,
                                    const RepeatOption& repeat) {
  PackedMacro packed;
  std::string error;
  const std::optional<std::uint8_t> repeatValue = repeatByte(blockNumber, repeat, error);
  if (!repeatValue) {
    return Result<PackedMacro>::failure(error);
  }
  BlockWriter(packed).put(kRepeatByteOffset, *repeatValue);
  if (std::optional<std::string> packError = Packer(packed).run(expanded)) {
    return Result<PackedMacro>::failure(*packError);
  }
  return packed;
}

Result<PackedMacro> compileMacroScript(const MacroScript& script, int blockNumber,
                                       const RepeatOption& repeat) {
  const Result<std::vector<std::string>> expanded = expandMacroScript(script);
  if (!expanded) {
    return Result<PackedMacro>::failure(expanded.error());
  }
  return BuildMacroBlock(*expanded, blockNumber, repeat);
}

Result<MacroUsage> measureMacroScript(const MacroScript& script) {
  const Result<PackedMacro> packed = compileMacroScript(script, 0, RepeatOption{});
  if (!packed) {
    return Result<MacroUsage>::failure(packed.error());
  }
  return MacroUsage{packed->bytesNeeded, packed->fits()};
}

CompileError CompileError::unreadable(std::string macroName, files::FileError file) {
  CompileError error;
  error.macroName = std::move(macroName);
  error.kind = Kind::Unreadable;
  error.file = std::move(file);
  return error;
}

CompileError CompileError::script(std::string macroName, std::string detail) {
  CompileError error;
  error.macroName = std::move(macroName);
  error.kind = Kind::Script;
  error.detail = std::move(detail);
  return error;
}

CompileError CompileError::tooLong(std::string macroName, std::size_t bytesNeeded) {
  CompileError error;
  error.macroName = std::move(macroName);
  error.kind = Kind::TooLong;
  error.bytesNeeded = bytesNeeded;
  return error;
}

CompileOutcome CompileAllMacros(const std::filesystem::path& macroDir,
                                std::span<const std::string> names, const RepeatOption& repeat,
                                MacroBlocks& blocks) {
  CompileOutcome outcome;
  // A block with no library entry behind it must not go on playing a macro
  // an earlier compilation put there (one since deleted, say).
  for (std::size_t k = names.size(); k < blocks.size(); ++k) {
    blocks[k].fill(0);
  }
  for (std::size_t k = 0; k < names.size(); ++k) {
    const std::string& name = names[k];
    const auto fail = [&](CompileError error) {
      outcome.error = std::move(error);
      return outcome;
    };
    const MacroFileRead file = readMacroFile(macroFilePath(macroDir, name));
    if (file.readError) {
      return fail(CompileError::unreadable(name, *file.readError));
    }
    if (file.error) {
      return fail(CompileError::script(name, *file.error));
    }
    const int block = static_cast<int>(k);
    const Result<PackedMacro> packed = compileMacroScript(file.script, block, repeat);
    if (!packed) {
      return fail(CompileError::script(name, packed.error()));
    }
    if (!packed->fits()) {
      return fail(CompileError::tooLong(name, packed->bytesNeeded));
    }
    if (block < kMacroBlockCount) {
      blocks[k] = packed->block;
      outcome.written.push_back({block, name, packed->bytesNeeded});
    }
  }
  return outcome;
}

}  // namespace korvane::macros
