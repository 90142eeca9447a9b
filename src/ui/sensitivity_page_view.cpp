#include "ui/sensitivity_page_view.h"

#include <QColor>
#include <array>
#include <functional>

#include "app/sensitivity_page.h"
#include "ui/settings_view_kit.h"
#include "ui/view_binder.h"
#include "ui/widgets.h"

namespace korvane::ui {

namespace {

// The hidden level and orientation buttons show their state by colour.
template <std::size_t N>
void colourButtons(ViewBinder& binder, QWidget* parent, std::array<app::ColourButton, N>& buttons,
                   const std::function<void(int)>& click) {
  for (std::size_t i = 0; i < N; ++i) {
    const int k = static_cast<int>(i) + 1;
    ClickLabel* button = binder.label(parent, buttons[i], [click, k] { click(k); });
    const app::ColourButton& control = buttons[i];
    binder.onSync([button, &control] {
      const QString style = QStringLiteral("background: %1; color: black;")
                                .arg(QColor::fromRgb(control.colour).name());
      if (button->styleSheet() != style) {
        button->setStyleSheet(style);
      }
    });
  }
}

}  // namespace

void buildSensitivityPageView(ViewBinder& binder, QWidget* page, app::SensitivityPage& sensitivity,
                              const std::string& themeFile) {
  sectionHeading(binder, page, sensitivity.lbl_XY);
  toggleLabel(binder, page, sensitivity.lbl_XY_1, sensitivity.lbl_XY_1_check,
              [&sensitivity] { sensitivity.lbl_XY_1Click(); });
  settingsSlider(binder, page, sensitivity.tb_XY,
                 numberMarks(sensitivity.tb_XY.minimum + app::kXyScaleOffset,
                             sensitivity.tb_XY.maximum + app::kXyScaleOffset),
                 themeFile);

  sectionHeading(binder, page, sensitivity.lbl_report);
  for (std::size_t i = 0; i < sensitivity.btn_hz.size(); ++i) {
    const int k = static_cast<int>(i) + 1;
    binder.image(page, sensitivity.btn_hz[i], [&sensitivity, k] { sensitivity.btn_hzClick(k); });
    // The caption lies on its button and lets the click through to it.
    ClickLabel* caption = settingsCaption(binder, page, sensitivity.lbl_hz[i], {}, Qt::AlignCenter);
    caption->setAttribute(Qt::WA_TransparentForMouseEvents);
  }

  sectionHeading(binder, page, sensitivity.lbl_dpi);
  QStringList dpiMarks;
  for (const char* caption : app::kDpiStepCaptions) {
    dpiMarks << QString::fromUtf8(caption);
  }
  for (std::size_t i = 0; i < sensitivity.tb_step.size(); ++i) {
    settingsCaption(binder, page, sensitivity.lbl_level[i]);
    settingsSlider(binder, page, sensitivity.tb_step[i], dpiMarks, themeFile);
  }

  colourButtons(binder, page, sensitivity.btn_level,
                [&sensitivity](int k) { sensitivity.btn_levelClick(k); });
  ClickLabel* degrees = binder.panel(page, sensitivity.gbSensorDegree);
  settingsCaption(binder, degrees, sensitivity.lbl_sensordegree);
  for (const app::Label& caption : sensitivity.lbl_degree) {
    settingsCaption(binder, degrees, caption);
  }
  colourButtons(binder, degrees, sensitivity.btn_sensordegree,
                [&sensitivity](int k) { sensitivity.btn_sensordegreeClick(k); });
}

}  // namespace korvane::ui
