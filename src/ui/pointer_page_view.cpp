#include "ui/pointer_page_view.h"

#include <array>
#include <utility>

#include "app/pointer_page.h"
#include "ui/settings_view_kit.h"
#include "ui/view_binder.h"

namespace korvane::ui {

void buildPointerPageView(ViewBinder& binder, QWidget* page, app::PointerPage& pointer,
                          const std::string& themeFile) {
  const std::array<std::pair<const app::Label*, app::Slider*>, 4> sections = {{
      {&pointer.lbl_msedbspeed, &pointer.spin_msedbspeed},
      {&pointer.lbl_msespeed, &pointer.spin_msespeed},
      {&pointer.lbl_msewheel_X, &pointer.spin_msewheel_X},
      {&pointer.lbl_msewheel, &pointer.spin_msewheel},
  }};
  for (const auto& [heading, slider] : sections) {
    sectionHeading(binder, page, *heading);
    settingsSlider(binder, page, *slider, numberMarks(slider->minimum, slider->maximum), themeFile);
  }
  toggleLabel(binder, page, pointer.lbl_mse1, pointer.lbl_mse1_check,
              [&pointer] { pointer.lbl_mse1Click(); });
  toggleLabel(binder, page, pointer.lbl_mse2, pointer.lbl_mse2_check,
              [&pointer] { pointer.lbl_mse2Click(); });
}

}  // namespace korvane::ui
