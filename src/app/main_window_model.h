#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_state.h"
#include "app/control_registry.h"
#include "app/controls.h"
#include "app/function_names.h"
#include "app/keys_page.h"
#include "app/lighting_page.h"
#include "app/macro_page.h"
#include "app/mode_panels.h"
#include "app/pointer_page.h"
#include "app/sensitivity_page.h"
#include "app/window_context.h"
#include "buttons/macro_buttons.h"
#include "device/apply.h"
#include "device/device_session.h"
#include "device/discovery.h"
#include "device/monitor.h"
#include "device/protocol.h"
#include "i18n/text_catalogue.h"
#include "paths/folders.h"
#include "settings/code_page.h"
#include "settings/mode_block.h"

namespace korvane::device {
class HidBackend;
class HidChangeWatch;
}  // namespace korvane::device

namespace korvane::app {

class Host;

inline constexpr int kPageCount = 5;
inline constexpr int kMonitorIntervalMs = 2500;
inline constexpr const char* kWindowTitle = "KorvaneDriver v1.0";
inline constexpr const char* kApplicationTitle = "Dravik游戏鼠驱动";

// The main window as data: every control's state and the handlers of its
// events. The Qt window draws this and forwards events; tests drive it
// directly.
class MainWindowModel : private device::LinkObserver, private device::ApplyHooks {
 public:
  MainWindowModel(Host& host, device::HidBackend& hid, settings::PointerSettingsSink& pointerSink,
                  const std::filesystem::path& startDir,
                  const std::filesystem::path& executablePath);
  // With the folders the folder rule decided (portable or installed).
  MainWindowModel(Host& host, device::HidBackend& hid, settings::PointerSettingsSink& pointerSink,
                  paths::Folders folders);
  ~MainWindowModel() override;
  MainWindowModel(const MainWindowModel&) = delete;
  MainWindowModel& operator=(const MainWindowModel&) = delete;

  // --- window events -------------------------------------------------------
  void FormCreate();    // the start-up sequence
  void FormActivate();  // every activation allows saving
  // Saves GM.ini and lets the window close; during a command it only asks
  // the command to stop, and the window closes when the command has ended.
  bool FormCloseQuery();
  void btnMinimizeClick();
  void btnCloseClick();
  void Btn_ExitClick();
  void img_baseMouseDown();  // drags the borderless window
  // The connection monitor's tick; during a command it waits for its end.
  // True when it changed what the window shows (a change was accepted).
  bool DetectHIDDeviceCounterTimer();
  // NotStarted while another command runs.
  device::ApplyOutcome ApplyClick();
  void SaveConfClick();
  void DefaultSettingClick();  // also the click on TntLabel13
  // The mode menu's "Save As Name": renames the active mode.
  void MenuNameClick();

  // --- pages -----------------------------------------------------------------
  void ShowPage(int tab);                  // click on tab 1..5
  void SetTitleState(int tab, int state);  // title_base_<state> into the tab's bar
  void pageTabEnter(int tab);
  void pageTabLeave(int tab);
  int visiblePage() const;  // tab whose page is shown, 0 if none
  Panel& pageOfTab(int tab);
  const Panel& pageOfTab(int tab) const;

