#pragma once

#include <array>
#include <string>

#include "app/controls.h"
#include "app/skin_image.h"

namespace korvane::app {

struct WindowContext;

inline constexpr int kModePanelCount = 5;

// The five mode panels on the button page: which mode is being edited.
// The hidden group gb7 ("Mode") mirrors the active mode.
class ModePanels {
 public:
  explicit ModePanels(WindowContext& context);

  // A click on the panel, its name label or its image.
  void pnl_modeClick(int mode);
  void modeEnter(int mode);
  void modeLeave(int mode);
  // The checked choice of gb7, 0 when none.
  int activeMode() const;

  std::array<Panel, kModePanelCount> pnl_mode{};
  // MouseMode, Win8Mode, GameMode, MediaMode, OfficeMode: the mode names.
  std::array<Label, kModePanelCount> label{};
  std::array<SkinImage, kModePanelCount> img_mode{};
  RadioGroup gb7{kModePanelCount};

  static constexpr std::array<const char*, kModePanelCount> kLabelNames = {
      "MouseMode", "Win8Mode", "GameMode", "MediaMode", "OfficeMode"};

 private:
  WindowContext& context_;
};

}  // namespace korvane::app
