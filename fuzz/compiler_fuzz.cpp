// The script editor and the compiler. The first bytes drive editor commands
// on a script read from the rest; whatever the script, the compiled block is
// 128 bytes and nothing past it, a macro that fits says so only when its
// bytes fit, and the meter shows exactly what the compiler counts.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "macros/compiler.h"
#include "macros/macro_file.h"
#include "macros/script.h"

namespace {

namespace macros = korvane::macros;

void check(bool holds) {
  if (!holds) {
    __builtin_trap();
  }
}

void edit(macros::ScriptEditor& editor, std::uint8_t command) {
  if (editor.entryCount > 0) {
    editor.selected = command % editor.entryCount;
  }
  switch (command % 4) {
    case 0:
      macros::insertMouseClick(editor, static_cast<macros::MouseButton>(command % 3));
      break;
    case 1:
      static_cast<void>(macros::removeSelectedKeyGroup(editor));
      break;
    case 2:
      static_cast<void>(macros::setSelectedDelay(editor, command * 11));
      break;
    default:
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kCommands = 4;
  if (size < kCommands + 1) {
    return 0;
  }
  const std::string_view text(reinterpret_cast<const char*>(data) + kCommands + 1,
                              size - kCommands - 1);
  macros::ScriptEditor editor;
  editor.load(macros::splitFileLines(text));
  for (std::size_t i = 0; i < kCommands; ++i) {
    edit(editor, data[i]);
  }

  macros::RepeatOption repeat;
  repeat.endless = (data[kCommands] & 1) != 0;
  repeat.counted = (data[kCommands] & 2) != 0;
  repeat.count = std::to_string(data[kCommands] >> 2);
  const int block = data[kCommands] % macros::kMacroBlockCount;

  const macros::Result<macros::PackedMacro> packed =
      macros::compileMacroScript(editor.script, block, repeat);
  const macros::Result<macros::MacroUsage> usage = macros::measureMacroScript(editor.script);
  if (!editor.script.empty()) {
    // The meter compiles without the repeat option, so only a repeat count
    // that is not a number can tell them apart.
    check(packed.ok() == usage.ok() || repeat.counted);
  }
  if (packed.ok()) {
    check(packed->block.size() == macros::kMacroBlockSize);
    check(packed->fits() == (packed->bytesNeeded <= macros::kMacroBlockSize));
    if (packed->fits()) {
      // Every byte past the records is zero.
      for (std::size_t i = packed->bytesNeeded; i < macros::kMacroBlockSize; ++i) {
        check(packed->block[i] == 0);
      }
    }
    if (usage.ok() && !editor.script.empty()) {
      check(usage->bytesUsed == packed->bytesNeeded);
      check(usage->fits == packed->fits());
    }
  }
  return 0;
}
