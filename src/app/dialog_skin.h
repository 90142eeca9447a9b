#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "app/controls.h"

namespace korvane::app {

struct AppState;

// The four small dialogs and the skin images they show.
enum class DialogKind {
  MacroSelect,     // TForm2: background "other"
  ModeName,        // TForm3: background "mode_conf_base", buttons "btn_base_1"
  LeftKeyWarning,  // TForm5: background "other"
  MacroName,       // TForm6: background "other"
};

// Each image is loaded only when its file exists, independently of the
// others; an empty path leaves the dialog's design look.
struct DialogSkin {
  std::filesystem::path background;
  std::filesystem::path button;  // the mode-name dialog's OK and Cancel
};

DialogSkin LoadDialogSkin(const AppState& state, DialogKind dialog);

// The one input a dialog may have: the name edits, the macro drop-down list.
enum class DialogInput { None, LineEdit, List };

// Where a dialog's controls lie, in the dialog's 295 x 158 area.
struct DialogLayout {
  Rect title;                  // lbl_title, centred bold text
  Rect ok;                     // lbl_ok
  std::optional<Rect> cancel;  // lbl_cancel; absent for the left-key warning
  DialogInput input = DialogInput::None;
  Rect inputArea;  // edt_macro, the mode name edit or cb_macro_list
};
DialogLayout dialogLayout(DialogKind dialog);

// The texts of one of the four small dialogs. A text may be empty (a key
// the language file lacks); `cancel` is absent only for a dialog without
// Cancel.
struct DialogTexts {
  std::string title;
  std::string ok;
  std::optional<std::string> cancel;

  friend bool operator==(const DialogTexts&, const DialogTexts&) = default;
};

// What a dialog shows without a language file.
DialogTexts BuiltInDialogTexts(DialogKind dialog);
// Run by each dialog as it is created, after its skin: the language of the
// locale, then the dialog's texts from that language's file. Without a file
// the built-in texts stay, and nothing is said.
DialogTexts LoadDialogTexts(const AppState& state, DialogKind dialog);

}  // namespace korvane::app
