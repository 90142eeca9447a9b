// The command labels at the bottom of the window: Save and the factory reset
// (Apply and Exit live with the device and the chrome), and the mode rename.
#include <array>

#include "app/host.h"
#include "app/main_window_model.h"
#include "app/message_texts.h"
#include "files/file_io.h"
#include "settings/data_files.h"

namespace korvane::app {

void MainWindowModel::SaveConfClick() {
  runCommand([this] { saveActiveMode(); });
}

void MainWindowModel::saveActiveMode() {
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
  if (state_.SaveSuppressed) {
    return std::nullopt;
  }
  return fileErrorText(state_, settings::writeDataFile(settings::dataFilePath(state_.DataDir, mode),
                                                       codePage_, blocks.storedBlock(mode)));
}

std::optional<std::string> MainWindowModel::keepModeFromMouse(int mode,
                                                              const settings::ModeBlock& block) {
  blocks.storedBlock(mode) = block;
  return WriteDataFile(mode);
}

}  // namespace korvane::app

namespace korvane::app {

namespace {

constexpr std::size_t kModeNameMaxLength = 15;

}  // namespace

void MainWindowModel::DefaultSettingClick() {
  runCommand([this] { factoryReset(); });
}

void MainWindowModel::factoryReset() {
  macro.stopRecording();
  setCommandLabelsEnabled(false);
  for (const auto& [live, factory] : factoryFilePairs()) {
    // Only a pair whose two files both exist is restored: a live file that
    // is missing is not created.
    if (!files::isRegularFile(live) || !files::isRegularFile(factory)) {
      host_.hideBusy();
      continue;
    }
    host_.showBusy();
    if (const std::optional<std::string> error = CopyFactoryFile(live, factory)) {
      // The restore stops here, but the window must stay usable.
      host_.hideBusy();
      host_.messageBox(*error);
      setCommandLabelsEnabled(true);
      return;
    }
  }
  state_.StartupDone = false;
  ReadGeneralFile();
  state_.StartupDone = true;
  LoadModeForEditing();
  host_.pumpEvents();
  // A close that arrived meanwhile ends the reset before the mouse is written.
  if (!closeRequested_) {
    runApply();
  }
  setCommandLabelsEnabled(true);
}

void MainWindowModel::MenuNameClick() {
  const int mode = modes.activeMode();
  if (mode < 1) {
    return;
  }
  Label& name = modes.label[static_cast<std::size_t>(mode - 1)];
  if (const std::optional<std::string> text =
          host_.modeNameDialog(name.caption, kModeNameMaxLength);
      text && !text->empty()) {
    name.caption = *text;
  }
}

}  // namespace korvane::app
