#include "app/pointer_page.h"

#include <array>

namespace korvane::app {

namespace {

// Page layout over the background's four framed sections: double-click
// speed at y 6, pointer speed with its toggle at 86, horizontal wheel at 182,
// vertical wheel with its toggle at 262. The toggles sit on the boxes the
// background draws 22 pixels above the bottom of their sections.
constexpr int kHeadingLeft = 22;
constexpr int kHeadingWidth = 240;
constexpr int kHeadingHeight = 20;
constexpr std::array<int, 4> kSectionTops = {6, 86, 182, 262};
constexpr int kSliderOffsetTop = 24;
constexpr Rect kSliderInSection = {22, 0, 366, 24};
constexpr std::array<int, 2> kToggleBoxTops = {156, 332};
constexpr Rect kToggleInRow = {26, -3, 220, 20};
constexpr Rect kTickInRow = {22, -3, 14, 20};

constexpr int kSliderMaximum = 10;
constexpr int kInitialDoubleClick = 10;
constexpr int kInitialSpeed = 3;
constexpr int kInitialWheel = 3;

Rect heading(int sectionTop) {
  return {kHeadingLeft, sectionTop + 1, kHeadingWidth, kHeadingHeight};
}

Rect at(Rect r, int y) {
  return {r.x, r.y + y, r.width, r.height};
}

void setUpSlider(Slider& slider, int sectionTop, int initial) {
  slider.geometry = at(kSliderInSection, sectionTop + kSliderOffsetTop);
  slider.maximum = kSliderMaximum;
  slider.position = initial;
}

void setUpToggle(Label& toggle, Label& tick, CheckBox& box, int boxTop, const char* caption) {
  toggle.geometry = at(kToggleInRow, boxTop);
  toggle.caption = caption;
  tick.geometry = at(kTickInRow, boxTop);
  tick.caption = "√";
  tick.visible = false;
  box.visible = false;
}

}  // namespace

PointerPage::PointerPage(settings::PointerSettingsSink& sink) : sink_(sink) {
  lbl_msedbspeed.geometry = heading(kSectionTops[0]);
  lbl_msedbspeed.caption = "鼠标双击速度选项";
  lbl_msespeed.geometry = heading(kSectionTops[1]);
  lbl_msespeed.caption = "鼠标指针移动速度";
  lbl_msewheel_X.geometry = heading(kSectionTops[2]);
  lbl_msewheel_X.caption = "滚轮横向速度";
  lbl_msewheel.geometry = heading(kSectionTops[3]);
  lbl_msewheel.caption = "滚轮纵向速度";

  setUpSlider(spin_msedbspeed, kSectionTops[0], kInitialDoubleClick);
  setUpSlider(spin_msespeed, kSectionTops[1], kInitialSpeed);
  setUpSlider(spin_msewheel_X, kSectionTops[2], kInitialWheel);
  setUpSlider(spin_msewheel, kSectionTops[3], kInitialWheel);
  setUpToggle(lbl_mse1, lbl_mse1_check, cb_msespeed, kToggleBoxTops[0], "      提高指针精度");
  setUpToggle(lbl_mse2, lbl_mse2_check, cb_msewheel, kToggleBoxTops[1], "      一次滚动一个屏幕");

  spin_msedbspeed.onChange = [this] { btnChangeRegPro1Click(); };
  spin_msespeed.onChange = [this] { btnChangeRegPro1Click(); };
  cb_msespeed.onClick = [this] { btnChangeRegPro1Click(); };
  spin_msewheel.onChange = [this] { btnChangeRegPro2Click(); };
  cb_msewheel.onClick = [this] { cb_msewheelClick(); };
}

std::vector<NamedControl> PointerPage::namedControls() {
  return {{"lbl_msedbspeed", &lbl_msedbspeed},
          {"lbl_msespeed", &lbl_msespeed},
          {"lbl_msewheel_X", &lbl_msewheel_X},
          {"lbl_msewheel", &lbl_msewheel},
          {"spin_msedbspeed", &spin_msedbspeed},
          {"spin_msespeed", &spin_msespeed},
          {"spin_msewheel_X", &spin_msewheel_X},
          {"spin_msewheel", &spin_msewheel},
          {"lbl_mse1", &lbl_mse1},
          {"lbl_mse1_check", &lbl_mse1_check},
          {"cb_msespeed", &cb_msespeed},
          {"lbl_mse2", &lbl_mse2},
          {"lbl_mse2_check", &lbl_mse2_check},
          {"cb_msewheel", &cb_msewheel}};
}

void PointerPage::btnChangeRegPro1Click() {
  pointer_.registryStep1(sink_, spin_msespeed.position, cb_msespeed.checked,
                         spin_msedbspeed.position);
}

void PointerPage::btnChangeRegPro2Click() {
  pointer_.registryStep2(sink_, spin_msewheel.position, cb_msewheel.checked);
}

void PointerPage::cb_msewheelClick() {
  // Scrolling a whole screen leaves no line count to choose.
  spin_msewheel.enabled = !cb_msewheel.checked;
  btnChangeRegPro2Click();
}

// Setting the hidden check box runs its own click handler when its state
// changes; the explicit step afterwards comes on top of that.
void PointerPage::lbl_mse1Click() {
  mse1Flag = !mse1Flag;
  lbl_mse1_check.visible = mse1Flag;
  cb_msespeed.set(mse1Flag);
  btnChangeRegPro1Click();
}

void PointerPage::lbl_mse2Click() {
  mse2Flag = !mse2Flag;
  lbl_mse2_check.visible = mse2Flag;
  cb_msewheel.set(mse2Flag);
  cb_msewheelClick();
}

void PointerPage::applyToSystem() {
  btnChangeRegPro1Click();
  btnChangeRegPro2Click();
  pointer_.systemStep(sink_);
}

}  // namespace korvane::app
