#pragma once

#include <filesystem>

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

}  // namespace korvane::app
