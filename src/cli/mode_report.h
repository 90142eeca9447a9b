#pragma once

#include <span>
#include <string>

#include "app/main_window_model.h"
#include "settings/mode_layout.h"

namespace korvane::cli {

// What `show` and `read` print about five mode blocks, with the captions the
// window shows in the user's language (a button whose bytes name no function
// of the catalogue shows its three bytes in hex).
struct ModeReportOptions {
  bool json = false;
  // The pointer settings belong to the active mode's settings file, not to
  // the mouse: `show` prints them, `read` does not.
  bool pointer = false;
};

std::string formatModes(app::MainWindowModel& model,
                        std::span<const settings::ModeBlock, settings::kModeCount> blocks,
                        const ModeReportOptions& options);

// The name of the function a button's three bytes carry, in the user's
// language; its bytes in hex when no function of the catalogue has them.
std::string buttonName(app::MainWindowModel& model, std::span<const std::uint8_t, 3> bytes);

}  // namespace korvane::cli