  // --- start-up steps ------------------------------------------------------
  void LoadMainSkin();
  void ChooseLanguage();
  void LoadMainTexts();
  // Every key LoadMainTexts reads, in reading order: the language catalogue
  // with the function menu's rows and entries in place.
  static const std::vector<i18n::TextRow>& textCatalogue();
  void ReadGeneralFile();
  // A settings, data or language file too large to read: the user is told,
  // and the file counts as missing.
  void reportTooLarge(const std::filesystem::path& file);
  std::optional<std::string> WriteGeneralFile();
  std::filesystem::path generalFilePath() const;
  // Each returns the message for a write the system refused; nothing is
  // written while saving is suppressed.
  std::optional<std::string> WriteSettingsFile(int mode);
  std::optional<std::string> WriteDataFile(int mode);
  void ReadSettingsFile(int mode);
  // Start-up, after LoadMainTexts: the functions' names of the three
  // language files and the built-in texts, each with the text the window
  // now shows for it.
  void LearnFunctionNames();
  // The live files (GM.ini, the settings and the data files) with their
  // factory copies, in the order the factory reset restores them.
  std::vector<std::pair<std::filesystem::path, std::filesystem::path>> factoryFilePairs() const;
  // Writes `live` from `factory`, with the default button and mode names in
  // the user-interface language. Returns the message for a refused write.
  std::optional<std::string> CopyFactoryFile(const std::filesystem::path& live,
                                             const std::filesystem::path& factory);
  // Start-up: every live file that is missing is made from its factory copy.
  void CreateMissingLiveFiles();
  // For korvanectl, which writes no file it was not asked to write: start-up
  // reads the live files as they are and makes none that is missing.
  void keepLiveFilesAsTheyAre() { createsLiveFiles_ = false; }
  void LoadModeForEditing();
  // Every button of the five modes that plays a macro and whose name is a
  // library macro's gets that macro's position (the active mode's in the
  // working block too); the others keep theirs. Run whenever the library
  // changes, after the load step and before Apply writes anything.
  struct ModeMacroButton {
    int mode = 0;
    buttons::MacroButton button;
  };
  std::vector<ModeMacroButton> FollowMacroLibrary();
  void FillMacroLists();
  void HideFunctionMenu();

  // --- device-dependent controls ------------------------------------------
  std::vector<Control*> deviceControls();
  // Enabling follows the connection: without a mouse the labels stay off.
  void setCommandLabelsEnabled(bool enabled) override;
  // Apply, the factory reset or Save is running; no other command starts.
  bool commandRunning() const { return commandRunning_; }

  // --- queries ---------------------------------------------------------------
  // Of settings and data files not in UTF-8: the user's language's code page.
  const settings::CodePage& codePage() const { return codePage_; }
  // "CHS", "CHT", "ENU", or empty for another locale.
  const std::string& languageCode() const { return languageCode_; }
  // The ten macro blocks as the last compile left them (Apply, or a macro saved).
  const macros::MacroBlocks& macroBlocks() const { return macroBlocks_; }
  // DetectHIDDeviceCounter is switched on.
  bool monitorRunning() const { return monitorRunning_; }
  // Theme files handed to the two theme components: the settings pages'
  // sliders and the function menu's.
  const std::string& themeFile1() const { return themeFile1_; }
  const std::string& themeFile2() const { return themeFile2_; }
  // The language file's text for a hidden check box of the pointer page
  // ("cb_msespeed"); nothing when no language file gave it one.
  std::optional<std::string> checkBoxText(std::string_view name) const;

  // The folders and the start-up flags (SaveSuppressed, StartupDone).
  const AppState& state() const { return state_; }
  // The folders of the folder rule, as start-up takes them: korvanectl needs
  // them for a message before it starts the model.
  void useResourceFolders() { state_.useResourceFolders(folders_); }

  // The mouse's link: ids, handles, firmware version, the failed-transfer flag.
  const device::DeviceSession& session() const { return session_; }
  // A run of reads starts with no failed transfer recorded.
  void clearTransferFailure() { session_.TransferFailed = false; }
  // korvanectl's backup: the block the mouse holds becomes the mode's stored
  // block and its data file is written. Returns the message for a refused write.
  std::optional<std::string> keepModeFromMouse(int mode, const settings::ModeBlock& block);

  // The six mode blocks: the working block the controls edit, the five stored
  // blocks and the active mode.
  settings::ModeBlocks blocks;

 private:
  // Declared before the pages, which keep references to them.
  AppState state_;
  device::DeviceSession session_;
  settings::CodePage codePage_;
  std::string languageCode_;
  // The shipped (Simplified Chinese) button and mode names with the texts the
  // language file gives them; filled by LoadMainTexts.
  std::map<std::string, std::string, std::less<>> nameTexts_;
  // Every language's names of the functions, for the buttons of a loaded
  // mode; filled by LearnFunctionNames.
  FunctionNames functionNames_;
  WindowContext context_;
  device::VendorProductTable vendorProductTable_{};
  bool monitorRunning_ = false;
  macros::MacroBlocks macroBlocks_{};
  int macroFileCounter_ = 0;
  std::string themeFile1_;
  std::string themeFile2_;
  bool createsLiveFiles_ = true;
  // The texts of the pointer page's hidden check boxes, by name: set from the
  // language file, never shown.
  std::map<std::string, std::string, std::less<>> checkBoxTexts_;

