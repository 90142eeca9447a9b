#include "app/controls.h"

#include <algorithm>

#include "app/skin_image.h"
#include "files/file_io.h"

namespace korvane::app {

bool isShowablePicture(const std::filesystem::path& file) {
  if (!files::isRegularFile(file)) {
    return false;
  }
  // Judged by the header alone, before anything is decoded.
  const std::optional<Rect> size = pictureSize(file);
  return !size || (size->width <= kMaxPictureWidth && size->height <= kMaxPictureHeight);
}

bool Image::load(const std::filesystem::path& file) {
  if (!isShowablePicture(file)) {
    return false;
  }
  picture = file;
  ++loads;
  return true;
}

void CheckBox::set(bool value) {
  if (value == checked) {
    return;
  }
  checked = value;
  if (onClick) {
    onClick();
  }
}

void Slider::set(int value) {
  // A position from a file may be anything; the slider keeps to its range.
  value = std::clamp(value, minimum, maximum);
  if (value == position) {
    return;
  }
  position = value;
  if (onChange) {
    onChange();
  }
}

int RadioGroup::checkedIndex() const {
  for (std::size_t i = 0; i < checked.size(); ++i) {
    if (checked[i]) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

void RadioGroup::readIndex(int value) {
  for (std::size_t i = 0; i < checked.size(); ++i) {
    checked[i] = static_cast<int>(i) == value;
  }
  const int first = checkedIndex();
  if (first >= 0 && handlers[static_cast<std::size_t>(first)]) {
    handlers[static_cast<std::size_t>(first)]();
  }
}

void RadioGroup::click(int index) {
  if (index < 0 || index >= static_cast<int>(checked.size())) {
    return;
  }
  readIndex(index);
}

}  // namespace korvane::app
