#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/control_registry.h"
#include "app/controls.h"
#include "app/skin_image.h"

namespace korvane::app {

struct WindowContext;

inline constexpr int kReportRateCount = 4;
inline constexpr int kDpiLevelCount = 4;
inline constexpr int kSensorDegreeCount = 4;
inline constexpr int kDpiStepPositions = 5;

// Slider position of a DPI step -> the byte in units of 50 DPI, and its label.
inline constexpr std::array<std::uint8_t, kDpiStepPositions> kDpiStepValues = {16, 24, 32, 48, 64};
inline constexpr std::array<const char*, kDpiStepPositions> kDpiStepCaptions = {
    "800", "1200", "1600", "2400", "3200"};
// The row of labels under tb_XY: position p reads p - 5.
inline constexpr int kXyScaleOffset = -5;

// Colours of the hidden level and orientation buttons: the chosen one lime.
inline constexpr std::uint32_t kChosenColour = 0x00FF00;
inline constexpr std::uint32_t kOtherColour = 0x808080;

// A push button of the window that shows its state by its colour (RGB).
struct ColourButton : Label {
  std::uint32_t colour = kOtherColour;
};

// The sensitivity page (page_About): XY sensitivity, the report rate and
// the DPI steps, with the hidden DPI level and sensor orientation buttons.
// The hidden groups gb1 ("ReportRate"), gb2 ("DPILevel") and gb3
// ("SensorDegree") hold the choices for the settings file.
class SensitivityPage {
 public:
  explicit SensitivityPage(WindowContext& context);

  // Choice k = 1..4 (btn_125hzClick .. btn_1000hzClick): 125, 250, 500, 1000 Hz.
  void btn_hzClick(int k);
  // Level k = 1..4 (btn_level1Click ..): selects one of the four DPI steps.
  void btn_levelClick(int k);
  // Orientation k = 1..4: 0, 90, 180, 270 degrees. Kept only in the settings file.
  void btn_sensordegreeClick(int k);
  // Slider i = 1..4 moved (tb_step1Change ..): DPI of level i.
  void tb_stepChange(int i);
  void lbl_XY_1Click();

  // Every control of the page with its name ("tb_step3", "btn_125hz" ..).
  std::vector<NamedControl> namedControls();
  // The report images in the order the skin loader fills them.
  std::vector<Image*> reportImages();

  // --- report rate ---------------------------------------------------------
  Label lbl_report;
  std::array<SkinImage, kReportRateCount> btn_hz{};  // btn_125hz .. btn_1000hz
  std::array<Label, kReportRateCount> lbl_hz{};      // lbl_125hz .. lbl_1000hz
  RadioGroup gb1{kReportRateCount};

  // --- DPI steps and level ---------------------------------------------------
  Label lbl_dpi;
  std::array<Label, kDpiLevelCount> lbl_level{};  // "设置1" .. beside tb_step1 ..
  std::array<Slider, kDpiLevelCount> tb_step{};
  std::array<ColourButton, kDpiLevelCount> btn_level{};
  RadioGroup gb2{kDpiLevelCount};

  // --- sensor orientation (not shown) -----------------------------------------
  Panel gbSensorDegree;
  Label lbl_sensordegree;
  std::array<Label, kSensorDegreeCount> lbl_degree{};  // lbl_sensordegree1 ..
  std::array<ColourButton, kSensorDegreeCount> btn_sensordegree{};
  RadioGroup gb3{kSensorDegreeCount};

  // --- XY sensitivity ------------------------------------------------------------
  Label lbl_XY;
  Label lbl_XY_1;
  Label lbl_XY_1_check;
  CheckBox cb_XY;
  bool xyFlag = false;  // the toggle's flag (XYFlag in the settings file)
  Slider tb_XY;

  static constexpr std::array<const char*, kReportRateCount> kRateNames = {"125hz", "250hz",
                                                                           "500hz", "1000hz"};

 private:
  WindowContext& context_;
};

}  // namespace korvane::app
