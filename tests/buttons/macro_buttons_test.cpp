#include "buttons/macro_buttons.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace korvane::buttons {
namespace {

// The library "aa", "bb", "cc" after "aa" was created in front of "bb", "cc".
std::optional<int> position(std::string_view name) {
  const std::array<std::string_view, 3> library = {"aa", "bb", "cc"};
  for (std::size_t i = 0; i < library.size(); ++i) {
    if (library[i] == name) {
      return static_cast<int>(i);
    }
  }
  return std::nullopt;
}

TEST(FollowMacroPositions, AMacroButtonTakesThePositionOfTheMacroItNames) {
  struct Case {
    const char* name;
    const char* caption;
    std::array<std::uint8_t, 3> before;
    std::array<std::uint8_t, 3> after;
    bool named;
  };
  const Case cases[] = {
      {"the position moved", "cc", {9, 1, 0}, {9, 2, 0}, true},
      {"already in step", "aa", {9, 0, 0}, {9, 0, 0}, true},
      {"a stray second byte is cleared", "bb", {9, 7, 5}, {9, 1, 0}, true},
      {"no macro of that name: left alone", "gone", {9, 4, 0}, {9, 4, 0}, false},
      {"not a macro button, though named like one", "cc", {3, 1, 6}, {3, 1, 6}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::array<std::string, settings::kButtonCount> captions{};
    settings::ModeBlock block{};
    const std::size_t at = settings::keyActionOffset(12);
    captions[11] = c.caption;
    std::copy(c.before.begin(), c.before.end(), block.begin() + static_cast<std::ptrdiff_t>(at));
    const std::vector<MacroButton> named = FollowMacroPositions(captions, block, position);
    EXPECT_EQ((std::array<std::uint8_t, 3>{block[at], block[at + 1], block[at + 2]}), c.after);
    if (c.named) {
      EXPECT_EQ(named, (std::vector<MacroButton>{{12, c.caption, c.after[1]}}));
    } else {
      EXPECT_TRUE(named.empty());
    }
    // Nothing else of the block changes.
    settings::ModeBlock rest = block;
    std::fill_n(rest.begin() + static_cast<std::ptrdiff_t>(at), 3, 0);
    EXPECT_EQ(rest, settings::ModeBlock{});
  }
}

}  // namespace
}  // namespace korvane::buttons
