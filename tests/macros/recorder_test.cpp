// The key table and the recorder: scripted key events with a fake clock,
// through the keyboard component's down counter and the key watch, as the
// macro page feeds them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "macros/key_table.h"
#include "macros/recorder.h"
#include "support/fake_keyboard.h"

namespace korvane::macros {
namespace {

using korvane::testing::FakeClock;

TEST(KeyTableTest, RowsGiveNamesAndDeviceCodes) {
  struct Case {
    VirtualKey virtualKey;
    TKeyboardHookKey key;
    std::string_view name;
    std::uint8_t code;
  };
  const std::vector<Case> cases = {
      {0x21, TKeyboardHookKey::kh_Prior, "Page Up", 0x9D},
      {0x22, TKeyboardHookKey::kh_Next, "Page Down", 0x4E},
      {0x41, TKeyboardHookKey::kh_A, "A", 0x04},
      {0x30, TKeyboardHookKey::kh_0, "0", 0x27},
      {0x39, TKeyboardHookKey::kh_9, "9", 0x26},
      {0x3A, TKeyboardHookKey::kh_9, "9", 0x26},
      {0x60, TKeyboardHookKey::kh_Numpad0, "0 (numeric pad)", 0x62},
      {0x61, TKeyboardHookKey::kh_Numpad1, "1 (numeric pad)", 0x59},
      {0x6C, TKeyboardHookKey::kh_Separator, "Separator (numeric pad)", 0x58},
      {0x7B, TKeyboardHookKey::kh_F12, "F12", 0x45},
      {0x7C, TKeyboardHookKey::kh_F13, "F13", 0x68},
      {0x11, TKeyboardHookKey::kh_Control, "Ctrl", 0x00},
      {0xA3, TKeyboardHookKey::kh_RControl, "Right Ctrl", 0x10},
      {0xDF, TKeyboardHookKey::kh_OEM_8, "OEM_8", 0x00},
      {0xBE, TKeyboardHookKey::kh_OEM_Period, "OEM_Period", 0x37},
      {0xB7, TKeyboardHookKey::kh_Launch_App2, "Launch_App2", 0x00},
      {0xFF, TKeyboardHookKey::kh_255, "255", 0x00},
      {0xE2, TKeyboardHookKey::kh_None, "None", 0x00},
      {0x00, TKeyboardHookKey::kh_None, "None", 0x00},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.virtualKey);
    EXPECT_EQ(keyOfVirtualKey(c.virtualKey), c.key);
    EXPECT_EQ(keyRow(c.key).name, c.name);
    EXPECT_EQ(keyRow(c.key).deviceCode, c.code);
  }
  EXPECT_EQ(keyTable().size(), 145u);
  EXPECT_EQ(keyRow(TKeyboardHookKey::kh_Return_KP).name, "");
  EXPECT_EQ(keyOfVirtualKey(kNoVirtualKey), TKeyboardHookKey::kh_None);
}

TEST(KeyTableTest, KeystrokeFlagsDecodeAndNameTheModifierSides) {
  const TKeyInfo rightCtrlUp = decodeKeyInfo(keystrokeFlags(0x1D, true, false, true));
  EXPECT_EQ(rightCtrlUp.ScanCode, 0x1D);
  EXPECT_TRUE(rightCtrlUp.Extended);
  EXPECT_FALSE(rightCtrlUp.Down);
  EXPECT_TRUE(rightCtrlUp.PrevDown);
  EXPECT_EQ(rightCtrlUp.RepeatCount, 1);
  EXPECT_EQ(rightCtrlUp.Name, "Right Ctrl");

  const TKeyInfo leftCtrlDown = decodeKeyInfo(keystrokeFlags(0x1D, false, true, false));
  EXPECT_TRUE(leftCtrlDown.Down);
  EXPECT_FALSE(leftCtrlDown.PrevDown);
  EXPECT_EQ(leftCtrlDown.Name, "Ctrl");

  const std::vector<std::pair<std::uint32_t, std::string>> names = {
      {keystrokeFlags(0x2A, false, true, false), "Shift"},
      {keystrokeFlags(0x36, false, true, false), "Right Shift"},
      {keystrokeFlags(0x38, false, true, false), "Alt"},
      {keystrokeFlags(0x38, true, true, false), "Right Alt"},
      {keystrokeFlags(0x5B, true, true, false), "Left Windows"},
      {keystrokeFlags(0x5C, true, true, false), "Right Windows"},
      {keystrokeFlags(0x1E, false, true, false), ""},  // A: not a key the watch names
  };
  for (const auto& [flags, name] : names) {
    EXPECT_EQ(keyNameText(flags), name);
  }
  const TKeyInfo context = decodeKeyInfo(kContextFlag | 0x0003U);
  EXPECT_TRUE(context.Context);
  EXPECT_EQ(context.RepeatCount, 3);
}

// One key event: when it happens, the key, down or up, and the name the key
// watch gives it.
struct Step {
  std::uint32_t at;
  VirtualKey key;
  bool down;
  std::string_view watchName = {};
};

constexpr VirtualKey kA = 0x41;
constexpr VirtualKey kB = 0x42;
constexpr VirtualKey kCtrl = 0x11;
constexpr VirtualKey kShift = 0x10;
constexpr VirtualKey kLeftWindows = 0x5B;

// A recording under way, fed as the macro page feeds it: the keyboard
// component, the recorder, then the key watch.
struct Rig {
  Rig() { recorder.startRecording(); }

