#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "files/file_io.h"
#include "macros/result.h"
#include "macros/script.h"

namespace korvane::macros {

// The device's macro memory: ten blocks of 128 bytes.
inline constexpr std::size_t kMacroBlockSize = 128;
inline constexpr int kMacroBlockCount = 10;
using MacroBlock = std::array<std::uint8_t, kMacroBlockSize>;
using MacroBlocks = std::array<MacroBlock, kMacroBlockCount>;

// Block layout.
inline constexpr std::size_t kRepeatByteOffset = 0;
inline constexpr std::size_t kRecordCountOffset = 1;
inline constexpr std::size_t kFirstRecordOffset = 2;
// Within a record: header, hold time, modifier mask, then the key codes.
inline constexpr std::size_t kRecordHeaderLength = 3;
inline constexpr std::uint8_t kModifierHeldBit = 0x80;
inline constexpr std::uint8_t kEndlessRepeat = 0xF0;
inline constexpr int kMinRepeatCount = 1;
inline constexpr int kMaxRepeatCount = 9;
// Hold times count 10 ms units less one; 255 is the longest a record holds,
// (255 + 1) * 10 ms.
inline constexpr int kHoldUnitMs = 10;
inline constexpr int kMaxHoldTime = 255;
// The expansion remembers this many pressed keys and releases.
inline constexpr std::size_t kHeldKeySlots = 6;
inline constexpr std::size_t kReleaseSlots = 3;

// The script rewritten so that every pause is preceded by all keys still held:
// "1 XXXX" presses, "2 XXXX" releases (XXXX the code text) and "0 V" pauses.
// Line 0, the header, is skipped. Fails, naming the line, on a delay that is
// not a whole number of milliseconds or a key code that is not hex.
Result<std::vector<std::string>> expandMacroScript(const MacroScript& script);

// A packed block and how many of its bytes the records need. When
// bytesNeeded exceeds the block the bytes past it were not written and the
// block must not be used.
struct PackedMacro {
  MacroBlock block{};
  std::size_t bytesNeeded = 0;
  bool fits() const { return bytesNeeded <= kMacroBlockSize; }
};

// Packs an expanded script into block `blockNumber`'s bytes. A pause longer
// than one record can hold is split into consecutive records holding the same
// keys, so the timing is kept. Fails on a repeat count that is not a number
// (when the counted repeat is on) and on a line not in the expanded form.
Result<PackedMacro> BuildMacroBlock(std::span<const std::string> expanded, int blockNumber,
                                    const RepeatOption& repeat);

// Expansion and packing of one script, as the library compile does it.
Result<PackedMacro> compileMacroScript(const MacroScript& script, int blockNumber,
                                       const RepeatOption& repeat);

// For the byte meter of the macro page: how many of the 128 bytes the script
// uses when compiled as it stands, and whether it fits. A script without
// lines takes the repeat byte and the record count, as it does in the library
// compile.
struct MacroUsage {
  std::size_t bytesUsed = 0;
  bool fits = true;
};
Result<MacroUsage> measureMacroScript(const MacroScript& script);

struct CompiledMacro {
  int block = 0;
  std::string name;
  std::size_t bytesUsed = 0;  // of the block's 128
};
// Why a macro did not compile, as data: the window words it in the user's
// language.
struct CompileError {
  enum class Kind {
    Unreadable,  // the file could not be read: `file`
    Script,      // a line the compiler cannot take: `detail` says which
    TooLong,     // the records need `bytesNeeded` of the block's 128 bytes
  };
  std::string macroName;
  Kind kind = Kind::Script;
  std::optional<files::FileError> file;
  std::string detail;
  std::size_t bytesNeeded = 0;

  static CompileError unreadable(std::string macroName, files::FileError file);
  static CompileError script(std::string macroName, std::string detail);
  static CompileError tooLong(std::string macroName, std::size_t bytesNeeded);
};
struct CompileOutcome {
  std::vector<CompiledMacro> written;  // blocks overwritten, in order
  std::optional<CompileError> error;
};

// Compiles library entry k + 1 (names[k], from `macroDir`) into blocks[k] for
// k = 0, 1, ... . An empty file (a macro created and never filled) is an
// empty macro: its block holds the repeat byte and a record count of 1, and
// the compilation goes on. Blocks with no entry behind them are cleared to
// zeros first. Stops with an error at a file that cannot be read, a line that
// is not hex, an invalid line, a bad repeat count or a macro that does not
// fit; blocks written before keep their new contents and the failing macro's
// block is left untouched. Entries past the tenth are compiled (and can fail)
// but have no block to go to.
CompileOutcome CompileAllMacros(const std::filesystem::path& macroDir,
                                std::span<const std::string> names, const RepeatOption& repeat,
                                MacroBlocks& blocks);

}  // namespace korvane::macros
