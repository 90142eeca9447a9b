#include "app/mode_panels.h"

#include "app/app_state.h"
#include "app/host.h"
#include "app/window_context.h"
#include "settings/mode_block.h"

namespace korvane::app {

namespace {

// The mode slots drawn by the button page's background.
constexpr int kPanelLeft = 15;
constexpr int kPanelTop = 261;
constexpr int kPanelPitch = 77;
constexpr Rect kPanelSize = {0, 0, 72, 64};
constexpr Rect kLabelInPanel = {0, 14, 72, 22};
constexpr Rect kBarInPanel = {6, 44, 60, 7};

bool isMode(int mode) {
  return mode >= 1 && mode <= kModePanelCount;
}

}  // namespace

ModePanels::ModePanels(WindowContext& context) : context_(context) {
  for (int i = 0; i < kModePanelCount; ++i) {
    const auto index = static_cast<std::size_t>(i);
    pnl_mode[index].geometry = {kPanelLeft + kPanelPitch * i, kPanelTop, kPanelSize.width,
                                kPanelSize.height};
    label[index].geometry = kLabelInPanel;
    label[index].caption = "设置模式" + std::to_string(i + 1);
    img_mode[index].geometry = kBarInPanel;
    img_mode[index].family = "mode_base";
    img_mode[index].kind = SkinKind::Choice;
    img_mode[index].isSelected = [this, i] { return activeMode() == i + 1; };
  }
}

int ModePanels::activeMode() const {
  return gb7.checkedIndex() + 1;
}

void ModePanels::pnl_modeClick(int mode) {
  if (!isMode(mode)) {
    return;
  }
  context_.hideFunctionMenu();
  context_.clearSelection();
  for (SkinImage& image : img_mode) {
    image.show(context_.state, static_cast<int>(SkinState::Normal));
  }
  gb7.checked.assign(gb7.checked.size(), false);
  img_mode[static_cast<std::size_t>(mode - 1)].show(context_.state,
                                                    static_cast<int>(SkinState::Selected));
  gb7.checked[static_cast<std::size_t>(mode - 1)] = true;
  context_.blocks.activeMode = mode;
  // During start-up the general file only marks the mode; it is loaded once
  // start-up is done.
  if (context_.state.StartupDone) {
    context_.loadModeForEditing();
  }
  context_.host.pumpEvents();
}

void ModePanels::modeEnter(int mode) {
  if (isMode(mode)) {
    img_mode[static_cast<std::size_t>(mode - 1)].enter(context_.state);
  }
}

void ModePanels::modeLeave(int mode) {
  if (isMode(mode)) {
    img_mode[static_cast<std::size_t>(mode - 1)].leave(context_.state);
  }
}

}  // namespace korvane::app