  // The index of the step after which the recorder asked to stop, or -1.
  int play(const std::vector<Step>& steps) {
    for (std::size_t i = 0; i < steps.size(); ++i) {
      const Step& step = steps[i];
      clock.now = step.at;
      const TKeyboardHookState state = step.down ? hook.keyDown() : hook.keyUp();
      const bool stop = recorder.KeyboardHook1Receive(editor, step.key, state);
      TKeyInfo info;
      info.Name = std::string(step.watchName);
      recorder.Watch1KeyNative(editor, step.key, info);
      if (stop) {
        return static_cast<int>(i);
      }
    }
    return -1;
  }

  FakeClock clock;
  TKeyboardHook hook{true};
  MacroRecorder recorder{&clock};
  ScriptEditor editor;
};

TEST(RecorderTest, KeyEventsBecomeScriptLines) {
  struct Case {
    const char* what;
    std::vector<Step> steps;
    MacroScript lines;
  };
  const std::vector<Case> cases = {
      {"the first event has the header and no delay",
       {{5000, kA, true}, {5080, kA, false}},
       {"1", "1 A CODE:0004", "0 80", "2 A CODE:0004"}},
      {"auto-repeat of the held key is ignored",
       {{100, kA, true}, {600, kA, true}, {630, kA, true}, {700, kA, false}},
       {"1", "1 A CODE:0004", "0 600", "2 A CODE:0004"}},
      {"B pressed while A is held; B's repeats, also after A's release, are ignored",
       {{100, kA, true},
        {200, kB, true},
        {700, kB, true},
        {750, kA, false},
        {800, kB, true},
        {830, kB, true},
        {900, kB, false}},
       {"1", "1 A CODE:0004", "0 100", "1 B CODE:0005", "0 550", "2 A CODE:0004", "0 150",
        "2 B CODE:0005"}},
      {"left and right Ctrl get their sides from the key watch, after their delays",
       {{100, kCtrl, true, "Ctrl"},
        {160, kCtrl, false, "Ctrl"},
        {300, kCtrl, true, "Right Ctrl"},
        {350, kCtrl, false, "Right Ctrl"}},
       {"1", "1 Ctrl CODE:1111", "0 60", "2 Ctrl CODE:1111", "0 140", "1 Right Ctrl CODE:2222",
        "0 50", "2 Right Ctrl CODE:2222"}},
      {"Shift and the Windows key",
       {{10, kShift, true, "Right Shift"},
        {20, kLeftWindows, true, "Left Windows"},
        {30, kLeftWindows, false, "Left Windows"},
        {40, kShift, false, "Right Shift"}},
       {"1", "1 Right Shift CODE:4444", "0 10", "1 Left Windows CODE:7777", "0 10",
        "2 Left Windows CODE:7777", "0 10", "2 Right Shift CODE:4444"}},
      {"a modifier the watch names otherwise gives its delay only",
       {{100, kCtrl, true, "Strg"}, {150, kA, true}, {200, kA, false}, {260, kCtrl, false, "Strg"}},
       {"1", "0 50", "1 A CODE:0004", "0 50", "2 A CODE:0004", "0 60"}},
      {"keys outside the table, Page Up and Page Down",
       {{100, 0xE2, true},
        {110, 0xE2, false},
        {130, 0x21, true},
        {140, 0x21, false},
        {170, 0x22, true},
        {180, 0x22, false}},
       {"1", "1 None CODE:0000", "0 10", "2 None CODE:0000", "0 20", "1 Page Up CODE:009D", "0 10",
        "2 Page Up CODE:009D", "0 30", "1 Page Down CODE:004E", "0 10", "2 Page Down CODE:004E"}},
      {"events in the same millisecond get no delay between them",
       {{100, kA, true}, {100, kA, false}},
       {"1", "1 A CODE:0004", "2 A CODE:0004"}},
      {"a lone modifier the watch does not name leaves no script at all",
       {{100, kCtrl, true, "Strg"}},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig;
    EXPECT_EQ(rig.play(c.steps), -1);
    EXPECT_EQ(rig.editor.script, c.lines);
    // Every line after the header has its list entry.
    EXPECT_EQ(rig.editor.entryCount, c.lines.empty() ? 0 : static_cast<int>(c.lines.size()) - 1);
  }
}

TEST(RecorderTest, PressAndReleaseLinesAreSelectedDelaysAreNot) {
  Rig rig;
  rig.play({{100, kA, true}});
  EXPECT_EQ(rig.editor.selected, 0);
  rig.play({{150, kA, false}});
  // Press, delay, release: the release is selected, the delay never was.
  EXPECT_EQ(rig.editor.selected, 1 + 1);
}

TEST(RecorderTest, TheTenthReleaseWritesItsLineThenAsksToStop) {
  Rig rig;
  std::vector<Step> steps;
  for (std::uint32_t i = 0; i < 12; ++i) {
    const VirtualKey key = i % 2 == 0 ? kA : kB;
    steps.push_back({100 + 40 * i, key, true});
    steps.push_back({120 + 40 * i, key, false});
  }
  EXPECT_EQ(rig.play(steps), 19);  // the tenth release
  EXPECT_EQ(rig.editor.script.back(), "2 B CODE:0005");
  EXPECT_EQ(rig.recorder.releaseCounter, 10);
  // 10 presses, 10 releases, 19 delays between them, and the header.
  EXPECT_EQ(rig.editor.script.size(), 40u);
}

TEST(RecorderTest, LastPressedKeyAndHeldCountCarryOverToTheNextRecording) {
  Rig rig;
  rig.play({{100, kA, true}});
  rig.recorder.stopRecording();
  EXPECT_FALSE(rig.recorder.lastEventTime);
  EXPECT_EQ(rig.recorder.lastPressedKey, kA);
  EXPECT_EQ(rig.recorder.heldCount, 1);

  // A's release was never seen: its next first press counts as still held.
  rig.editor.clear();
  rig.hook.downCounter = 0;
  rig.recorder.startRecording();
  rig.play({{900, kA, true}, {950, kB, true}});
  EXPECT_EQ(rig.editor.script, (MacroScript{"1", "1 B CODE:0005"}));
}

TEST(RecorderTest, KeyboardComponentCountsDownsUntilAnyRelease) {
  TKeyboardHook hook;
  EXPECT_EQ(hook.keyDown(), TKeyboardHookState::kh_On);
  EXPECT_EQ(hook.keyDown(), TKeyboardHookState::kh_Repeat);
  EXPECT_EQ(hook.downCounter, 2);
  EXPECT_EQ(hook.keyUp(), TKeyboardHookState::kh_Off);
  EXPECT_EQ(hook.downCounter, 0);
  EXPECT_EQ(hook.keyDown(), TKeyboardHookState::kh_On);
}

}  // namespace
}  // namespace korvane::macros
