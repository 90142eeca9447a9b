#include "app/dialog_skin.h"

#include "app/app_state.h"
#include "app/controls.h"

namespace korvane::app {

namespace {

std::filesystem::path ifPresent(const AppState& state, const char* baseName) {
  std::filesystem::path file = state.skinFile(baseName);
  return isShowablePicture(file) ? file : std::filesystem::path();
}

}  // namespace

DialogSkin LoadDialogSkin(const AppState& state, DialogKind dialog) {
  DialogSkin skin;
  if (dialog == DialogKind::ModeName) {
    skin.background = ifPresent(state, "mode_conf_base");
    skin.button = ifPresent(state, "btn_base_1");
  } else {
    skin.background = ifPresent(state, "other");
  }
  return skin;
}

DialogLayout dialogLayout(DialogKind dialog) {
  constexpr Rect kNameTitle = {6, 20, 283, 26};
  constexpr Rect kNameEdit = {48, 62, 199, 26};
  constexpr Rect kLeftButton = {46, 111, 80, 25};
  switch (dialog) {
    case DialogKind::MacroSelect:
      return {{20, 24, 255, 26},
              kLeftButton,
              Rect{141, 111, 80, 25},
              DialogInput::List,
              {51, 66, 145, 24}};
    case DialogKind::LeftKeyWarning:
      return {{6, 40, 276, 26}, {94, 96, 80, 25}, std::nullopt, DialogInput::None, {}};
    case DialogKind::ModeName:
    case DialogKind::MacroName:
      break;
  }
  return {kNameTitle, kLeftButton, Rect{169, 111, 80, 25}, DialogInput::LineEdit, kNameEdit};
}

}  // namespace korvane::app
