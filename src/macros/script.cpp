#include "macros/script.h"

#include <algorithm>
#include <array>
#include <utility>

#include "files/hex.h"

namespace korvane::macros {

namespace {

constexpr std::string_view kDelaySuffix = " ms";

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// The value of leading digits, saturating just above the delay box's clamp.
int leadingDigitsValue(std::string_view text) {
  int value = 0;
  for (const char c : text) {
    if (!isDigit(c)) {
      break;
    }
    value = std::min(value * 10 + (c - '0'), kMaxEditedDelayMs + 1);
  }
  return value;
}

std::string eventLine(char kind, std::string_view keyName, std::uint16_t code) {
  std::string line{kind, ' '};
  line += keyName;
  line += kCodeMarker;
  line += formatKeyCode(code);
  return line;
}

// An inclusive span of positions; the parts outside [0, size) are skipped.
struct Span {
  int first;
  int last;
};

// How many positions of the span exist among [0, size).
int positionsIn(int size, Span span) {
  const int first = std::max(span.first, 0);
  const int last = std::min(span.last, size - 1);
  return last >= first ? last - first + 1 : 0;
}

}  // namespace

LineKind lineKind(std::string_view line) {
  if (line.empty()) {
    return LineKind::Other;
  }
  switch (line.front()) {
    case kDelayKind:
      return LineKind::Delay;
    case kPressKind:
      return LineKind::Press;
    case kReleaseKind:
      return LineKind::Release;
    default:
      return LineKind::Other;
  }
}

std::string formatKeyCode(std::uint16_t code) {
  const std::array<std::uint8_t, 2> bytes = {static_cast<std::uint8_t>(code >> 8),
                                             static_cast<std::uint8_t>(code & 0xFF)};
  return files::toHex(bytes);
}

std::string pressLine(std::string_view keyName, std::uint16_t code) {
  return eventLine(kPressKind, keyName, code);
}

std::string releaseLine(std::string_view keyName, std::uint16_t code) {
  return eventLine(kReleaseKind, keyName, code);
}

std::string delayLine(std::uint32_t milliseconds) {
  return std::string{kDelayKind, ' '} + std::to_string(milliseconds);
}

std::string_view codeText(std::string_view line) {
  return line.size() > kCodeDigits ? line.substr(line.size() - kCodeDigits) : line;
}

const ModifierKey* findModifierByCode(std::string_view code) {
  const auto* it = std::find_if(kModifierKeys.begin(), kModifierKeys.end(),
                                [code](const ModifierKey& key) { return key.code == code; });
  return it == kModifierKeys.end() ? nullptr : it;
}

const ModifierKey* findModifierByName(std::string_view name) {
  const auto* it = std::find_if(kModifierKeys.begin(), kModifierKeys.end(),
                                [name](const ModifierKey& key) { return key.name == name; });
  return it == kModifierKeys.end() ? nullptr : it;
}

const MouseButtonLines& mouseButtonLines(MouseButton button) {
  return kMouseButtonLines[static_cast<std::size_t>(button)];
}

void ScriptEditor::clear() {
  script.clear();
  entryCount = 0;
  selected.reset();
}

void ScriptEditor::load(MacroScript lines) {
  clear();
  script = std::move(lines);
  entryCount = script.empty() ? 0 : static_cast<int>(script.size()) - 1;
}

void AppendEventLine(ScriptEditor& editor, std::string text, bool selectLast) {
  editor.script.push_back(std::move(text));
  ++editor.entryCount;
  if (selectLast) {
    editor.selected = editor.entryCount - 1;
  }
}

void AppendScriptLine(ScriptEditor& editor, std::string text) {
  editor.script.push_back(std::move(text));
}

void insertMouseClick(ScriptEditor& editor, MouseButton button) {
  const MouseButtonLines& lines = mouseButtonLines(button);
  if (editor.script.size() < 2) {
    AppendScriptLine(editor, std::string(kHeaderLine));
  } else {
    AppendEventLine(editor, std::string(kClickDelayLine), true);
  }
  AppendEventLine(editor, std::string(lines.press), true);
  AppendEventLine(editor, std::string(kClickDelayLine), true);
  AppendEventLine(editor, std::string(lines.release), true);
}

bool removeSelectedKeyGroup(ScriptEditor& editor) {
  if (!editor.selected) {
    return false;
  }
  const int i = *editor.selected;
  const int n = editor.entryCount;
  const auto lineIndex = static_cast<std::size_t>(i) + 1;
  if (i < 0 || lineIndex >= editor.script.size() || editor.script[lineIndex].empty()) {
    return false;
  }
  const char kind = editor.script[lineIndex].front();

  // The selected entry's group as entry and script-line positions. Entry j is
  // script line j + 1, except in the small-script rows, which reach down to the
  // header so that the last click takes the whole script with it.
  std::optional<std::pair<Span, Span>> group;
  if (n > 3) {
    if ((kind == kPressKind && i == 0) || (kind == kReleaseKind && i == 2)) {
      group = {{0, 3}, {1, 4}};
    } else if (kind == kPressKind && i > 0) {
      group = {{i - 1, i + 2}, {i, i + 3}};
    } else if (kind == kReleaseKind && i > 2) {
      group = {{i - 3, i}, {i - 2, i + 1}};
    }
  } else if (kind == kPressKind) {
    group = {{i, i + 2}, {i, i + 3}};
  } else if (kind == kReleaseKind) {
    group = {{i - 2, i}, {i - 2, i + 1}};
  }
  if (!group) {
    return false;
  }

  const auto [entries, lines] = *group;
  editor.entryCount -= positionsIn(editor.entryCount, entries);
  const int lineCount = static_cast<int>(editor.script.size());
  const int removedLines = positionsIn(lineCount, lines);
  if (removedLines > 0) {
    const auto first = editor.script.begin() + std::max(lines.first, 0);
    editor.script.erase(first, first + removedLines);
  }
  editor.selected.reset();
  return true;
}

bool setSelectedDelay(ScriptEditor& editor, int milliseconds) {
  if (!editor.selected || *editor.selected < 0) {
    return false;
  }
  const auto lineIndex = static_cast<std::size_t>(*editor.selected) + 1;
  if (lineIndex >= editor.script.size() || lineKind(editor.script[lineIndex]) != LineKind::Delay) {
    return false;
  }
  editor.script[lineIndex] = std::string{kDelayKind, ' '} + std::to_string(milliseconds);
  return true;
}

bool delayEditAcceptsKey(char key) {
  return isDigit(key) || key == kBackspaceKey;
}

std::optional<std::string> delayEditText(std::string_view proposed) {
  if (proposed.size() > kDelayEditMaxLength ||
      !std::all_of(proposed.begin(), proposed.end(), isDigit)) {
    return std::nullopt;
  }
  if (leadingDigitsValue(proposed) > kMaxEditedDelayMs) {
    return std::to_string(kMaxEditedDelayMs);
  }
  return std::string(proposed);
}

int delayEditValue(std::string_view text) {
  return std::min(leadingDigitsValue(text), kMaxEditedDelayMs);
}

void RepeatOption::lbl_cycle_maxClick() {
  if (endless) {
    endless = false;
    return;
  }
  endless = true;
  counted = false;
  countEnabled = false;
}

void RepeatOption::lbl_cycleClick() {
  countEnabled = true;
  if (!counted) {
    counted = true;
    endless = false;
  } else {
    counted = false;
  }
}

bool cycleEditAcceptsKey(char key) {
  return isDigit(key) || key == kBackspaceKey;
}

std::optional<EntryDrawing> entryDrawing(const MacroScript& script, int entry) {
  if (script.size() <= 2 || entry < 0 || static_cast<std::size_t>(entry) + 1 >= script.size()) {
    return std::nullopt;
  }
  const std::string& line = script[static_cast<std::size_t>(entry) + 1];
  EntryDrawing drawing;
  drawing.icon = !line.empty() && isDigit(line.front()) ? line.front() - '0' : 0;

  std::string text = line;
  if (line.empty() || line.front() != kDelayKind) {
    text.resize(text.size() > kCodeSuffixLength ? text.size() - kCodeSuffixLength : 0);
  } else {
    text += kDelaySuffix;
  }
  drawing.text = text.size() > kKindPrefixLength ? text.substr(kKindPrefixLength) : std::string();
  return drawing;
}

}  // namespace korvane::macros
