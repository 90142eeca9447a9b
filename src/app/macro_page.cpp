#include "app/macro_page.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "app/app_state.h"
#include "app/host.h"
#include "app/message_texts.h"
#include "app/window_context.h"
#include "files/file_io.h"
#include "i18n/language.h"
#include "i18n/text_catalogue.h"
#include "macros/macro_file.h"
#include "settings/code_page.h"
#include "settings/ini_file.h"

namespace korvane::app {

namespace {

constexpr int kFeedbackMs = 200;     // button feedback after every command
constexpr int kSelectSettleMs = 10;  // after loading a selected macro
constexpr const char* kMacroFileFilter = "LoadFile(*.spm)|*.spm";

void place(SkinImage& image, Label& label, Rect where, const char* family,
           std::string_view caption) {
  image.geometry = where;
  image.family = family;
  image.kind = SkinKind::Command;
  label.geometry = where;
  label.caption = std::string(caption);
}

// What the name dialog says for a name it refuses.
i18n::Message nameProblemMessage(macros::NameProblem problem) {
  switch (problem) {
    case macros::NameProblem::Empty:
      return i18n::Message::MacroNameEmpty;
    case macros::NameProblem::AlreadyExists:
      return i18n::Message::MacroNameExists;
    case macros::NameProblem::Invalid:
      break;
  }
  return i18n::Message::MacroNameInvalid;
}

}  // namespace

MacroPage::MacroPage(WindowContext& context, const std::string& languageCode,
                     macros::MacroBlocks& blocks)
    : context_(context), languageCode_(languageCode), blocks_(blocks) {
  // Positions follow the wells and button slots of the page's background.
  macro_list.geometry = {16, 18, 130, 246};
  macro_content.geometry = {168, 18, 226, 150};
  Edt_ModifyTime.geometry = {172, 172, 52, 18};
  Edt_ModifyTime.text = "0";
  lbl_ms.geometry = {226, 172, 24, 18};
  lbl_ms.caption = "ms";
  // The meter's text sits above its bar, never under it.
  lbl_meter.geometry = {256, 170, 136, 14};
  lbl_result.geometry = {168, 346, 226, 16};

  place(img_load, lbl_load, {16, 272, 60, 24}, "macro_btn1", "载入");
  place(img_new, lbl_new, {86, 272, 60, 24}, "macro_btn1", "新建");
  place(img_save, lbl_save, {16, 300, 60, 24}, "macro_btn1", "确定");
  place(img_delete, lbl_delete, {86, 300, 60, 24}, "macro_btn1", "删除");
  place(img_cancel, lbl_cancle, {16, 328, 60, 24}, "macro_btn1", "取消");
  place(img_REC, lbl_REC, {168, 202, 112, 28}, "macro_btn2", i18n::kStartRecordingText);
  place(img_MseLeft, lbl_MseLeft, {282, 204, 112, 24}, "macro_btn3", "录制鼠标左键");
  place(img_MseRight, lbl_MseRight, {168, 234, 112, 24}, "macro_btn3", "录制鼠标右键");
  place(img_MseMid, lbl_MseMid, {282, 234, 112, 24}, "macro_btn3", "录制鼠标中键");
  place(img_delkey, lbl_delkey, {168, 262, 112, 24}, "macro_btn3", "删除录制单键");
  place(img_Time, lbl_Time, {282, 262, 112, 24}, "macro_btn3", "修改延迟时间");
  img_delay_i.family = "macro_btn4";
  img_delay_i.visible = false;
  img_delay_d.family = "macro_btn5";
  img_delay_d.visible = false;
  for (auto [label, caption] :
       {std::pair{&lbl_macro, "录制选项"}, std::pair{&lbl_name, "宏定义名称"},
        std::pair{&lbl_configure, "按键顺序"}, std::pair{&lbl_list, "选择宏"},
        std::pair{&lbl_delay, "加延迟时间"}, std::pair{&lbl_delay_d, "减延迟时间"}}) {
    label->caption = caption;
    label->visible = false;
  }

  lbl_cycle_max_check.geometry = {176, 298, 16, 20};
  lbl_cycle_max_check.caption = "√";
  lbl_cycle_max_check.visible = false;
  lbl_cycle_max.geometry = {194, 298, 90, 20};
  lbl_cycle_max.caption = "无限循环";
  lbl_cycle_check.geometry = {176, 322, 16, 20};
  lbl_cycle_check.caption = "√";
  lbl_cycle_check.visible = false;
  lbl_cycle.geometry = {194, 322, 130, 20};
  lbl_cycle.caption = "循环次数(1-9次)";
  edt_cycle.geometry = {330, 322, 24, 20};
  edt_cycle.text = "1";
  cbCycle_Max.visible = false;
  cbCycle.visible = false;
  updateMeter();
}

std::vector<MacroPage::Command> MacroPage::commands() {
  return {{&img_load, &lbl_load, &MacroPage::lbl_loadClick},
          {&img_new, &lbl_new, &MacroPage::lbl_newClick},
          {&img_save, &lbl_save, &MacroPage::lbl_saveClick},
          {&img_delete, &lbl_delete, &MacroPage::lbl_deleteClick},
          {&img_cancel, &lbl_cancle, &MacroPage::lbl_cancleClick},
          {&img_REC, &lbl_REC, &MacroPage::lbl_RECClick},
          {&img_MseLeft, &lbl_MseLeft, &MacroPage::lbl_MseLeftClick},
          {&img_MseRight, &lbl_MseRight, &MacroPage::lbl_MseRightClick},
          {&img_MseMid, &lbl_MseMid, &MacroPage::lbl_MseMidClick},
          {&img_delkey, &lbl_delkey, &MacroPage::lbl_delkeyClick},
          {&img_Time, &lbl_Time, &MacroPage::lbl_TimeClick}};
}

std::vector<NamedControl> MacroPage::namedControls() {
  return {{"macro_list", &macro_list},
          {"macro_content", &macro_content},
          {"Edt_ModifyTime", &Edt_ModifyTime},
          {"lbl_ms", &lbl_ms},
          {"lbl_meter", &lbl_meter},
          {"lbl_result", &lbl_result},
          {"img_load", &img_load},
          {"img_new", &img_new},
          {"img_save", &img_save},
          {"img_delete", &img_delete},
          {"img_cancel", &img_cancel},
          {"lbl_load", &lbl_load},
          {"lbl_new", &lbl_new},
          {"lbl_save", &lbl_save},
          {"lbl_delete", &lbl_delete},
          {"lbl_cancle", &lbl_cancle},
          {"img_REC", &img_REC},
          {"lbl_REC", &lbl_REC},
          {"img_MseLeft", &img_MseLeft},
          {"img_MseRight", &img_MseRight},
          {"img_MseMid", &img_MseMid},
          {"img_delkey", &img_delkey},
          {"img_Time", &img_Time},
          {"lbl_MseLeft", &lbl_MseLeft},
          {"lbl_MseRight", &lbl_MseRight},
          {"lbl_MseMid", &lbl_MseMid},
          {"lbl_delkey", &lbl_delkey},
          {"lbl_Time", &lbl_Time},
          {"img_delay_i", &img_delay_i},
          {"img_delay_d", &img_delay_d},
          {"lbl_macro", &lbl_macro},
          {"lbl_name", &lbl_name},
          {"lbl_configure", &lbl_configure},
          {"lbl_list", &lbl_list},
          {"lbl_delay", &lbl_delay},
          {"lbl_delay_d", &lbl_delay_d},
          {"lbl_cycle_max", &lbl_cycle_max},
          {"lbl_cycle_max_check", &lbl_cycle_max_check},
          {"lbl_cycle", &lbl_cycle},
          {"lbl_cycle_check", &lbl_cycle_check},
          {"cbCycle_Max", &cbCycle_Max},
          {"cbCycle", &cbCycle},
          {"edt_cycle", &edt_cycle}};
}

const AppState& MacroPage::state() const {
  return context_.state;
}

void MacroPage::openLibrary(const std::string& macroDir) {
  // Start-up has chosen the language by now; the meter redraws with every
  // key of a recording, so its words are read once.
  meterText_ = LoadMessageText(context_.state, i18n::Message::MacroMeter, {"%1", "%2"});
  library_ = macros::MacroLibrary(macroDir);
  reportError(library_.RebuildLibrary());
  editor_.clear();
  refreshLists();
  refreshContent();
  libraryChanged();
}

void MacroPage::libraryChanged() {
  if (context_.macroLibraryChanged) {
    context_.macroLibraryChanged();
  }
}

std::vector<std::string> MacroPage::rereadMacroNames() {
  std::error_code error;
  // A folder that cannot be made lists as an empty library.
  static_cast<void>(std::filesystem::create_directories(library_.folder(), error));
  const std::optional<std::string> selected = library_.selectedName();
  if (const std::optional<files::FileError> failure = library_.RebuildLibrary()) {
    reportError(failure);
    return library_.names();
  }
  const std::vector<std::string>& names = library_.names();
  const auto kept = selected ? std::find(names.begin(), names.end(), *selected) : names.end();
  if (kept != names.end()) {
    library_.select(static_cast<int>(kept - names.begin()));
  } else if (selected) {
    // The macro being edited is gone: its script has no file to go to.
    editor_.clear();
    refreshContent();
  }
  refreshLists();
  libraryChanged();
  return names;
}

void MacroPage::press(SkinImage& image, const std::function<void()>& command) {
  image.press(context_.state, command, [this] { context_.host.wait(kFeedbackMs); });
}

void MacroPage::reportError(const std::optional<std::string>& error) {
  if (error) {
    context_.host.messageBox(*error);
  }
}

void MacroPage::reportTooLarge(const std::filesystem::path& file) {
  context_.host.messageBox(LoadMessageText(context_.state, i18n::Message::FileTooLarge,
                                           {file.string(), files::kMaxFileSizeText}));
}

void MacroPage::reportError(const std::optional<files::FileError>& error) {
  reportError(fileErrorText(context_.state, error));
}

void MacroPage::save() {
  if (const std::optional<std::string> name = library_.currentMacro();
      keptFile_ && name && library_.fileOf(*name) == keptFile_->path) {
    reportError(keptFile_);
    return;
  }
  reportError(macros::SaveMacroScript(library_, editor_.script));
}

void MacroPage::refreshLists() {
  macro_list.items = library_.entries();
  macro_list.selected = library_.selected();
  lbl_new.enabled = library_.newEnabled();
  img_new.enabled = lbl_new.enabled;
}

void MacroPage::refreshContent() {
  macro_content.items.assign(static_cast<std::size_t>(editor_.entryCount), std::string());
  macro_content.selected = editor_.selected;
  updateMeter();
}

void MacroPage::updateMeter() {
  const auto usage = macros::measureMacroScript(editor_.script);
  if (usage.ok()) {
    meterBytes = usage.value().bytesUsed;
    meterFits = usage.value().fits;
  } else {
    meterBytes = 0;
    meterFits = false;
  }
  lbl_meter.caption = i18n::fillMessage(
      meterText_, {std::to_string(meterBytes), std::to_string(macros::kMacroBlockSize)});
}

bool MacroPage::haveCurrentMacro() {
  if (library_.currentMacro()) {
    return true;
  }
  context_.host.messageBox(LoadMessageText(context_.state, i18n::Message::NoCurrentMacro));
  return false;
}

std::optional<macros::EntryDrawing> MacroPage::contentDrawing(int entry) const {
  return macros::entryDrawing(editor_.script, entry);
}

// --- library -----------------------------------------------------------------

void MacroPage::macro_listClick(int entry) {
  stopRecording();
  if (!library_.select(entry)) {
    refreshLists();
    return;
  }
  editor_.clear();
  const std::optional<std::string> name = library_.selectedName();
  const macros::MacroFileRead file = macros::readMacroFile(library_.fileOf(*name));
  // An unreadable line stops the load there; what was read stays shown.
  editor_.load(file.script);
  keptFile_ = file.kept;
  if (file.tooLarge) {
    reportTooLarge(library_.fileOf(*name));
  } else {
    reportError(file.readError);
    reportError(file.error);
  }
  refreshLists();
  refreshContent();
  context_.host.pumpEvents();
  context_.host.wait(kSelectSettleMs);
}

void MacroPage::lbl_loadClick() {
  stopRecording();
  press(img_load, [this] {
    const std::optional<std::string> file = context_.host.chooseOpenFile(kMacroFileFilter);
    if (!file) {
      return;
    }
    if (files::isTooLargeToRead(*file)) {
      reportTooLarge(*file);
      return;
    }
    // A macro past the tenth would have no block in the mouse.
    const std::filesystem::path chosen(*file);
    if (chosen.extension() == macros::kMacroFileExtension &&
        !library_.hasRoomFor(chosen.stem().string())) {
      context_.host.messageBox(LoadMessageText(context_.state, i18n::Message::MacroLibraryFull,
                                               {std::to_string(macros::kMacroBlockCount)}));
      return;
    }
    reportError(library_.loadFrom(*file));
    refreshLists();
    libraryChanged();
  });
}

void MacroPage::lbl_newClick() {
  if (!lbl_new.enabled) {
    return;
  }
  stopRecording();
  bool created = false;
  press(img_new, [this, &created] {
    const Host::NameDialogResult result =
        context_.host.macroNameDialog([this](const std::string& name) {
          const macros::NewMacroOutcome outcome = library_.createMacro(name);
          if (outcome.refused) {
            context_.host.messageBox(
                LoadMessageText(context_.state, nameProblemMessage(*outcome.refused)));
            return false;
          }
          if (outcome.error) {
            context_.host.messageBox(fileErrorText(context_.state, *outcome.error));
            return false;
          }
          return true;
        });
    // A cancelled dialog names no macro: an edit while nothing is selected
    // then has no file to go to, instead of one the list does not show.
    if (!result.accepted) {
      library_.setTypedName({});
    }
    created = result.accepted;
  });
  if (created) {
    editor_.clear();
    libraryChanged();
    keptFile_.reset();
  }
  refreshLists();
  refreshContent();
}

void MacroPage::lbl_saveClick() {
  stopRecording();
  press(img_save, [this] {
    const macros::CompileOutcome outcome = compileAll(blocks_, repeatOption());
    lbl_result.caption = compileResultText(outcome);
    if (outcome.error) {
      reportError(compileErrorText(context_.state, *outcome.error));
    }
  });
}

void MacroPage::lbl_deleteClick() {
  stopRecording();
  press(img_delete, [this] {
    const std::optional<files::FileError> failure = library_.deleteSelected();
    reportError(failure);
    editor_.clear();
    if (!failure) {
      keptFile_.reset();
    }
    refreshLists();
    refreshContent();
    libraryChanged();
  });
}

void MacroPage::lbl_cancleClick() {
  press(img_cancel, {});
}

macros::CompileOutcome MacroPage::compileAll(macros::MacroBlocks& blocks,
                                             const macros::RepeatOption& repeat) const {
  return macros::CompileAllMacros(library_.folder(), library_.names(), repeat, blocks);
}

std::string MacroPage::compileResultText(const macros::CompileOutcome& outcome) const {
  const std::string blockSize = std::to_string(macros::kMacroBlockSize);
  if (outcome.error) {
    const macros::CompileError& error = *outcome.error;
    if (error.kind == macros::CompileError::Kind::TooLong) {
      return LoadMessageText(context_.state, i18n::Message::MacroDoesNotFitShort,
                             {error.macroName, std::to_string(error.bytesNeeded), blockSize});
    }
    return LoadMessageText(context_.state, i18n::Message::MacroNotCompiledShort, {error.macroName});
  }
  if (outcome.written.empty()) {
    return LoadMessageText(context_.state, i18n::Message::NoMacrosCompiled);
  }
  std::size_t largest = 0;
  for (const macros::CompiledMacro& compiled : outcome.written) {
    largest = std::max(largest, compiled.bytesUsed);
  }
  return LoadMessageText(
      context_.state, i18n::Message::MacrosCompiled,
      {std::to_string(outcome.written.size()), std::to_string(largest), blockSize});
}

std::optional<std::string> MacroPage::compileAll(macros::MacroBlocks& blocks) {
  const macros::CompileOutcome outcome = compileAll(blocks, repeatOption());
  if (outcome.error) {
    return compileErrorText(context_.state, *outcome.error);
  }
  return std::nullopt;
}

// --- editor ------------------------------------------------------------------

void MacroPage::attachKeyboard(macros::KeySource& source, macros::Clock& clock) {
  keySource_ = &source;
  recorder_.setClock(&clock);
}

std::optional<MacroPage::RecordingTexts> MacroPage::recordingTexts(bool reportMissingFile) {
  RecordingTexts texts{std::string(i18n::kStartRecordingText),
                       std::string(i18n::kStopRecordingText)};
  if (languageCode_.empty()) {
    return texts;
  }
  const auto file = i18n::languageFile(context_.state.LanguageDir, languageCode_);
  if (!file || !files::isRegularFile(file->path)) {
    if (!reportMissingFile) {
      return texts;
    }
    if (auto message = i18n::missingLanguageFileMessage(languageCode_)) {
      context_.host.messageBox(*message);
    }
    return std::nullopt;
  }
  const settings::IniFile ini =
      settings::IniFile::load(file->path, settings::CodePage::forLanguage(languageCode_));
  // A file without one of the texts keeps the built-in one: the toggle never
  // goes blank.
  for (auto [key, text] : {std::pair{i18n::kStartRecordingKey, &texts.start},
                           std::pair{i18n::kStopRecordingKey, &texts.stop}}) {
    std::string read = ini.readString(file->section, key);
    if (!read.empty()) {
      *text = std::move(read);
    }
  }
  return texts;
}

void MacroPage::lbl_RECClick() {
  press(img_REC, [this] {
    if (recording_) {
      stopRecording();
    } else {
      startRecording();
    }
  });
}

void MacroPage::startRecording() {
  if (!haveCurrentMacro()) {
    return;
  }
  const std::optional<RecordingTexts> texts = recordingTexts(true);
  if (!texts) {
    return;
  }
  if (keySource_ == nullptr || !keySource_->startCapture()) {
    context_.host.messageBox(LoadMessageText(context_.state, i18n::Message::KeyboardUnavailable));
    return;
  }
  recorder_.startRecording();
  // No key is down as far as the recording knows: keys went to other
  // programs until now.
  KeyboardHook1.downCounter = 0;
  beforeRecording_ = editor_;
  editor_.clear();
  refreshContent();
  recording_ = true;
  lbl_REC.caption = texts->stop;
  watching_ = true;
  context_.host.pumpEvents();
  KeyboardHook1.Enabled = recording_;
}

void MacroPage::stopRecording() {
  if (!recording_) {
    return;
  }
  recording_ = false;
  KeyboardHook1.Enabled = false;
  watching_ = false;
  keySource_->stopCapture();
  recorder_.stopRecording();
  // Line 0 is the header.
  const bool captured =
      std::any_of(editor_.script.begin() + std::min<std::ptrdiff_t>(1, std::ssize(editor_.script)),
                  editor_.script.end(), [](const std::string& line) {
                    const macros::LineKind kind = macros::lineKind(line);
                    return kind == macros::LineKind::Press || kind == macros::LineKind::Release;
                  });
  if (!captured && beforeRecording_) {
    // No key was captured (at most the pauses around modifiers the key watch
    // could not name): the macro, its list and its file stay as they were.
    editor_ = *beforeRecording_;
  } else {
    save();
  }
  beforeRecording_.reset();
  refreshContent();
  if (const std::optional<RecordingTexts> texts = recordingTexts(false)) {
    lbl_REC.caption = texts->start;
  }
  context_.host.pumpEvents();
}

void MacroPage::keyEvent(const macros::KeyEvent& event) {
  const macros::TKeyboardHookState state =
      event.down ? KeyboardHook1.keyDown() : KeyboardHook1.keyUp();
  bool tenthRelease = false;
  if (KeyboardHook1.Enabled) {
    tenthRelease = recorder_.KeyboardHook1Receive(editor_, event.virtualKey, state);
  }
  if (watching_) {
    recorder_.Watch1KeyNative(editor_, event.virtualKey, macros::decodeKeyInfo(event.flags));
  }
  refreshContent();
  // The stop comes after the key watch, so a modifier released last still
  // gets its line into the saved macro.
  if (tenthRelease && recording_) {
    lbl_RECClick();
    // Said on the page, not in a box the next typed key could dismiss.
    lbl_result.caption = LoadMessageText(context_.state, i18n::Message::RecordingEndedAtLimit,
                                         {std::to_string(macros::kReleasesPerRecording)});
    context_.host.pumpEvents();
  }
}

void MacroPage::insertClick(macros::MouseButton button) {
  if (!haveCurrentMacro()) {
    return;
  }
  macros::insertMouseClick(editor_, button);
  refreshContent();
}

void MacroPage::lbl_MseLeftClick() {
  press(img_MseLeft, [this] { insertClick(macros::MouseButton::Left); });
}

void MacroPage::lbl_MseRightClick() {
  press(img_MseRight, [this] { insertClick(macros::MouseButton::Right); });
}

void MacroPage::lbl_MseMidClick() {
  press(img_MseMid, [this] { insertClick(macros::MouseButton::Middle); });
}

void MacroPage::lbl_delkeyClick() {
  press(img_delkey, [this] {
    if (haveCurrentMacro() && macros::removeSelectedKeyGroup(editor_)) {
      save();
      refreshContent();
    }
  });
}

void MacroPage::lbl_TimeClick() {
  if (!haveCurrentMacro()) {
    return;
  }
  if (macros::setSelectedDelay(editor_, macros::delayEditValue(Edt_ModifyTime.text))) {
    save();
    refreshContent();
  }
}

void MacroPage::macro_contentClick(int entry) {
  if (entry >= 0 && entry < editor_.entryCount) {
    editor_.selected = entry;
    macro_content.selected = entry;
  }
}

void MacroPage::Edt_ModifyTimeChange(const std::string& proposed) {
  if (const std::optional<std::string> text = macros::delayEditText(proposed)) {
    Edt_ModifyTime.text = *text;
  }
}

void MacroPage::edt_cycleChange(const std::string& proposed) {
  if (proposed.size() > macros::kCycleCountMaxLength) {
    return;
  }
  for (char key : proposed) {
    if (!macros::cycleEditAcceptsKey(key)) {
      return;
    }
  }
  edt_cycle.text = proposed;
}

// --- repeat option ------------------------------------------------------------

macros::RepeatOption MacroPage::repeatOption() const {
  // The compiler reads the hidden mirrors and the count.
  macros::RepeatOption option;
  option.endless = cbCycle_Max.checked;
  option.counted = cbCycle.checked;
  option.count = edt_cycle.text;
  option.countEnabled = edt_cycle.enabled;
  return option;
}

void MacroPage::applyRepeat(const macros::RepeatOption& option) {
  repeat_ = option;
  lbl_cycle_max_check.visible = option.endless;
  cbCycle_Max.checked = option.endless;
  lbl_cycle_check.visible = option.counted;
  cbCycle.checked = option.counted;
  edt_cycle.enabled = option.countEnabled;
}

void MacroPage::lbl_cycle_maxClick() {
  macros::RepeatOption option = repeat_;
  option.countEnabled = edt_cycle.enabled;
  option.lbl_cycle_maxClick();
  applyRepeat(option);
}

void MacroPage::lbl_cycleClick() {
  macros::RepeatOption option = repeat_;
  option.countEnabled = edt_cycle.enabled;
  option.lbl_cycleClick();
  applyRepeat(option);
}

}  // namespace korvane::app
