#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The state of the window's controls as plain data. The Qt view draws these
// and forwards events to the handlers; nothing here knows about Qt.
namespace korvane::app {

struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The main window's area, in its own coordinates; the function menu and its
// panels stay inside it.
inline constexpr Rect kMainWindowArea = {0, 0, 905, 619};

struct Control {
  Rect geometry;
  bool enabled = true;
  bool visible = true;
};

struct Label : Control {
  std::string caption;
  // Highlighted labels turn opaque over the teal highlight colour.
  bool highlighted = false;
};

// The largest picture a control takes: twice the window in each direction,
// room for a skin drawn for a screen of twice the density. A larger one
// could never be shown, and decoding it would cost hundreds of megabytes.
inline constexpr int kMaxPictureWidth = 2 * kMainWindowArea.width;
inline constexpr int kMaxPictureHeight = 2 * 681;

// A picture file a control may show: a file that is there and whose PNG
// header does not claim more than kMaxPictureWidth × kMaxPictureHeight.
bool isShowablePicture(const std::filesystem::path& file);

// An image control shows the file it last loaded. Every load reads the file
// anew (the view reloads whenever `loads` moves); a missing file, or one too
// large to show, leaves the previous picture.
struct Image : Control {
  std::filesystem::path picture;
  std::uint64_t loads = 0;

  bool load(const std::filesystem::path& file);
  bool blank() const { return picture.empty(); }
};

struct Panel : Control {};

// Setting a check box to another state runs its click handler; setting it to
// the state it has runs nothing.
struct CheckBox : Control {
  bool checked = false;
  std::function<void()> onClick;

  void set(bool value);
};

// Setting a slider to another position runs its change handler.
struct Slider : Control {
  int minimum = 0;
  int maximum = 10;
  int position = 0;
  std::function<void()> onChange;

  void set(int value);
};

// A list box: its entries and the selected one.
struct ListBox : Control {
  std::vector<std::string> items;
  std::optional<int> selected;
};

// A one-line edit.
struct Edit : Control {
  std::string text;
};

// A hidden group of radio buttons that holds a setting for the files.
struct RadioGroup {
  std::vector<bool> checked;
  std::vector<std::function<void()>> handlers;

  explicit RadioGroup(std::size_t choices = 0) : checked(choices, false), handlers(choices) {}
  // Index of the first checked choice, -1 when none is checked.
  int checkedIndex() const;
  // Checks exactly the choice whose index equals `value` (none when out of
  // range), then runs the handler of the first checked choice.
  void readIndex(int value);
  // A user's click on choice `index`: it becomes the only checked one and its
  // handler runs.
  void click(int index);
};

}  // namespace korvane::app
