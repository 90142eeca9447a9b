#include "app/dialog_skin.h"

#include "app/app_state.h"
#include "files/file_io.h"

namespace korvane::app {

namespace {

std::filesystem::path ifPresent(const AppState& state, const char* baseName) {
  std::filesystem::path file = state.skinFile(baseName);
  return files::isRegularFile(file) ? file : std::filesystem::path();
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

}  // namespace korvane::app
