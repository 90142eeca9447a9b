#pragma once

#include <string>
#include <utility>
#include <vector>

#include "app/control_registry.h"
#include "app/controls.h"
#include "settings/pointer_settings.h"

namespace korvane::app {

// The system page (page_MseAdv): the desktop's pointer settings of the
// current user. Every change is written to the registry at once; Apply
// writes them again and hands them to the running system.
class PointerPage {
 public:
  // The page touches no mode block: it only needs where the settings go.
  explicit PointerPage(settings::PointerSettingsSink& sink);

  // Writes pointer speed, precision and double-click time to the registry.
  void btnChangeRegPro1Click();
  // Writes the wheel scroll lines to the registry.
  void btnChangeRegPro2Click();
  void cb_msewheelClick();
  void lbl_mse1Click();
  void lbl_mse2Click();
  // Every control of the page with its name ("spin_msespeed", "lbl_mse1" ..).
  std::vector<NamedControl> namedControls();
  // Apply's last step: both registry steps, then the four system calls.
  void applyToSystem();
  // The last pointer setting the system refused to keep; nothing when it kept it.
  std::optional<files::FileError> lastError() const { return sink_.lastError(); }

  const settings::RememberedPointerValues& remembered() const { return pointer_.remembered(); }

  Label lbl_msedbspeed;  // headings
  Label lbl_msespeed;
  Label lbl_msewheel_X;
  Label lbl_msewheel;
  Slider spin_msedbspeed;
  Slider spin_msespeed;
  Slider spin_msewheel_X;  // kept only in the settings file
  Slider spin_msewheel;

  // Toggle labels: the tick is drawn in the caption's leading blanks.
  Label lbl_mse1;
  Label lbl_mse1_check;
  CheckBox cb_msespeed;
  bool mse1Flag = false;
  Label lbl_mse2;
  Label lbl_mse2_check;
  CheckBox cb_msewheel;
  bool mse2Flag = false;

 private:
  settings::PointerSettingsSink& sink_;
  settings::PointerSettings pointer_;
};

}  // namespace korvane::app
