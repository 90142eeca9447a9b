#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/controls.h"

namespace korvane::app {

struct AppState;

// Width and height of a PNG picture, from its header; nothing when the file
// is missing or is not a PNG.
std::optional<Rect> pictureSize(const std::filesystem::path& file);

// State digits of an image family: "led_base_1" normal, "_2" hover, "_3"
// selected or pressed.
enum class SkinState { Normal = 1, Hover = 2, Selected = 3 };

// How an image button follows the mouse and the selection.
enum class SkinKind {
  Choice,              // hover _2; leave _3 when selected, else _1; selected _3
  Command,             // hover _2; leave _1; pressed _3 while the command runs
  ChoiceWithoutHover,  // _1 normal, _2 selected; the mouse changes nothing
};

// An image button of the skin. Every state change reads its file anew; a
// missing file leaves the previous picture.
struct SkinImage : Image {
  std::string family;  // "led_base", "report", "macro_btn1" ...
  SkinKind kind = SkinKind::Choice;
  // For choices: whether this item is the selected one of its group.
  std::function<bool()> isSelected;

  void show(const AppState& state, int stateDigit);
  void enter(const AppState& state);
  void leave(const AppState& state);
  // A command's click: pressed picture, the command, then normal again
  // (after `settle`, e.g. the macro page's 200 ms pause).
  void press(const AppState& state, const std::function<void()>& command,
             const std::function<void()>& settle = {});
};

// Selecting a member of a choice group: every member normal, then the chosen
// one selected (for choices without hover the selected picture is _2).
void selectInGroup(const AppState& state, const std::vector<SkinImage*>& group,
                   const SkinImage& chosen);

}  // namespace korvane::app
