// Page tabs, the pages they show, and the main window's skin images.
#include <utility>
#include <vector>

#include "app/host.h"
#include "app/main_window_model.h"

namespace korvane::app {

namespace {

enum TitleState { kNormal = 1, kHover = 2, kSelected = 3 };

}  // namespace

Panel& MainWindowModel::pageOfTab(int tab) {
  switch (tab) {
    case 1:
      return page_MseKeys;
    case 2:
      return page_Macro;
    case 3:
      return page_About;
    case 4:
      return page_BreathLED;
    default:
      return page_MseAdv;
  }
}

const Panel& MainWindowModel::pageOfTab(int tab) const {
  return const_cast<MainWindowModel*>(this)->pageOfTab(tab);
}

int MainWindowModel::visiblePage() const {
  for (int tab = 1; tab <= kPageCount; ++tab) {
    if (pageOfTab(tab).visible) {
      return tab;
    }
  }
  return 0;
}

void MainWindowModel::SetTitleState(int tab, int state) {
  img_title.at(static_cast<std::size_t>(tab - 1))
      .load(state_.skinFile("title_base_" + std::to_string(state)));
}

void MainWindowModel::ShowPage(int tab) {
  if (tab < 1 || tab > kPageCount) {
    return;
  }
  if (tab != visiblePage()) {
    macro.stopRecording();
  }
  HideFunctionMenu();
  for (int other = 1; other <= kPageCount; ++other) {
    SetTitleState(other, kNormal);
  }
  for (int other = 1; other <= kPageCount; ++other) {
    pageOfTab(other).visible = false;
  }
  SetTitleState(tab, kSelected);
  pageOfTab(tab).visible = true;
  host_.pumpEvents();
}

void MainWindowModel::pageTabEnter(int tab) {
  if (tab >= 1 && tab <= kPageCount) {
    SetTitleState(tab, kHover);
  }
}

void MainWindowModel::pageTabLeave(int tab) {
  if (tab >= 1 && tab <= kPageCount) {
    SetTitleState(tab, visiblePage() == tab ? kSelected : kNormal);
  }
}

void MainWindowModel::LoadMainSkin() {
  auto& panels = keys.panels;
  std::vector<Image*> macroCommands = {&macro.img_load, &macro.img_new, &macro.img_save,
                                       &macro.img_delete, &macro.img_cancel};
  std::vector<Image*> macroEditing = {&macro.img_MseLeft, &macro.img_MseRight, &macro.img_MseMid,
                                      &macro.img_delkey, &macro.img_Time};
  std::vector<Image*> reportImages;
  for (Image* image : sensitivity.reportImages()) {
    reportImages.push_back(image);
  }
  std::vector<Image*> lightingImages;
  for (Image* image : lighting.lightingImages()) {
    lightingImages.push_back(image);
  }
  // In this order; the first missing file ends the load and every later
  // image stays blank.
  const std::vector<std::pair<const char*, std::vector<Image*>>> steps = {
      {"basemap", {&img_base}},
      {"title_base_1", {&img_title[0], &img_title[1], &img_title[2], &img_title[3], &img_title[4]}},
      {"btn_base", {&img_page[0]}},
      {"macro_base", {&img_page[2]}},
      {"dpi_base", {&img_page[4]}},
      {"led_base", {&img_page[3]}},
      {"sys_base", {&img_page[1]}},
      {"mode_base_1",
       {&modes.img_mode[0], &modes.img_mode[1], &modes.img_mode[2], &modes.img_mode[3],
        &modes.img_mode[4]}},
      {"macro_btn1_1", macroCommands},
      {"macro_btn2_1", {&macro.img_REC}},
      {"macro_btn3_1", macroEditing},
      {"macro_btn4_1", {&macro.img_delay_i}},
      {"macro_btn5_1", {&macro.img_delay_d}},
      {"report_1", reportImages},
      {"led_base_1", lightingImages},
      {"10Keys", {&keys.img_gbMenu}},
      {"9Keys", {&panels[2].background}},
      {"8Keys", {&panels[3].background, &panels[5].background}},
      {"7Keys", {&panels[4].background, &panels[6].background, &panels[0].background}},
      {"5Keys", {&panels[1].background}},
      {"4Keys", {&panels[7].background}},
  };
  const auto loadInOrder = [this, &steps] {
    for (const auto& [baseName, images] : steps) {
      const std::string file = state_.skinFile(baseName);
      for (Image* image : images) {
        if (!image->load(file)) {
          return;
        }
      }
    }
  };
  loadInOrder();
  keys.fitMenusToPictures();
  // The switches between the two groups of buttons and the map of the mouse
  // come after the window's own pictures; each is skipped when missing.
  keys.showKeyGroupPictures();
}

}  // namespace korvane::app
