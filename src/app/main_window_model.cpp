#include "app/main_window_model.h"

#include <utility>

#include "app/device_messages.h"
#include "app/host.h"
#include "app/message_texts.h"
#include "device/hid_backend.h"
#include "files/file_io.h"

namespace korvane::app {

namespace {

constexpr std::array<const char*, kPageCount> kTabCaptions = {"按键设置", "宏管理", "灵敏度设置",
                                                              "灯光设置", "系统设置"};
constexpr std::array<int, kPageCount> kTabX = {420, 492, 562, 640, 710};
constexpr int kTabY = 96;
constexpr int kTabWidth = 69;
constexpr int kWideTabWidth = 78;  // tab 3 carries the longest caption
constexpr int kTabHeight = 36;
constexpr Rect kTitleLabelInTab = {6, 7, 60, 17};
constexpr Rect kTitleBarInTab = {6, 24, 52, 7};
constexpr int kPageX = 418;
constexpr int kPageY = 149;
constexpr int kPageHeight = 376;

std::string numbered(const char* prefix, std::size_t index) {
  return prefix + std::to_string(index + 1);
}

}  // namespace

MainWindowModel::MainWindowModel(Host& host, device::HidBackend& hid,
                                 settings::PointerSettingsSink& pointerSink,
                                 const std::filesystem::path& startDir,
                                 const std::filesystem::path& executablePath)
    : MainWindowModel(host, hid, pointerSink, paths::portableFolders(startDir, executablePath)) {}

MainWindowModel::MainWindowModel(Host& host, device::HidBackend& hid,
                                 settings::PointerSettingsSink& pointerSink, paths::Folders folders)
    : context_{host,
               state_,
               blocks,
               [this] { keys.HideFunctionMenu(); },
               [this] { keys.ClearSelection(); },
               [this] { LoadModeForEditing(); },
               [this] { return macro.rereadMacroNames(); },
               [this] { FollowMacroLibrary(); }},
      pointer(pointerSink),
      host_(host),
      hid_(hid),
      folders_(std::move(folders)),
      link_(std::make_unique<device::DeviceLink>(session_, host)) {
  layOutControls();
  registerControls();
  // The window design starts every device-dependent control disabled.
  for (Control* control : deviceControls()) {
    control->enabled = false;
  }
}

MainWindowModel::~MainWindowModel() = default;

void MainWindowModel::layOutControls() {
  img_base.geometry = kMainWindowArea;
  TntLabel13.geometry = {66, 107, 259, 19};
  TntLabel13.caption = "GAMING MECHANICAL MOUSE V1.0";
  btnMinimize.geometry = {784, 53, 18, 18};
  btnMinimize.caption = "-";
  btnClose.geometry = {808, 53, 18, 18};
  btnClose.caption = "X";
  // Both lie right of the visible edge; the text only matters to the layout.
  lbl_version.geometry = {912, 72, 110, 25};
  lbl_version.caption = "lbl_version";
  lbl_Ver.geometry = {912 + 110, 72, 90, 25};
  // Under the mouse picture, across the left panel.
  lbl_DeviceStatus.geometry = {46, 528, 336, 36};
  lbl_DeviceStatus.visible = false;

  for (std::size_t i = 0; i < kPageCount; ++i) {
    const int width = i == 2 ? kWideTabWidth : kTabWidth;
    pnl_page[i].geometry = {kTabX[i], kTabY, width, kTabHeight};
    lbl_title[i].geometry = kTitleLabelInTab;
    lbl_title[i].caption = kTabCaptions[i];
    img_title[i].geometry = kTitleBarInTab;
  }

  page_MseKeys.geometry = {kPageX, kPageY, 418, kPageHeight};
  page_Macro.geometry = {kPageX, kPageY, 418, kPageHeight};
  page_About.geometry = {kPageX, kPageY, 418, kPageHeight};
  page_BreathLED.geometry = {kPageX, kPageY, 418, kPageHeight};
  page_MseAdv.geometry = {kPageX, kPageY, 418, kPageHeight};
  page_Device.geometry = {kPageX, kPageY, 666, kPageHeight};
  for (Image& image : img_page) {
    image.geometry = {0, 0, 418, 362};
  }

  SaveConf.geometry = {424, 540, 68, 38};
  SaveConf.caption = "保 存";
  Apply.geometry = {496, 540, 60, 38};
  Apply.caption = "确 定";
  Btn_Exit.geometry = {560, 540, 64, 38};
  Btn_Exit.caption = "退 出";
  DefaultSetting.geometry = {630, 540, 126, 38};
  DefaultSetting.caption = "恢复出厂值";
  MenuName.caption = "Save As Name";
}

void MainWindowModel::registerControls() {
  const std::vector<NamedControl> window = {{"img_base", &img_base},
                                            {"TntLabel13", &TntLabel13},
                                            {"btnMinimize", &btnMinimize},
                                            {"btnClose", &btnClose},
                                            {"lbl_version", &lbl_version},
                                            {"lbl_Ver", &lbl_Ver},
                                            {"lbl_DeviceStatus", &lbl_DeviceStatus},
                                            {"page_MseKeys", &page_MseKeys},
                                            {"page_Macro", &page_Macro},
                                            {"page_About", &page_About},
                                            {"page_BreathLED", &page_BreathLED},
                                            {"page_MseAdv", &page_MseAdv},
                                            {"page_Device", &page_Device},
                                            {"SaveConf", &SaveConf},
                                            {"Apply", &Apply},
                                            {"Btn_Exit", &Btn_Exit},
                                            {"DefaultSetting", &DefaultSetting}};
  controls_.add(window);
  for (std::size_t i = 0; i < kPageCount; ++i) {
    controls_.add(numbered("pnl_page", i), &pnl_page[i]);
    controls_.add(numbered("lbl_title", i), &lbl_title[i]);
    controls_.add(numbered("img_title", i), &img_title[i]);
    controls_.add(numbered("img_page", i), &img_page[i]);
  }
  for (std::size_t i = 0; i < keys.Key.size(); ++i) {
    controls_.add(numbered("Key", i), &keys.Key[i]);
  }

  for (std::size_t i = 0; i < kModePanelCount; ++i) {
    controls_.add(numbered("pnl_mode", i), &modes.pnl_mode[i]);
    controls_.add(ModePanels::kLabelNames[i], &modes.label[i]);
    controls_.add(numbered("img_mode", i), &modes.img_mode[i]);
  }
  for (const auto& named : {sensitivity.namedControls(), lighting.namedControls(),
                            pointer.namedControls(), keys.namedControls(), macro.namedControls()}) {
    controls_.add(named);
  }
}

std::vector<Control*> MainWindowModel::deviceControls() {
  std::vector<Control*> controls;
  for (std::size_t i = 0; i < kPageCount; ++i) {
    controls.insert(controls.end(), {&pnl_page[i], &lbl_title[i], &img_title[i]});
  }
  for (Label& key : keys.Key) {
    controls.push_back(&key);
  }
  for (std::size_t i = 0; i < kModePanelCount; ++i) {
    controls.insert(controls.end(), {&modes.pnl_mode[i], &modes.label[i], &modes.img_mode[i]});
  }
  controls.insert(controls.end(), {&SaveConf, &DefaultSetting, &Btn_Exit, &Apply});
  return controls;
}

void MainWindowModel::setCommandLabelsEnabled(bool enabled) {
  for (Label* label : {&SaveConf, &DefaultSetting, &Btn_Exit, &Apply}) {
    label->enabled = enabled && deviceControlsOn_;
  }
}

void MainWindowModel::disableDeviceControls() {
  deviceControlsOn_ = false;
  lbl_Ver.caption.clear();
  for (Control* control : deviceControls()) {
    control->enabled = false;
  }
}

void MainWindowModel::enableDeviceControls() {
  deviceControlsOn_ = true;
  for (Control* control : deviceControls()) {
    control->enabled = true;
  }
}

void MainWindowModel::firmwareVersionChanged(const std::string& versionText) {
  // The version text sits directly right of its caption label.
  lbl_Ver.geometry.x = lbl_version.geometry.x + lbl_version.geometry.width;
  lbl_Ver.caption = versionText;
}

void MainWindowModel::mismatchChanged(const std::optional<device::ProtocolMismatch>& mismatch) {
  lbl_DeviceStatus.caption = mismatch ? NotConnectedMessage(state_, *mismatch) : std::string();
  lbl_DeviceStatus.visible = mismatch.has_value();
}

// --- window chrome -----------------------------------------------------------

void MainWindowModel::FormActivate() {
  state_.SaveSuppressed = false;
}

bool MainWindowModel::FormCloseQuery() {
  if (commandRunning_) {
    closeRequested_ = true;
    return false;
  }
  // No keyboard grab and no half-recorded macro outlive the window.
  macro.stopRecording();
  if (const std::optional<std::string> error = WriteGeneralFile()) {
    host_.messageBox(*error);
  }
  host_.pumpEvents();
  return true;
}

void MainWindowModel::btnMinimizeClick() {
  macro.stopRecording();
  host_.minimizeApplication();
}

void MainWindowModel::btnCloseClick() {
  host_.closeMainWindow();
}

void MainWindowModel::Btn_ExitClick() {
  host_.closeMainWindow();
}

void MainWindowModel::img_baseMouseDown() {
  host_.startWindowDrag();
}

// --- device --------------------------------------------------------------

bool MainWindowModel::DetectHIDDeviceCounterTimer() {
  // A tick inside a command's pause would switch the controls, the commands
  // among them, under the running command.
  if (commandRunning_) {
    tickDeferred_ = true;
    return false;
  }
  return monitor_ && monitor_->tick();
}

void MainWindowModel::runCommand(const std::function<void()>& command) {
  // The busy window is not modal and the pauses run window messages, so a
  // click can arrive here in the middle of another command.
  if (commandRunning_) {
    return;
  }
  commandRunning_ = true;
  command();
  commandRunning_ = false;

  if (closeRequested_) {
    closeRequested_ = false;
    tickDeferred_ = false;
    host_.hideBusy();
    host_.closeMainWindow();
    return;
  }
  if (tickDeferred_) {
    tickDeferred_ = false;
    DetectHIDDeviceCounterTimer();
  }
}

device::ApplyOutcome MainWindowModel::ApplyClick() {
  device::ApplyOutcome outcome = device::ApplyOutcome::NotStarted;
  runCommand([this, &outcome] {
    macro.stopRecording();
    outcome = runApply();
  });
  return outcome;
}

device::ApplyOutcome MainWindowModel::runApply() {
  return device::Apply(*link_, host_, *this, blocks.stored, blocks.activeMode, macroBlocks_);
}

void MainWindowModel::reportDisconnected(const device::UnwrittenWrites& unwritten) {
  // The handles are dead; the controls follow at once, and the next tick
  // looks for the mouse again.
  if (monitor_) {
    monitor_->dropSession();
  } else {
    disableDeviceControls();
  }
  if (!closeRequested_) {
    host_.messageBox(NotWrittenMessage(state_, unwritten));
  }
}

bool MainWindowModel::stopRequested() {
  return closeRequested_;
}

std::optional<std::string> MainWindowModel::applyPointerSettings() {
  pointer.applyToSystem();
  return fileErrorText(state_, pointer.lastError());
}

void MainWindowModel::reportTooLarge(const std::filesystem::path& file) {
  host_.messageBox(LoadMessageText(state_, i18n::Message::FileTooLarge,
                                   {file.string(), files::kMaxFileSizeText}));
}

void MainWindowModel::showMessage(const std::string& text) {
  host_.messageBox(text);
}

void MainWindowModel::reportFailure(const device::ApplyFailure& failure) {
  host_.messageBox(applyFailureText(state_, failure));
}

}  // namespace korvane::app
