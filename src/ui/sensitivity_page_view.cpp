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

void buildSensitivityPageView(ViewBinder& binder, QWidget* page, app::SensitivityPage& about,
                              const std::string& themeFile) {
  sectionHeading(binder, page, about.lbl_XY);
  toggleLabel(binder, page, about.lbl_XY_1, about.lbl_XY_1_check,
              [&about] { about.lbl_XY_1Click(); });
  settingsSlider(binder, page, about.tb_XY,
                 numberMarks(about.tb_XY.minimum + app::kXyScaleOffset,
                             about.tb_XY.maximum + app::kXyScaleOffset),
                 themeFile);

  sectionHeading(binder, page, about.lbl_report);
  for (std::size_t i = 0; i < about.btn_hz.size(); ++i) {
    const int k = static_cast<int>(i) + 1;
    binder.image(page, about.btn_hz[i], [&about, k] { about.btn_hzClick(k); });
    // The caption lies on its button and lets the click through to it.
    ClickLabel* caption = settingsCaption(binder, page, about.lbl_hz[i], {}, Qt::AlignCenter);
    caption->setAttribute(Qt::WA_TransparentForMouseEvents);
  }

  sectionHeading(binder, page, about.lbl_dpi);
  QStringList dpiMarks;
  for (const char* caption : app::kDpiStepCaptions) {
    dpiMarks << QString::fromUtf8(caption);
  }
  for (std::size_t i = 0; i < about.tb_step.size(); ++i) {
    settingsCaption(binder, page, about.lbl_level[i]);
    settingsSlider(binder, page, about.tb_step[i], dpiMarks, themeFile);
  }

  colourButtons(binder, page, about.btn_level, [&about](int k) { about.btn_levelClick(k); });
  ClickLabel* degrees = binder.panel(page, about.gbSensorDegree);
  settingsCaption(binder, degrees, about.lbl_sensordegree);
  for (const app::Label& caption : about.lbl_degree) {
    settingsCaption(binder, degrees, caption);
  }
  colourButtons(binder, degrees, about.btn_sensordegree,
                [&about](int k) { about.btn_sensordegreeClick(k); });
}

}  // namespace korvane::ui