 public:
  // --- controls --------------------------------------------------------------
  Image img_base;
  Label TntLabel13;
  Label btnMinimize;
  Label btnClose;
  Label lbl_version;
  Label lbl_Ver;
  // Why a device with the mouse's ids was not connected; hidden otherwise.
  Label lbl_DeviceStatus;

  std::array<Panel, kPageCount> pnl_page{};
  std::array<Label, kPageCount> lbl_title{};
  std::array<Image, kPageCount> img_title{};

  Panel page_MseKeys;
  Panel page_Macro;
  Panel page_About;
  Panel page_BreathLED;
  Panel page_MseAdv;
  Panel page_Device;
  std::array<Image, kPageCount> img_page{};  // img_page1..5

  KeysPage keys{context_};  // page_MseKeys: buttons and the function menu
  ModePanels modes{context_};
  SensitivityPage sensitivity{context_};                   // page_About
  LightingPage lighting{context_};                         // page_BreathLED
  PointerPage pointer;                                     // page_MseAdv
  MacroPage macro{context_, languageCode_, macroBlocks_};  // page_Macro

  Label SaveConf;
  Label Apply;
  Label Btn_Exit;
  Label DefaultSetting;
  Label MenuName;  // the mode menu's one item

  device::ConnectionMonitor* monitor() { return monitor_.get(); }
  device::DeviceLink& deviceLink() { return *link_; }
  // Start-up takes the macros from this folder instead of the one beside
  // the executable (korvanectl's --macro-dir).
  void useMacroFolder(std::filesystem::path folder) { macroFolder_ = std::move(folder); }
  // Before FormCreate: the monitor then enumerates only after the system
  // reported HID interfaces coming or going.
  void watchHidChanges(device::HidChangeWatch* watch) { hidChanges_ = watch; }

  // Look up a control by its name ("pnl_page3", "Key12", "MouseMode" ...);
  // nullptr when the window has none of that name.
  Control* find(std::string_view name) const { return controls_.find(name); }
  // The same as the kind asked for (find<Label>("Key3")); a control of
  // another kind throws std::logic_error.
  template <class Kind>
  Kind* find(std::string_view name) const {
    return controls_.find<Kind>(name);
  }

 private:
  void layOutControls();
  void registerControls();
  // Where a catalogue row's text goes; nullptr when the window has no such control.
  std::string* textOf(const i18n::TextRow& row);
  void disableDeviceControls() override;
  void enableDeviceControls() override;
  void firmwareVersionChanged(const std::string& versionText) override;
  void mismatchChanged(const std::optional<device::ProtocolMismatch>& mismatch) override;
  std::optional<std::string> compileMacros() override;
  std::optional<std::string> applyPointerSettings() override;
  void showMessage(const std::string& text) override;
  void reportDisconnected(const device::UnwrittenWrites& unwritten) override;
  bool stopRequested() override;

  // Runs one command with the others, the monitor's tick and a close held
  // back until it ends; a command started inside another does not run.
  void runCommand(const std::function<void()>& command);
  device::ApplyOutcome runApply();
  void saveActiveMode();
  void factoryReset();
  void reportFailure(const device::ApplyFailure& failure) override;

  Host& host_;
  device::HidBackend& hid_;
  paths::Folders folders_;
  device::HidChangeWatch* hidChanges_ = nullptr;
  std::optional<std::filesystem::path> macroFolder_;
  std::unique_ptr<device::DeviceLink> link_;
  std::unique_ptr<device::ConnectionMonitor> monitor_;
  ControlRegistry controls_;
  bool deviceControlsOn_ = false;
  bool commandRunning_ = false;
  bool tickDeferred_ = false;
  bool closeRequested_ = false;
};

}  // namespace korvane::app
