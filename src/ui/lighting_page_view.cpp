#include "ui/lighting_page_view.h"

#include "app/lighting_page.h"
#include "ui/settings_view_kit.h"
#include "ui/view_binder.h"
#include "ui/widgets.h"

namespace korvane::ui {

void buildLightingPageView(ViewBinder& binder, QWidget* page, app::LightingPage& lighting) {
  for (const app::Label* heading :
       {&lighting.lbl_LEDSwitch, &lighting.lbl_LEDBre, &lighting.lbl_LEDFreq,
        &lighting.lbl_LEDcolor, &lighting.lbl_Motor}) {
    sectionHeading(binder, page, *heading);
  }
  for (int c = 0; c < app::kLightingChoiceCount; ++c) {
    const auto choice = static_cast<app::LightingChoice>(c);
    const auto click = [&lighting, choice] { lighting.choiceClick(choice); };
    const auto enter = [&lighting, choice] { lighting.choiceEnter(choice); };
    const auto leave = [&lighting, choice] { lighting.choiceLeave(choice); };
    // The label is the click target; its image takes the click as well.
    ClickLabel* image = binder.image(page, lighting.image(choice), click);
    ClickLabel* label = settingsCaption(binder, page, lighting.label(choice), click);
    for (ClickLabel* part : {image, label}) {
      binder.hover(part, enter, leave);
    }
  }
}

}  // namespace korvane::ui
