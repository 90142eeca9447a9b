// The command labels at the bottom of the window: Save (Apply and Exit live
// with the device and the chrome).
#include "app/host.h"
#include "app/main_window_model.h"
#include "settings/data_files.h"

namespace korvane::app {

void MainWindowModel::SaveConfClick() {
  setCommandLabelsEnabled(false);
  host_.showBusy();
  host_.pumpEvents();

  const int mode = blocks.activeMode;
  if (mode >= 1 && mode <= settings::kModeCount) {
    blocks.captureForSaving();
    std::optional<std::string> error = WriteSettingsFile(mode);
    if (!error) {
      error = WriteDataFile(mode);
    }
    if (error) {
      // The rest of the save is not run, but the window must stay usable.
      host_.messageBox(*error);
    }
  }

  host_.hideBusy();
  setCommandLabelsEnabled(true);
}

std::optional<std::string> MainWindowModel::WriteDataFile(int mode) {
  if (state.SaveSuppressed) {
    return std::nullopt;
  }
  return settings::writeDataFile(settings::dataFilePath(state.DataDir, mode), codePage,
                                 blocks.storedBlock(mode));
}

std::optional<std::string> MainWindowModel::WriteSettingsFile(int /*mode*/) {
  if (state.SaveSuppressed) {
    return std::nullopt;
  }
  // The settings file mirrors the settings pages' controls, which are not
  // kept yet.
  return std::nullopt;
}

}  // namespace korvane::app
