// The buttons that play macros follow their macros through the library: a
// button stores its macro's library position, which creating, loading or
// deleting a macro moves.
#include <array>
#include <string>

#include "app/main_window_model.h"
#include "app/message_texts.h"
#include "files/file_io.h"
#include "settings/data_files.h"
#include "settings/ini_file.h"

namespace korvane::app {

namespace {

using Captions = std::array<std::string, settings::kButtonCount>;

// The captions a mode's settings file holds; nothing when it has none to
// give (missing, or too large to read, which the load step reports).
std::optional<Captions> savedCaptions(const std::filesystem::path& file,
                                      const settings::CodePage& codePage, int mode) {
  if (!files::isRegularFile(file)) {
    return std::nullopt;
  }
  const settings::IniFile ini = settings::IniFile::load(file, codePage);
  if (ini.tooLarge()) {
    return std::nullopt;
  }
  Captions captions;
  for (std::size_t i = 0; i < captions.size(); ++i) {
    captions[i] =
        ini.readString(settings::settingsSectionName(mode), "Key" + std::to_string(i + 1));
  }
  return captions;
}

}  // namespace

std::vector<MainWindowModel::ModeMacroButton> MainWindowModel::FollowMacroLibrary() {
  const macros::MacroLibrary& library = macro.library();
  const buttons::MacroPosition positionOf = [&library](std::string_view name) {
    return library.position(name);
  };
  std::vector<ModeMacroButton> named;
  for (int mode = 1; mode <= settings::kModeCount; ++mode) {
    std::vector<buttons::MacroButton> followed;
    if (mode == blocks.activeMode) {
      // The active mode's names are on the labels, its bytes in the working block.
      Captions captions;
      for (std::size_t i = 0; i < captions.size(); ++i) {
        captions[i] = keys.Key[i].caption;
      }
      followed = buttons::FollowMacroPositions(captions, blocks.working, positionOf);
      blocks.StoreWorkingBlock();
    } else if (const std::optional<Captions> captions = savedCaptions(
                   settings::settingsFilePath(state_.ConfigDir, mode), codePage_, mode)) {
      followed = buttons::FollowMacroPositions(*captions, blocks.storedBlock(mode), positionOf);
    }
    for (buttons::MacroButton& button : followed) {
      named.push_back({mode, std::move(button)});
    }
  }
  return named;
}

std::optional<std::string> MainWindowModel::compileMacros() {
  for (const ModeMacroButton& named : FollowMacroLibrary()) {
    if (named.button.position >= macros::kMacroBlockCount) {
      return LoadMessageText(
          state_, i18n::Message::MacroButtonWithoutBlock,
          {std::to_string(named.mode), std::to_string(named.button.button), named.button.macro,
           std::to_string(named.button.position + 1), std::to_string(macros::kMacroBlockCount)});
    }
  }
  return macro.compileAll(macroBlocks_);
}

}  // namespace korvane::app
