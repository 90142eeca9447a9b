#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/control_registry.h"
#include "app/controls.h"
#include "app/skin_image.h"
#include "i18n/messages.h"
#include "macros/compiler.h"
#include "macros/key_source.h"
#include "macros/key_table.h"
#include "macros/library.h"
#include "macros/recorder.h"
#include "macros/script.h"

namespace korvane::app {

struct WindowContext;

// The macro page: the library of macro files on the left, the script editor
// of the current macro on the right, the repeat option below it.
class MacroPage {
 public:
  // `blocks` are the program's ten macro blocks: the confirm command compiles
  // into them, and Apply sends them.
  MacroPage(WindowContext& context, const std::string& languageCode, macros::MacroBlocks& blocks);

  // Start-up: the folder beside the program, and the lists filled from it.
  void openLibrary(const std::string& macroDir);
  // The keyboard a recording takes and the clock that times its pauses.
  // Without a key source a recording cannot start.
  void attachKeyboard(macros::KeySource& source, macros::Clock& clock);

  // --- library commands -----------------------------------------------------
  void lbl_loadClick();
  void lbl_newClick();
  void lbl_saveClick();
  void lbl_deleteClick();
  void lbl_cancleClick();
  void macro_listClick(int entry);

  // --- editor commands --------------------------------------------------------
  void lbl_RECClick();
  // A key from the key source: the keyboard component, then the key watch,
  // then the stop at the recording's tenth release.
  void keyEvent(const macros::KeyEvent& event);
  bool recording() const { return recording_; }
  // Ends a running recording as its stop command does, without the button
  // feedback: before the window closes, another page or macro is chosen, or
  // a command rereads or replaces the macro files.
  void stopRecording();
  void lbl_MseLeftClick();
  void lbl_MseRightClick();
  void lbl_MseMidClick();
  void lbl_delkeyClick();
  void lbl_TimeClick();
  void macro_contentClick(int entry);
  // The delay box as the user types: refused text leaves it as it was.
  void Edt_ModifyTimeChange(const std::string& proposed);
  void lbl_cycle_maxClick();
  void lbl_cycleClick();
  void edt_cycleChange(const std::string& proposed);

  // Compiles the library into the ten blocks; the message when a macro
  // cannot be compiled.
  std::optional<std::string> compileAll(macros::MacroBlocks& blocks);
  // The same with a repeat option of the caller's choice, with every block
  // written before a macro that fails.
  macros::CompileOutcome compileAll(macros::MacroBlocks& blocks,
                                    const macros::RepeatOption& repeat) const;
  macros::RepeatOption repeatOption() const;
  // The two repeat flags on their own, as the general file restores them
  // before running their labels' clicks.
  bool endlessFlag() const { return repeat_.endless; }
  bool countedFlag() const { return repeat_.counted; }
  void setEndlessFlag(bool value) { repeat_.endless = value; }
  void setCountedFlag(bool value) { repeat_.counted = value; }
  // What entry `entry` of macro_content shows; nothing with two lines or fewer.
  std::optional<macros::EntryDrawing> contentDrawing(int entry) const;
  // How much of the mouse's 128-byte block the current script takes.
  void updateMeter();

  const macros::ScriptEditor& editor() const { return editor_; }
  const macros::MacroRecorder& recorder() const { return recorder_; }
  const AppState& state() const;
  const macros::MacroLibrary& library() const { return library_; }
  std::vector<std::string> macroNames() const { return library_.names(); }
  // The library as the macro folder holds it now (the folder is created when
  // missing), so that a file added meanwhile is offered too; the selected
  // macro stays selected. For the macro selection dialog, whose position n
  // is library entry n + 1.
  std::vector<std::string> rereadMacroNames();

  // --- controls --------------------------------------------------------------
  ListBox macro_list;
  ListBox macro_content;  // one placeholder entry per event line
  Edit Edt_ModifyTime;
  Label lbl_ms;
  Label lbl_meter;
  // What the last compile did, or why a recording ended by itself.
  Label lbl_result;
  std::size_t meterBytes = 0;
  bool meterFits = true;

  SkinImage img_load, img_new, img_save, img_delete, img_cancel;
  Label lbl_load, lbl_new, lbl_save, lbl_delete, lbl_cancle;
  SkinImage img_REC;
  Label lbl_REC;
  SkinImage img_MseLeft, img_MseRight, img_MseMid, img_delkey, img_Time;
  Label lbl_MseLeft, lbl_MseRight, lbl_MseMid, lbl_delkey, lbl_Time;
  SkinImage img_delay_i, img_delay_d;  // loaded at start-up, never shown

  // Captions the language file sets that this layout keeps hidden: the
  // headings of the recording options, the macro name, the key order and the
  // macro list, and the two delay steps, whose images are never shown either.
  Label lbl_macro, lbl_name, lbl_configure, lbl_list, lbl_delay, lbl_delay_d;

  Label lbl_cycle_max, lbl_cycle_max_check, lbl_cycle, lbl_cycle_check;
  CheckBox cbCycle_Max, cbCycle;
  Edit edt_cycle;

  macros::TKeyboardHook KeyboardHook1;

  std::vector<NamedControl> namedControls();
  // An image command: its image, the caption over it and the handler of a
  // click on that caption.
  struct Command {
    SkinImage* image;
    Label* label;
    void (MacroPage::*click)();
  };
  // Every image command, for the view.
  std::vector<Command> commands();

 private:
  void press(SkinImage& image, const std::function<void()>& command);
  void insertClick(macros::MouseButton button);
  void save();
  void reportError(const std::optional<std::string>& error);
  void reportTooLarge(const std::filesystem::path& file);
  void reportError(const std::optional<files::FileError>& error);
  void refreshLists();
  void refreshContent();
  void libraryChanged();
  // An edit needs a macro to go to; without one the user is asked to select
  // or create one.
  bool haveCurrentMacro();
  std::string compileResultText(const macros::CompileOutcome& outcome) const;
  void applyRepeat(const macros::RepeatOption& option);
  struct RecordingTexts {
    std::string start;
    std::string stop;
  };
  std::optional<RecordingTexts> recordingTexts(bool reportMissingFile);
  void startRecording();

  WindowContext& context_;
  const std::string& languageCode_;
  macros::ScriptEditor editor_;
  macros::MacroLibrary library_{""};
  macros::RepeatOption repeat_;
  macros::KeySource* keySource_ = nullptr;
  macros::MacroRecorder recorder_;
  bool recording_ = false;
  bool watching_ = false;  // the key watch names modifiers for the recorder
  // The macro as it was when the recording started: a recording that
  // captured no event gives it back instead of saving an empty script.
  std::optional<macros::ScriptEditor> beforeRecording_;
  macros::MacroBlocks& blocks_;
  std::string meterText_ = std::string(i18n::messageRow(i18n::Message::MacroMeter).builtIn);
  // The selected macro's file when it was not read whole: the editor holds
  // only part of it, and saving that part would lose the rest.
  std::optional<files::FileError> keptFile_;
};

}  // namespace korvane::app
