#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "buttons/assignment.h"
#include "buttons/function_catalogue.h"

namespace korvane::buttons {
namespace {

using Block = std::array<std::uint8_t, settings::kModeBlockSize>;

constexpr std::string_view kLeftName = "左键";

// Records the calls in order, with what the window held when the block was
// stored. A rule that warned without end fails the test instead of hanging it.
class RecordingHost : public AssignmentHost {
 public:
  RecordingHost(const ButtonState& buttons, const Block& working)
      : buttons_(buttons), working_(working) {}

  void showLeftKeyWarning() override {
    calls.emplace_back("warning");
    if (++warnings > 3) throw std::runtime_error("left-key warning repeats");
  }
  void storeWorkingBlock() override {
    calls.emplace_back("store");
    storedBlock = working_;
    storedCaptions = buttons_.captions;
  }
  void closeMenu() override { calls.emplace_back("close"); }

  std::vector<std::string> calls;
  int warnings = 0;
  Block storedBlock{};
  std::array<std::string, settings::kButtonCount> storedCaptions;

 private:
  const ButtonState& buttons_;
  const Block& working_;
};

KeyAction bytes(int type, int param1, int param2) {
  return {static_cast<KeyActionType>(type), static_cast<std::uint8_t>(param1),
          static_cast<std::uint8_t>(param2)};
}

const FunctionEntry& entry(std::string_view control) {
  const FunctionEntry* found = findByControl(control);
  if (found == nullptr) throw std::logic_error("no entry " + std::string(control));
  return *found;
}

// The button page of a mode: a block whose bytes all differ from their
// neighbours, so a write to the wrong place shows, and factory-like names.
class AssignmentTest : public ::testing::Test {
 protected:
  AssignmentTest() {
    for (std::size_t i = 0; i < working.size(); ++i) {
      working[i] = static_cast<std::uint8_t>(0xA0 + i);
    }
    buttons.captions = {
        "左键",   "右键",    "中键",     "后退", "Forward Key", "DPI", "Double Left Click",
        "E-mail", "Windows", "模式切换", "左摆", "右摆"};
    before = working;
  }

  void captions123(std::string_view a, std::string_view b, std::string_view c) {
    buttons.captions[0] = a;
    buttons.captions[1] = b;
    buttons.captions[2] = c;
  }

  void assign(int button, KeyAction action, std::string_view name) {
    buttons.selected = button;
    AssignFunction(buttons, working, host, action, name, kLeftName);
  }
  void click(int button, std::string_view control) {
    const FunctionEntry& e = entry(control);
    assign(button, e.action, e.builtInName);
  }

  // Every assignment ends the same way: the block stored once with the final
  // state, then the menu closed and the selection gone.
  void expectStoredAndClosed(int warnings) {
    std::vector<std::string> expected(static_cast<std::size_t>(warnings), "warning");
    expected.insert(expected.end(), {"store", "close"});
    EXPECT_EQ(host.calls, expected);
    EXPECT_EQ(host.storedBlock, working);
    EXPECT_EQ(host.storedCaptions, buttons.captions);
    EXPECT_EQ(buttons.selected, 0);
  }

  // Only the three bytes of `button` may differ from the starting block.
  void expectOnlyButtonChanged(int button, KeyAction action) {
    Block expected = before;
    const std::size_t offset = 8 + 3 * static_cast<std::size_t>(button - 1);
    expected[offset] = static_cast<std::uint8_t>(action.type);
    expected[offset + 1] = action.param1;
    expected[offset + 2] = action.param2;
    EXPECT_EQ(working, expected);
  }

