// The start-up sequence of the main window and the loaders it calls.
#include <system_error>

#include "app/host.h"
#include "app/main_window_model.h"
#include "app/message_texts.h"
#include "files/file_io.h"
#include "i18n/language.h"
#include "settings/data_files.h"

namespace korvane::app {

void MainWindowModel::FormCreate() {
  // Counters and check-mark toggles start cleared.
  macroFileCounter_ = 0;

  // Page 1 is the one shown; the service panel is never shown again.
  page_MseKeys.visible = true;
  for (Panel* page : {&page_MseAdv, &page_Macro, &page_BreathLED, &page_About, &page_Device}) {
    page->visible = false;
  }

  // The folders of the folder rule (the window constants themselves are
  // the view's: size, colour key, no border, centred).
  state_.useResourceFolders(folders_);

  // Which mice to look for.
  vendorProductTable_ = device::defaultVendorProductTable();

  // The two theme files: settings-page sliders and function-menu sliders.
  themeFile1_ = state_.StartDir + "/VQX_A.sui";
  themeFile2_ = state_.StartDir + "/VQX_B.sui";

  // Skin images.
  LoadMainSkin();

  // Language and captions.
  ChooseLanguage();
  LoadMainTexts();
  LearnFunctionNames();

  // The user's files are made from the factory copies when missing, with the
  // default names in the language just loaded.
  // An installed program keeps them in the user's own folders, made at the
  // first start; a folder that cannot be made is reported once.
  if (createsLiveFiles_) {
    if (const auto missing = paths::createUserFolders(folders_)) {
      host_.messageBox(
          LoadMessageText(state_, i18n::Message::UnableToCreateFolder, {missing->string()}));
    }
    CreateMissingLiveFiles();
  }

  // The factory block.
  blocks.ResetToFactory();

  // GM.ini: mode names, the active mode (marked, not loaded), repeat settings.
  ReadGeneralFile();

  // Pending window messages run before the first page is shown.
  host_.pumpEvents();

  // The first page, as a click on its tab.
  ShowPage(1);

  // From here on a click on a mode panel loads that mode.
  state_.StartupDone = true;

  // The monitor's first tick comes one interval later.
  monitor_ = std::make_unique<device::ConnectionMonitor>(
      hid_, session_, vendorProductTable_, *link_, static_cast<device::LinkObserver&>(*this),
      hidChanges_);
  monitorRunning_ = true;

  // The modes, with the active one in the controls.
  LoadModeForEditing();

  // Pending window messages run again before the macros are read.
  host_.pumpEvents();

  // The macro folder of the folder rule; a portable one that cannot be
  // made leaves the macro lists empty, without a message.
  const bool haveMacroFolder =
      macroFolder_ ? state_.useMacroFolder(*macroFolder_) : state_.useRuleMacroFolder(folders_);

  // The macro library fills the macro lists.
  if (haveMacroFolder) {
    FillMacroLists();
  }
}

void MainWindowModel::ChooseLanguage() {
  // A locale other than the three keeps the code it had (empty at first).
  if (std::string code = i18n::languageCodeFromEnvironment(); !code.empty()) {
    languageCode_ = std::move(code);
  }
  // Settings and data files that are not UTF-8 come from the original
  // platform, written in the code page of the user's language.
  codePage_ = settings::CodePage::forLanguage(languageCode_);
}

void MainWindowModel::LoadModeForEditing() {
  for (int mode = 1; mode <= settings::kModeCount; ++mode) {
    const std::filesystem::path file = settings::dataFilePath(state_.DataDir, mode);
    if (files::isTooLargeToRead(file)) {
      reportTooLarge(file);
    }
  }
  settings::LoadModeForEditing(blocks, state_.DataDir, codePage_,
                               [this](int mode) { ReadSettingsFile(mode); });
  // The data files may hold positions from before the library last changed.
  FollowMacroLibrary();
}

void MainWindowModel::FillMacroLists() {
  macro.openLibrary(state_.MacroDir);
}

void MainWindowModel::HideFunctionMenu() {
  keys.HideFunctionMenu();
}

}  // namespace korvane::app
