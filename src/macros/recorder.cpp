#include "macros/recorder.h"

#include <array>
#include <string_view>

namespace korvane::macros {

namespace {

// Raw events name these keys without their side; the key watch completes them.
constexpr std::array<std::string_view, 5> kSidelessModifiers = {"Ctrl", "Alt", "Shift",
                                                                "Left Windows", "Right Windows"};

constexpr std::string_view kPressPrefix = "1 ";
constexpr std::string_view kReleasePrefix = "2 ";

bool isSidelessModifier(std::string_view name) {
  for (std::string_view modifier : kSidelessModifiers) {
    if (modifier == name) {
      return true;
    }
  }
  return false;
}

// A recorded script starts with its header; it is written together with the
// first line, so a recording that wrote nothing leaves no header behind and a
// script never gets a second one.
void appendRecordedLine(ScriptEditor& editor, std::string text, bool selectLast) {
  if (editor.script.empty()) {
    AppendScriptLine(editor, std::string(kHeaderLine));
  }
  AppendEventLine(editor, std::move(text), selectLast);
}

std::string eventLine(std::string_view prefix, std::string_view name, std::string_view code) {
  std::string line(prefix);
  line.append(name).append(kCodeMarker).append(code);
  return line;
}

}  // namespace

void MacroRecorder::startRecording() {
  lastEventTime.reset();
  releaseCounter = 0;
  pendingModifier.reset();
}

void MacroRecorder::stopRecording() {
  lastEventTime.reset();
  pendingModifier.reset();
}

bool MacroRecorder::KeyboardHook1Receive(ScriptEditor& editor, VirtualKey key,
                                         TKeyboardHookState state) {
  std::string_view prefix;
  switch (state) {
    case TKeyboardHookState::kh_On:
      if (key == lastPressedKey && heldCount != 0) {
        return false;
      }
      prefix = kPressPrefix;
      lastPressedKey = key;
      ++heldCount;
      break;
    case TKeyboardHookState::kh_Off:
      prefix = kReleasePrefix;
      --heldCount;
      ++releaseCounter;
      break;
    case TKeyboardHookState::kh_Repeat:
      if (key == lastPressedKey) {
        return false;  // auto-repeat of the held key
      }
      ++heldCount;
      prefix = kPressPrefix;
      lastPressedKey = key;
      break;
  }

  const std::uint32_t now = clock_ != nullptr ? clock_->tickCount() : 0;
  if (lastEventTime) {
    // Every pause is kept: without one, a press and its release fall into the
    // same record of the device's macro and the key is never seen held.
    const std::uint32_t elapsed = now - *lastEventTime;
    if (elapsed != 0) {
      appendRecordedLine(editor, delayLine(elapsed), false);
    }
  }
  lastEventTime = now;

  const KeyRow& row = keyRow(keyOfVirtualKey(key));
  if (isSidelessModifier(row.name)) {
    pendingModifier = std::string(prefix);
  } else {
    appendRecordedLine(editor, eventLine(prefix, row.name, formatKeyCode(row.deviceCode)), true);
  }
  return releaseCounter == kReleasesPerRecording;
}

void MacroRecorder::Watch1KeyNative(ScriptEditor& editor, VirtualKey /*key*/,
                                    const TKeyInfo& info) {
  if (!pendingModifier) {
    return;
  }
  if (const ModifierKey* modifier = findModifierByName(info.Name)) {
    appendRecordedLine(editor, eventLine(*pendingModifier, modifier->name, modifier->code), true);
  }
  pendingModifier.reset();
}

}  // namespace korvane::macros
