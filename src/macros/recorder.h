#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "macros/key_table.h"
#include "macros/script.h"

namespace korvane::macros {

// Milliseconds of a clock that only moves forward; the recorder measures the
// pauses between keys with it.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint32_t tickCount() = 0;
};

// A recording stops itself at this release.
inline constexpr int kReleasesPerRecording = 10;

// Turns key events into script lines: a press or release line with the key's
// name and device code, after a delay line with the time since the previous
// line. The three modifier keys that raw events cannot tell left from right
// (Ctrl, Alt, Shift) and the two Windows keys get their line from the key
// watch, which names the side; the raw event only leaves a mark for it.
class MacroRecorder {
 public:
  explicit MacroRecorder(Clock* clock = nullptr) : clock_(clock) {}
  void setClock(Clock* clock) { clock_ = clock; }

  // Start and stop of a recording.
  void startRecording();
  void stopRecording();

  // One raw keyboard event. Returns true when this was the recording's tenth
  // release: the caller stops the recording once the key watch has had this
  // keystroke too.
  bool KeyboardHook1Receive(ScriptEditor& editor, VirtualKey key, TKeyboardHookState state);
  // One keystroke of the key watch: completes a pending modifier's line.
  void Watch1KeyNative(ScriptEditor& editor, VirtualKey key, const TKeyInfo& info);

  // --- state ---------------------------------------------------------------------
  // Tick of the last event that wrote a line; none at start and stop.
  std::optional<std::uint32_t> lastEventTime;
  int releaseCounter = 0;
  // "1 " or "2 " while a modifier's line waits for the key watch's name.
  std::optional<std::string> pendingModifier;
  // Kept from one recording to the next.
  VirtualKey lastPressedKey = kNoVirtualKey;
  int heldCount = 0;

 private:
  Clock* clock_;
};

}  // namespace korvane::macros
