#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::macros {

// The lines of one macro. Line 0 is the header "1"; every further line is one
// event. Lines are byte strings: the files hold them in the ANSI code page and
// nothing here looks inside a key name.
using MacroScript = std::vector<std::string>;

inline constexpr std::string_view kHeaderLine = "1";

// The first character of an event line says what it is; the second is a blank.
inline constexpr char kDelayKind = '0';
inline constexpr char kPressKind = '1';
inline constexpr char kReleaseKind = '2';
inline constexpr std::size_t kKindPrefixLength = 2;  // kind digit and blank

// Press and release lines end in " CODE:" and four hex digits; the display and
// the compiler both count from the end of the line, so the key name may hold
// anything but a line break.
inline constexpr std::string_view kCodeMarker = " CODE:";
inline constexpr std::size_t kCodeDigits = 4;
inline constexpr std::size_t kCodeSuffixLength = 10;  // kCodeMarker + kCodeDigits
static_assert(kCodeSuffixLength == kCodeMarker.size() + kCodeDigits);

enum class LineKind { Delay, Press, Release, Other };

LineKind lineKind(std::string_view line);

// Four upper-case hex digits, leading zeros kept: 0x9D -> "009D".
std::string formatKeyCode(std::uint16_t code);
std::string pressLine(std::string_view keyName, std::uint16_t code);    // "1 A CODE:0004"
std::string releaseLine(std::string_view keyName, std::uint16_t code);  // "2 A CODE:0004"
std::string delayLine(std::uint32_t milliseconds);                      // "0 50"

// The last four characters of a press or release line: the code text.
std::string_view codeText(std::string_view line);

// The eight modifier keys: the names the key watch gives them, the marker code
// the recorder writes for them, and their bit in a macro record's modifier byte
// (the modifier byte of a USB keyboard report).
struct ModifierKey {
  std::string_view name;
  std::string_view code;
  std::uint8_t bit;
};
inline constexpr std::array<ModifierKey, 8> kModifierKeys{{
    {"Ctrl", "1111", 0x01},
    {"Right Ctrl", "2222", 0x10},
    {"Shift", "3333", 0x02},
    {"Right Shift", "4444", 0x20},
    {"Alt", "5555", 0x04},
    {"Right Alt", "6666", 0x40},
    {"Left Windows", "7777", 0x08},
    {"Right Windows", "8888", 0x80},
}};

const ModifierKey* findModifierByCode(std::string_view code);
const ModifierKey* findModifierByName(std::string_view name);

// Mouse-button click lines. The names end in a blank, so two blanks precede
// "CODE:".
enum class MouseButton { Left, Right, Middle };
struct MouseButtonLines {
  std::string_view press;
  std::string_view release;
  std::uint8_t code;
};
inline constexpr std::array<MouseButtonLines, 3> kMouseButtonLines{{
    {"1 Left Key  CODE:0071", "2 Left Key  CODE:0071", 0x71},
    {"1 Right Key  CODE:0073", "2 Right Key  CODE:0073", 0x73},
    {"1 Mid Key  CODE:0072", "2 Mid Key  CODE:0072", 0x72},
}};
const MouseButtonLines& mouseButtonLines(MouseButton button);

// The pause the click insertion puts around a click.
inline constexpr std::string_view kClickDelayLine = "0 50";

// The script being edited together with the placeholder entries of the event
// list `macro_content`. Entry i shows script line i + 1. The entry count is kept
// apart from the script because the header can be appended without an entry
// (the recorder and the click insertion each add one when they find none), so
// entries == lines - 1 is the usual case, not a law.
struct ScriptEditor {
  MacroScript script;
  int entryCount = 0;
  std::optional<int> selected;  // entry index

  void clear();
  // Line 0 into the script only, every further line with an entry; nothing selected.
  void load(MacroScript lines);
};

void AppendEventLine(ScriptEditor& editor, std::string text, bool selectLast);
void AppendScriptLine(ScriptEditor& editor, std::string text);

// `lbl_MseLeft`, `lbl_MseRight`, `lbl_MseMid`: header (or a leading pause),
// press, pause, release. Does not save: the click reaches the file with the
// next command that does.
void insertMouseClick(ScriptEditor& editor, MouseButton button);

// `lbl_delkey`: removes the selected key's press/release group by the pattern
// the click insertion produces (pause, press, pause, release). With three
// entries or fewer the whole script, header included, goes. Returns true when
// something was removed; the caller then saves and redraws. The selection is
// gone afterwards, as the selected entry itself was deleted.
bool removeSelectedKeyGroup(ScriptEditor& editor);

// `lbl_Time`: replaces the selected delay line with "0 " + milliseconds and
// keeps the entry selected. Returns false (nothing changed, nothing to save)
// without a selection or when the selected line is not a delay.
bool setSelectedDelay(ScriptEditor& editor, int milliseconds);

// The delay box `Edt_ModifyTime`: digits only, at most five of them, and a
// value above 2550 becomes 2550 as soon as it is typed.
inline constexpr int kMaxEditedDelayMs = 2550;
inline constexpr std::size_t kDelayEditMaxLength = 5;
inline constexpr char kBackspaceKey = '\b';

bool delayEditAcceptsKey(char key);
// The box's text after the user changed it to `proposed`: nullopt when the box
// refuses the change (a non-digit, or more than five characters), else the
// text itself or "2550" when its value is larger.
std::optional<std::string> delayEditText(std::string_view proposed);
// The value of the box's text, at most 2550; an empty box is 0.
int delayEditValue(std::string_view text);

// The repeat option of the macro page. The flags and their hidden mirror check
// boxes always change together, so one field stands for both.
struct RepeatOption {
  bool endless = false;     // `lbl_cycle_max_check` / `cbCycle_Max`
  bool counted = false;     // `lbl_cycle_check` / `cbCycle`
  std::string count = "1";  // `edt_cycle`
  bool countEnabled = true;

  void lbl_cycle_maxClick();
  void lbl_cycleClick();
};

// `edt_cycle` takes one character, "0" to "9" or backspace.
inline constexpr std::size_t kCycleCountMaxLength = 1;
bool cycleEditAcceptsKey(char key);

// What one entry of `macro_content` shows: the icon index (0 clock, 1 down
// arrow, 2 up arrow; any other digit is passed on as it is and has no picture)
// and the text. nullopt means draw nothing at all: the script has two lines or
// fewer, or the entry has no line.
struct EntryDrawing {
  int icon = 0;
  std::string text;
};
std::optional<EntryDrawing> entryDrawing(const MacroScript& script, int entry);

}  // namespace korvane::macros
