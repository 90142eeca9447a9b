#include "macros/script.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace korvane::macros {
namespace {

const std::string kLeftPress = "1 Left Key  CODE:0071";
const std::string kLeftRelease = "2 Left Key  CODE:0071";
const std::string kRightPress = "1 Right Key  CODE:0073";
const std::string kRightRelease = "2 Right Key  CODE:0073";
const std::string kPause = "0 50";

ScriptEditor loaded(MacroScript lines) {
  ScriptEditor editor;
  editor.load(std::move(lines));
  return editor;
}

TEST(ScriptLines, BuildersWriteTheLineGrammar) {
  EXPECT_EQ(pressLine("A", 0x04), "1 A CODE:0004");
  EXPECT_EQ(releaseLine("Page Up", 0x9D), "2 Page Up CODE:009D");
  EXPECT_EQ(pressLine("Right Ctrl", 0x2222), "1 Right Ctrl CODE:2222");
  EXPECT_EQ(delayLine(120), "0 120");
  EXPECT_EQ(std::string(mouseButtonLines(MouseButton::Middle).press), "1 Mid Key  CODE:0072");
  EXPECT_EQ(codeText(kLeftPress), "0071");

  EXPECT_EQ(lineKind("0 50"), LineKind::Delay);
  EXPECT_EQ(lineKind(kLeftPress), LineKind::Press);
  EXPECT_EQ(lineKind(kLeftRelease), LineKind::Release);
  EXPECT_EQ(lineKind(""), LineKind::Other);
  EXPECT_EQ(lineKind("x"), LineKind::Other);

  ASSERT_NE(findModifierByName("Right Alt"), nullptr);
  EXPECT_EQ(findModifierByName("Right Alt")->code, "6666");
  EXPECT_EQ(findModifierByCode("7777")->bit, 0x08);
  EXPECT_EQ(findModifierByCode("0004"), nullptr);
}

TEST(ScriptEditor, LoadPutsTheHeaderIntoTheScriptOnly) {
  const ScriptEditor editor = loaded({"1", kLeftPress, kPause, kLeftRelease});
  EXPECT_EQ(editor.entryCount, 3);
  EXPECT_FALSE(editor.selected);
  EXPECT_EQ(loaded({}).entryCount, 0);
  EXPECT_EQ(loaded({"1"}).entryCount, 0);
}

TEST(ScriptEditor, MouseClickInsertion) {
  struct Case {
    const char* name;
    MacroScript before;
    MacroScript after;
    int entries;
  };
  const Case cases[] = {
      {"empty script gets the header", {}, {"1", kLeftPress, kPause, kLeftRelease}, 3},
      {"after events a pause leads in",
       {"1", kRightPress, kPause, kRightRelease},
       {"1", kRightPress, kPause, kRightRelease, kPause, kLeftPress, kPause, kLeftRelease},
       7},
      // Fewer than two lines: the header goes in again, without an entry.
      {"header-only script", {"1"}, {"1", "1", kLeftPress, kPause, kLeftRelease}, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptEditor editor = loaded(c.before);
    insertMouseClick(editor, MouseButton::Left);
    EXPECT_EQ(editor.script, c.after);
    EXPECT_EQ(editor.entryCount, c.entries);
    EXPECT_EQ(editor.selected, c.entries - 1);
  }
}

TEST(ScriptEditor, RemovalFollowsTheCaseTable) {
  const MacroScript twoClicks = {"1",    kLeftPress,  kPause, kLeftRelease,
                                 kPause, kRightPress, kPause, kRightRelease};
  const MacroScript oneClick = {"1", kLeftPress, kPause, kLeftRelease};
  const MacroScript rightClick = {"1", kRightPress, kPause, kRightRelease};
  const MacroScript releaseFirst = {"1", kLeftRelease, kPause, kRightPress, kPause};
  struct Case {
    const char* name;
    MacroScript before;
    std::optional<int> selected;
    bool removed;
    MacroScript after;
    int entries;
  };
  const Case cases[] = {
      {"N>3, press at 0", twoClicks, 0, true, rightClick, 3},
      {"N>3, release at 2 acts as the press at 0", twoClicks, 2, true, rightClick, 3},
      {"N>3, press further on", twoClicks, 4, true, oneClick, 3},
      {"N>3, release further on", twoClicks, 6, true, oneClick, 3},
      {"N>3, delay selected", twoClicks, 3, false, twoClicks, 7},
      {"N>3, release at 0", releaseFirst, 0, false, releaseFirst, 4},
      {"N>3, release at 1",
       {"1", kPause, kLeftRelease, kPause, kPause},
       1,
       false,
       {"1", kPause, kLeftRelease, kPause, kPause},
       4},
      {"N<=3, press clears all, header too", oneClick, 0, true, {}, 0},
      {"N<=3, release clears all, header too", oneClick, 2, true, {}, 0},
      // Entries 1 to 3 and lines 1 to 4, of which entry 3 and line 4 do not exist.
      {"N<=3, missing positions are skipped", {"1", kPause, kLeftPress, kPause}, 1, true, {"1"}, 1},
      {"nothing selected", oneClick, std::nullopt, false, oneClick, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptEditor editor = loaded(c.before);
    editor.selected = c.selected;
    EXPECT_EQ(removeSelectedKeyGroup(editor), c.removed);
    EXPECT_EQ(editor.script, c.after);
    EXPECT_EQ(editor.entryCount, c.entries);
    if (c.removed) {
      EXPECT_FALSE(editor.selected);
    } else {
      EXPECT_EQ(editor.selected, c.selected);
    }
  }
}

TEST(ScriptEditor, SettingADelayReplacesOnlyADelayLine) {
  ScriptEditor editor = loaded({"1", kLeftPress, kPause, kLeftRelease});

  editor.selected = 0;  // a press
  EXPECT_FALSE(setSelectedDelay(editor, 300));
  editor.selected.reset();
  EXPECT_FALSE(setSelectedDelay(editor, 300));
  EXPECT_EQ(editor.script[2], kPause);

  // Typing 9999 into the box turns it into 2550, which the command then writes.
  const std::optional<std::string> typed = delayEditText("9999");
  ASSERT_TRUE(typed);
  EXPECT_EQ(*typed, "2550");
  editor.selected = 1;
  EXPECT_TRUE(setSelectedDelay(editor, delayEditValue(*typed)));
  EXPECT_EQ(editor.script[2], "0 2550");
  EXPECT_EQ(editor.selected, 1);
}

TEST(ScriptEditor, DelayBoxTakesFiveDigitsAndClampsTo2550) {
  struct Case {
    const char* proposed = nullptr;
    std::optional<std::string> text;
  };
  const Case cases[] = {
      {"", ""},
      {"0", "0"},
      {"2550", "2550"},
      {"2551", "2550"},
      {"9999", "2550"},
      {"99999", "2550"},
      {"00120", "00120"},
      {"123456", std::nullopt},
      {"12a", std::nullopt},
      {"-5", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.proposed);
    EXPECT_EQ(delayEditText(c.proposed), c.text);
  }
  EXPECT_EQ(delayEditValue(""), 0);
  EXPECT_EQ(delayEditValue("00120"), 120);
  EXPECT_TRUE(delayEditAcceptsKey('7'));
  EXPECT_TRUE(delayEditAcceptsKey(kBackspaceKey));
  EXPECT_FALSE(delayEditAcceptsKey('a'));
  EXPECT_FALSE(delayEditAcceptsKey('-'));
  EXPECT_TRUE(cycleEditAcceptsKey('0'));
  EXPECT_FALSE(cycleEditAcceptsKey(' '));
}

TEST(RepeatOption, ClickTransitions) {
  enum class State { Neither, Endless, Counted };
  const auto stateOf = [](const RepeatOption& r) {
    EXPECT_FALSE(r.endless && r.counted);
    return r.endless ? State::Endless : r.counted ? State::Counted : State::Neither;
  };
  struct Case {
    const char* name;
    State from;
    bool fromEnabled;
    bool clickMax;  // else lbl_cycle
    State to;
    bool enabled;
  };
  const Case cases[] = {
      {"neither + max", State::Neither, true, true, State::Endless, false},
      {"neither + count", State::Neither, false, false, State::Counted, true},
      {"endless + max keeps the box disabled", State::Endless, false, true, State::Neither, false},
      {"endless + count", State::Endless, false, false, State::Counted, true},
      {"counted + max", State::Counted, true, true, State::Endless, false},
      {"counted + count", State::Counted, true, false, State::Neither, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RepeatOption repeat;
    repeat.endless = c.from == State::Endless;
    repeat.counted = c.from == State::Counted;
    repeat.countEnabled = c.fromEnabled;
    if (c.clickMax) {
      repeat.lbl_cycle_maxClick();
    } else {
      repeat.lbl_cycleClick();
    }
    EXPECT_EQ(stateOf(repeat), c.to);
    EXPECT_EQ(repeat.countEnabled, c.enabled);
  }

  RepeatOption twice;
  twice.lbl_cycle_maxClick();
  twice.lbl_cycle_maxClick();
  EXPECT_EQ(stateOf(twice), State::Neither);
  EXPECT_FALSE(twice.countEnabled);
}

TEST(EntryDrawing, DrawsIconAndTextFromTheScriptLine) {
  struct Case {
    std::string line;
    int icon;
    std::string text;
  };
  const Case cases[] = {
      {"1 A CODE:0004", 1, "A"},
      {kLeftPress, 1, "Left Key "},
      {"2 Right Ctrl CODE:2222", 2, "Right Ctrl"},
      {"0 120", 0, "120 ms"},
      {"0 0", 0, "0 ms"},
      {"x", 0, ""},
      {"", 0, ""},
      {"7 Odd kind CODE:0000", 7, "Odd kind"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const std::optional<EntryDrawing> drawing = entryDrawing({"1", c.line, kPause}, 0);
    ASSERT_TRUE(drawing);
    EXPECT_EQ(drawing->icon, c.icon);
    EXPECT_EQ(drawing->text, c.text);
  }
  // Two lines or fewer: nothing is drawn at all.
  EXPECT_FALSE(entryDrawing({"1", "1 A CODE:0004"}, 0));
  EXPECT_FALSE(entryDrawing({"1", kLeftPress, kPause}, 2));
}

}  // namespace
}  // namespace korvane::macros