  Block working{};
  Block before{};
  ButtonState buttons;
  RecordingHost host{buttons, working};
};

TEST_F(AssignmentTest, EveryEntryLandsOnTheSelectedButton) {
  for (const FunctionEntry& e : kFunctionCatalogue) {
    if (e.opensMacroDialog) continue;
    for (int button : {1, 3, 4, 6, 10, 12}) {
      SCOPED_TRACE(std::string(e.control) + " on button " + std::to_string(button));
      working = before;
      host.calls.clear();
      // All three first buttons show the left click, so no choice breaks the rule.
      captions123(kLeftName, kLeftName, kLeftName);
      click(button, e.control);
      expectOnlyButtonChanged(button, e.action);
      EXPECT_EQ(buttons.captions[static_cast<std::size_t>(button - 1)], e.builtInName);
      expectStoredAndClosed(0);
    }
  }
}

TEST_F(AssignmentTest, DocumentedBytes) {
  click(12, "lbl_msekey_rtilt");
  EXPECT_EQ((std::array{working[41], working[42], working[43]}),
            (std::array<std::uint8_t, 3>{2, 255, 0}));

  click(10, "lbl_mode");
  EXPECT_EQ((std::array{working[35], working[36], working[37]}),
            (std::array<std::uint8_t, 3>{7, 1, 0}));

  click(4, "lbl_office_copy");
  EXPECT_EQ((std::array{working[17], working[18], working[19]}),
            (std::array<std::uint8_t, 3>{3, 1, 6}));
}

TEST_F(AssignmentTest, WwwStopWritesTheStopBytesUnderItsOwnName) {
  click(5, "lbl_ie_stop");
  EXPECT_EQ(readKeyAction(working, 5), bytes(4, 0, 183));
  EXPECT_EQ(readKeyAction(working, 5), entry("lbl_media_stop").action);
  EXPECT_EQ(buttons.captions[4], "WWW Stop");
}

TEST_F(AssignmentTest, MacroChosenFromTheListIsAssignedWithItsName) {
  const std::array<std::string_view, 3> macroList = {"alpha", "beta", "gamma"};
  assign(4, deviceMacroAction(2), macroList[2]);
  expectOnlyButtonChanged(4, bytes(9, 2, 0));
  EXPECT_EQ(buttons.captions[3], "gamma");
  expectStoredAndClosed(0);
}

TEST_F(AssignmentTest, LeftClickRule) {
  struct Case {
    const char* what;
    std::array<std::string_view, 3> names;  // Key1..Key3 before the assignment
    int button = 0;
    std::string_view control;
    bool warns = false;
  };
  const std::array cases = {
      Case{"button 1 gives up the only left click",
           {kLeftName, "右键", "中键"},
           1,
           "lbl_office_copy",
           true},
      Case{"key off on button 1", {kLeftName, "右键", "中键"}, 1, "lbl_keyoff", true},
      Case{"button 3 gives up the only left click",
           {"右键", "中键", kLeftName},
           3,
           "lbl_msekey_back",
           true},
      Case{"button 2 keeps a left click",
           {kLeftName, kLeftName, "中键"},
           1,
           "lbl_office_copy",
           false},
      Case{"button 3 keeps a left click",
           {kLeftName, "右键", kLeftName},
           1,
           "lbl_office_copy",
           false},
      // Names are compared, not bytes: a left click under another language's
      // name does not count.
      Case{"names from another language",
           {"Left Click", "右键", "中键"},
           2,
           "lbl_office_copy",
           true},
      Case{"the left click itself restores the rule",
           {"Left Click", "右键", "中键"},
           2,
           "lbl_msekey_left",
           false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    working = before;
    host.calls.clear();
    host.warnings = 0;
    captions123(c.names[0], c.names[1], c.names[2]);
    const auto untouched = buttons.captions;
    click(c.button, c.control);

    const KeyAction expected = c.warns ? kLeftClick : entry(c.control).action;
    expectOnlyButtonChanged(c.button, expected);
    const std::size_t index = static_cast<std::size_t>(c.button - 1);
    EXPECT_EQ(buttons.captions[index], c.warns ? kLeftName : entry(c.control).builtInName);
    for (std::size_t i = 0; i < untouched.size(); ++i) {
      if (i != index) {
        EXPECT_EQ(buttons.captions[i], untouched[i]) << "Key" << i + 1;
      }
    }
    expectStoredAndClosed(c.warns ? 1 : 0);
  }
}

TEST_F(AssignmentTest, LeftClickOnButtonThreeLetsButtonOneChangeFreely) {
  captions123(kLeftName, "右键", "中键");
  click(3, "lbl_msekey_left");
  click(1, "lbl_office_copy");
  EXPECT_EQ(host.warnings, 0);
  EXPECT_EQ(readKeyAction(working, 1), bytes(3, 1, 6));
  EXPECT_EQ(readKeyAction(working, 3), kLeftClick);
  EXPECT_EQ(buttons.captions[0], "Copy");
  EXPECT_EQ(buttons.captions[2], kLeftName);
}

// When none of Key1..Key3 shows the left-click name, a later button taking the
// left click cannot satisfy the rule: the user is warned once and the button
// takes the left click, as after any warning.
TEST_F(AssignmentTest, LaterButtonWithoutAnyLeftClickWarnsOnce) {
  for (int button : {4, 12}) {
    SCOPED_TRACE(button);
    working = before;
    host.calls.clear();
    host.warnings = 0;
    captions123("Left Click", "Right Click", "Middle Click");
    click(button, "lbl_office_copy");
    expectOnlyButtonChanged(button, kLeftClick);
    EXPECT_EQ(buttons.captions[static_cast<std::size_t>(button - 1)], kLeftName);
    EXPECT_EQ(buttons.captions[0], "Left Click");
    expectStoredAndClosed(1);
  }
}

// With no button selected nothing is written, yet the rule, the store and the
// close still run.
TEST_F(AssignmentTest, NoSelectedButtonWritesNothing) {
  struct Case {
    int selected = 0;
    std::array<std::string_view, 3> names;
    int warnings = 0;
  };
  const std::array cases = {
      Case{0, {kLeftName, "右键", "中键"}, 0},
      Case{0, {"Left Click", "右键", "中键"}, 1},
      Case{13, {kLeftName, "右键", "中键"}, 0},
      Case{-1, {"Left Click", "右键", "中键"}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.selected);
    working = before;
    host.calls.clear();
    host.warnings = 0;
    captions123(c.names[0], c.names[1], c.names[2]);
    const auto captionsBefore = buttons.captions;
    assign(c.selected, entry("lbl_office_copy").action, "Copy");
    EXPECT_EQ(working, before);
    EXPECT_EQ(buttons.captions, captionsBefore);
    expectStoredAndClosed(c.warnings);
  }
}

}  // namespace
}  // namespace korvane::buttons
