#include "app/sensitivity_page.h"

#include <string>

#include "app/window_context.h"
#include "settings/mode_block.h"

namespace korvane::app {

namespace {

// Page layout: three framed sections of the page background (XY at y 8,
// report rate at y 110, DPI steps at y 196), each with a 22-pixel heading
// strip.
constexpr int kHeadingLeft = 22;
constexpr int kHeadingWidth = 240;
constexpr int kHeadingHeight = 20;
constexpr int kXySectionTop = 8;
constexpr int kReportSectionTop = 110;
constexpr int kDpiSectionTop = 196;

constexpr Rect kXyToggle = {18, 38, 140, 20};
constexpr Rect kXyTick = {22, 38, 14, 20};
constexpr Rect kXySlider = {22, 60, 366, 24};

constexpr int kReportLeft = 20;
constexpr int kReportTop = 144;
constexpr int kReportPitch = 96;
constexpr int kReportWidth = 84;
constexpr int kReportHeight = 28;

// Four rows of 33.5 pixels under the DPI heading.
constexpr int kDpiRowsTop = kDpiSectionTop + 22;
constexpr double kDpiRowPitch = 33.5;
constexpr Rect kLevelCaptionInRow = {18, 3, 56, 18};
constexpr Rect kStepSliderInRow = {78, 0, 310, 24};

constexpr std::array<int, kDpiLevelCount> kInitialSteps = {3, 3, 3, 4};
constexpr int kXyMaximum = 10;
constexpr int kXyInitial = 5;

// The hidden buttons lie below the page's visible area.
constexpr int kHiddenTop = 400;
constexpr std::array<const char*, kReportRateCount> kRateCaptions = {"125Hz", "250Hz", "500Hz",
                                                                     "1000Hz"};
constexpr std::array<const char*, kSensorDegreeCount> kDegreeCaptions = {"0°", "90°", "180°",
                                                                         "270°"};

Rect heading(int sectionTop) {
  return {kHeadingLeft, sectionTop + 1, kHeadingWidth, kHeadingHeight};
}

Rect inRow(Rect r, int rowTop) {
  return {r.x, r.y + rowTop, r.width, r.height};
}

bool inRange(int k, int count) {
  return k >= 1 && k <= count;
}

std::size_t index(int k) {
  return static_cast<std::size_t>(k - 1);
}

template <std::size_t N>
void colourChosen(std::array<ColourButton, N>& buttons, int k) {
  for (std::size_t i = 0; i < N; ++i) {
    buttons[i].colour = i == index(k) ? kChosenColour : kOtherColour;
  }
}

void checkOnly(RadioGroup& group, int k) {
  for (std::size_t i = 0; i < group.checked.size(); ++i) {
    group.checked[i] = i == index(k);
  }
}

}  // namespace

SensitivityPage::SensitivityPage(WindowContext& context) : context_(context) {
  lbl_XY.geometry = heading(kXySectionTop);
  lbl_XY.caption = "灵敏度选项";
  lbl_XY_1.geometry = kXyToggle;
  lbl_XY_1.caption = "      XY同步";
  lbl_XY_1_check.geometry = kXyTick;
  lbl_XY_1_check.caption = "√";
  lbl_XY_1_check.visible = false;
  cb_XY.visible = false;
  tb_XY.geometry = kXySlider;
  tb_XY.maximum = kXyMaximum;
  tb_XY.position = kXyInitial;

  lbl_report.geometry = heading(kReportSectionTop);
  lbl_report.caption = "报告率设置";
  for (int k = 1; k <= kReportRateCount; ++k) {
    const std::size_t i = index(k);
    const Rect slot = {kReportLeft + kReportPitch * static_cast<int>(i), kReportTop, kReportWidth,
                       kReportHeight};
    btn_hz[i].geometry = slot;
    btn_hz[i].family = "report";
    btn_hz[i].kind = SkinKind::ChoiceWithoutHover;
    btn_hz[i].isSelected = [this, i] { return gb1.checked[i]; };
    lbl_hz[i].geometry = slot;
    lbl_hz[i].caption = kRateCaptions[i];
    gb1.handlers[i] = [this, k] { btn_hzClick(k); };
  }
  gb1.checked[index(4)] = true;  // 1000 Hz

  lbl_dpi.geometry = heading(kDpiSectionTop);
  lbl_dpi.caption = "DPI选项";
  for (int level = 1; level <= kDpiLevelCount; ++level) {
    const std::size_t i = index(level);
    const int rowTop = kDpiRowsTop + static_cast<int>(kDpiRowPitch * static_cast<double>(i));
    lbl_level[i].geometry = inRow(kLevelCaptionInRow, rowTop);
    lbl_level[i].caption = "设置" + std::to_string(level);
    tb_step[i].geometry = inRow(kStepSliderInRow, rowTop);
    tb_step[i].maximum = kDpiStepPositions - 1;
    tb_step[i].position = kInitialSteps[i];
    tb_step[i].onChange = [this, level] { tb_stepChange(level); };

    btn_level[i].geometry = {24 * static_cast<int>(i), kHiddenTop, 22, 22};
    btn_level[i].visible = false;
    gb2.handlers[i] = [this, level] { btn_levelClick(level); };
  }
  gb2.checked[index(1)] = true;
  btn_level[index(1)].colour = kChosenColour;

  gbSensorDegree.geometry = {120, kHiddenTop, 200, 60};
  gbSensorDegree.visible = false;
  lbl_sensordegree.geometry = {0, 0, 200, 18};
  lbl_sensordegree.caption = "Sensor Degree";
  for (int k = 1; k <= kSensorDegreeCount; ++k) {
    const std::size_t i = index(k);
    lbl_degree[i].geometry = {48 * static_cast<int>(i), 20, 44, 16};
    lbl_degree[i].caption = kDegreeCaptions[i];
    btn_sensordegree[i].geometry = {48 * static_cast<int>(i), 38, 22, 22};
    gb3.handlers[i] = [this, k] { btn_sensordegreeClick(k); };
  }
}

std::vector<NamedControl> SensitivityPage::namedControls() {
  std::vector<NamedControl> named = {{"lbl_report", &lbl_report},
                                     {"lbl_dpi", &lbl_dpi},
                                     {"gbSensorDegree", &gbSensorDegree},
                                     {"lbl_sensordegree", &lbl_sensordegree},
                                     {"lbl_XY", &lbl_XY},
                                     {"lbl_XY_1", &lbl_XY_1},
                                     {"lbl_XY_1_check", &lbl_XY_1_check},
                                     {"cb_XY", &cb_XY},
                                     {"tb_XY", &tb_XY}};
  for (std::size_t i = 0; i < kReportRateCount; ++i) {
    named.push_back({std::string("btn_") + kRateNames[i], &btn_hz[i]});
    named.push_back({std::string("lbl_") + kRateNames[i], &lbl_hz[i]});
  }
  for (std::size_t i = 0; i < kDpiLevelCount; ++i) {
    const std::string n = std::to_string(i + 1);
    named.push_back({"tb_step" + n, &tb_step[i]});
    named.push_back({"lbl_level" + n, &lbl_level[i]});
    named.push_back({"btn_level" + n, &btn_level[i]});
    named.push_back({"btn_sensordegree" + n, &btn_sensordegree[i]});
    named.push_back({"lbl_sensordegree" + n, &lbl_degree[i]});
  }
  return named;
}

std::vector<Image*> SensitivityPage::reportImages() {
  return {&btn_hz[0], &btn_hz[1], &btn_hz[2], &btn_hz[3]};
}

void SensitivityPage::btn_hzClick(int k) {
  if (!inRange(k, kReportRateCount)) {
    return;
  }
  selectInGroup(context_.state, {&btn_hz[0], &btn_hz[1], &btn_hz[2], &btn_hz[3]}, btn_hz[index(k)]);
  checkOnly(gb1, k);
  context_.blocks.working[settings::kReportRateOffset] = static_cast<std::uint8_t>(k);
  context_.blocks.StoreWorkingBlock();
}

void SensitivityPage::btn_levelClick(int k) {
  if (!inRange(k, kDpiLevelCount)) {
    return;
  }
  colourChosen(btn_level, k);
  checkOnly(gb2, k);
  context_.blocks.working[settings::kDpiLevelOffset] = static_cast<std::uint8_t>(k);
  context_.blocks.StoreWorkingBlock();
}

void SensitivityPage::btn_sensordegreeClick(int k) {
  if (!inRange(k, kSensorDegreeCount)) {
    return;
  }
  // The mouse has no byte for it: the choice lives in the settings file only.
  colourChosen(btn_sensordegree, k);
  checkOnly(gb3, k);
}

void SensitivityPage::tb_stepChange(int i) {
  if (!inRange(i, kDpiLevelCount)) {
    return;
  }
  const int position = tb_step[index(i)].position;
  if (position < 0 || position >= kDpiStepPositions) {
    return;
  }
  context_.blocks.working[settings::kDpiStepsOffset + index(i)] =
      kDpiStepValues[static_cast<std::size_t>(position)];
  context_.blocks.StoreWorkingBlock();
}

void SensitivityPage::lbl_XY_1Click() {
  xyFlag = !xyFlag;
  lbl_XY_1_check.visible = xyFlag;
  cb_XY.set(xyFlag);
}

}  // namespace korvane::app
