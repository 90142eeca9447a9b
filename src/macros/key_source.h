#pragma once

#include <cstdint>

#include "macros/key_table.h"

namespace korvane::macros {

// One key event as the keyboard delivers it while a recording runs: the
// key's virtual-key code, whether it went down or up, and the keystroke flags
// from which the key watch names it.
struct KeyEvent {
  VirtualKey virtualKey = 0;
  bool down = false;
  std::uint32_t flags = 0;
};

// Where recorded keys come from. While capturing, every key goes to the
// recorder (the macro page's keyEvent) and to no other program, so no shortcut of
// the desktop fires while a macro is recorded; the mouse stays free.
class KeySource {
 public:
  virtual ~KeySource() = default;
  // False when the keyboard cannot be taken (another program holds it, or the
  // display does not allow it); nothing is captured then.
  virtual bool startCapture() = 0;
  virtual void stopCapture() = 0;
};

}  // namespace korvane::macros
