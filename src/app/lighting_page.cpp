#include "app/lighting_page.h"

#include "app/window_context.h"
#include "settings/mode_block.h"

namespace korvane::app {

namespace {

enum class Group { Switch, Effect, Frequency, Colour, Motor, MotorStrength };

// What choosing a row does to the working block.
enum class Change { LightOn, LightOff, Effect, Frequency, Colour, Vibration, Strength };

struct ChoiceRow {
  const char* name;
  const char* caption;
  Group group;
  int indexInGroup;
  Change change;
  std::uint8_t value;
};

// One row per LightingChoice, in its order.
constexpr std::array<ChoiceRow, kLightingChoiceCount> kChoices = {{
    {"LEDOpen", "开启", Group::Switch, 0, Change::LightOn, 0},
    {"LEDClose", "关闭", Group::Switch, 1, Change::LightOff, 0},
    {"LEDBre1", "高", Group::Effect, 0, Change::Effect, 1},
    {"LEDBre2", "中", Group::Effect, 1, Change::Effect, 2},
    {"LEDBre3", "低", Group::Effect, 2, Change::Effect, 3},
    {"LEDBre4", "快速", Group::Frequency, 0, Change::Frequency, 1},
    {"LEDBre5", "中速", Group::Frequency, 1, Change::Frequency, 2},
    {"LEDBre6", "慢速", Group::Frequency, 2, Change::Frequency, 3},
    {"LEDcolor1", "红色", Group::Colour, 0, Change::Colour, 1},
    {"LEDcolor2", "黄色", Group::Colour, 1, Change::Colour, 2},
    {"LEDcolor3", "绿色", Group::Colour, 2, Change::Colour, 3},
    {"LEDcolor4", "青色", Group::Colour, 3, Change::Colour, 4},
    {"LEDcolor5", "蓝色", Group::Colour, 4, Change::Colour, 5},
    {"LEDcolor6", "紫色", Group::Colour, 5, Change::Colour, 6},
    {"LEDcolor7", "白色", Group::Colour, 6, Change::Colour, 7},
    {"LEDcolor8", "循环", Group::Colour, 7, Change::Colour, 0},
    {"Motor1", "开启", Group::Motor, 0, Change::Vibration, 1},
    {"Motor2", "关闭", Group::Motor, 1, Change::Vibration, 0},
    {"Motor3", "强", Group::MotorStrength, 0, Change::Strength, 1},
    {"Motor4", "弱", Group::MotorStrength, 1, Change::Strength, 0},
}};

// Page layout over the background's framed sections: on/off at y 8, effect
// at 76, speed at 144 (one row of choices each, 32 pixels under the section
// top) and colours at 212 (two rows of four). Each image sits in a socket of
// the background; its label follows, after the colour swatch for colours.
constexpr int kHeadingLeft = 22;
constexpr int kHeadingWidth = 240;
constexpr int kHeadingHeight = 20;
constexpr std::array<int, 4> kSectionTops = {8, 76, 144, 212};
constexpr int kChoiceOffsetTop = 32;
constexpr int kChoiceLeft = 24;
constexpr int kChoicePitch = 96;
constexpr std::array<int, 2> kColourRowTops = {254, 304};
constexpr int kImageSize = 16;
constexpr int kLabelGap = 22;        // image left to label left
constexpr int kColourLabelGap = 36;  // past the swatch
constexpr int kLabelWidth = 66;
constexpr int kLabelHeight = 20;
// The vibration controls are not shown by the design: they lie below the
// page's visible area.
constexpr int kMotorTop = 400;

const ChoiceRow& row(LightingChoice choice) {
  return kChoices[static_cast<std::size_t>(choice)];
}

bool isEffectChoice(LightingChoice choice) {
  const Group group = row(choice).group;
  return group == Group::Effect || group == Group::Frequency || group == Group::Colour;
}

void setLowBits(std::uint8_t& byte, std::uint8_t value) {
  byte = static_cast<std::uint8_t>((byte & ~settings::kLightEffectMask) |
                                   (value & settings::kLightEffectMask));
}

void setBit(std::uint8_t& byte, std::uint8_t bit, bool on) {
  byte = static_cast<std::uint8_t>(on ? (byte | bit) : (byte & ~bit));
}

}  // namespace

LightingPage::LightingPage(WindowContext& context) : context_(context) {
  const std::array<Label*, 5> headings = {&lbl_LEDSwitch, &lbl_LEDBre, &lbl_LEDFreq, &lbl_LEDcolor,
                                          &lbl_Motor};
  const std::array<const char*, 5> headingCaptions = {"灯光效果开关", "灯效类型", "灯效频率",
                                                      "灯光颜色选择", "震动效果开关"};
  for (std::size_t i = 0; i < headings.size(); ++i) {
    const int top = i < kSectionTops.size() ? kSectionTops[i] : kMotorTop;
    headings[i]->geometry = {kHeadingLeft, top + 1, kHeadingWidth, kHeadingHeight};
    headings[i]->caption = headingCaptions[i];
  }
  lbl_Motor.visible = false;

  for (int c = 0; c < kLightingChoiceCount; ++c) {
    const auto choice = static_cast<LightingChoice>(c);
    const ChoiceRow& r = row(choice);
    int left = kChoiceLeft + kChoicePitch * r.indexInGroup;
    int top = 0;
    int labelGap = kLabelGap;
    switch (r.group) {
      case Group::Switch:
        top = kSectionTops[0] + kChoiceOffsetTop;
        break;
      case Group::Effect:
        top = kSectionTops[1] + kChoiceOffsetTop;
        break;
      case Group::Frequency:
        top = kSectionTops[2] + kChoiceOffsetTop;
        break;
      case Group::Colour:
        left = kChoiceLeft + kChoicePitch * (r.indexInGroup % 4);
        top = kColourRowTops[static_cast<std::size_t>(r.indexInGroup / 4)];
        labelGap = kColourLabelGap;
        break;
      case Group::Motor:
      case Group::MotorStrength:
        left = kChoiceLeft + kChoicePitch * (c - static_cast<int>(LightingChoice::Motor1));
        top = kMotorTop + kChoiceOffsetTop;
        break;
    }
    SkinImage& img = image(choice);
    img.geometry = {left, top, kImageSize, kImageSize};
    img.family = "led_base";
    img.kind = SkinKind::Choice;
    img.isSelected = [this, choice] {
      return group(choice).checked[static_cast<std::size_t>(indexInGroup(choice))];
    };
    Label& lbl = label(choice);
    lbl.geometry = {left + labelGap, top - 2, kLabelWidth, kLabelHeight};
    lbl.caption = r.caption;
    group(choice).handlers[static_cast<std::size_t>(r.indexInGroup)] = [this, choice] {
      choiceClick(choice);
    };
    if (r.group == Group::Motor || r.group == Group::MotorStrength) {
      img.visible = false;
      lbl.visible = false;
    }
  }

  gb4.checked[1] = true;  // lighting off
  gb5.checked[1] = true;  // medium effect
  gb9.checked[1] = true;  // medium speed
}

Label& LightingPage::label(LightingChoice choice) {
  return labels[static_cast<std::size_t>(choice)];
}

SkinImage& LightingPage::image(LightingChoice choice) {
  return images[static_cast<std::size_t>(choice)];
}

RadioGroup& LightingPage::group(LightingChoice choice) {
  switch (row(choice).group) {
    case Group::Switch:
      return gb4;
    case Group::Effect:
      return gb5;
    case Group::Frequency:
      return gb9;
    case Group::Colour:
      return gb6;
    case Group::Motor:
      return gb8;
    case Group::MotorStrength:
      break;
  }
  return gb10;
}

int LightingPage::indexInGroup(LightingChoice choice) {
  return row(choice).indexInGroup;
}

std::string LightingPage::name(LightingChoice choice) {
  return row(choice).name;
}

std::vector<NamedControl> LightingPage::namedControls() {
  std::vector<NamedControl> named = {{"lbl_LEDSwitch", &lbl_LEDSwitch},
                                     {"lbl_LEDBre", &lbl_LEDBre},
                                     {"lbl_LEDFreq", &lbl_LEDFreq},
                                     {"lbl_LEDcolor", &lbl_LEDcolor},
                                     {"lbl_Motor", &lbl_Motor}};
  for (int c = 0; c < kLightingChoiceCount; ++c) {
    const auto choice = static_cast<LightingChoice>(c);
    named.push_back({"lbl_" + name(choice), &label(choice)});
    named.push_back({"btn_" + name(choice), &image(choice)});
  }
  return named;
}

std::vector<Image*> LightingPage::lightingImages() {
  std::vector<Image*> all;
  for (SkinImage& img : images) {
    all.push_back(&img);
  }
  return all;
}

std::vector<Control*> LightingPage::effectControls() {
  std::vector<Control*> controls;
  for (int c = 0; c < kLightingChoiceCount; ++c) {
    const auto choice = static_cast<LightingChoice>(c);
    if (isEffectChoice(choice)) {
      controls.push_back(&label(choice));
      controls.push_back(&image(choice));
    }
  }
  return controls;
}

void LightingPage::choiceClick(LightingChoice choice) {
  // The members of the choice's own group: every image normal, every radio
  // choice unchecked, then the chosen one selected and checked.
  const Group own = row(choice).group;
  std::vector<SkinImage*> members;
  for (int c = 0; c < kLightingChoiceCount; ++c) {
    if (row(static_cast<LightingChoice>(c)).group == own) {
      members.push_back(&images[static_cast<std::size_t>(c)]);
    }
  }
  RadioGroup& radios = group(choice);
  radios.checked.assign(radios.checked.size(), false);
  selectInGroup(context_.state, members, image(choice));
  radios.checked[static_cast<std::size_t>(indexInGroup(choice))] = true;
  changeWorkingBlock(choice);
  context_.blocks.StoreWorkingBlock();
}

void LightingPage::changeWorkingBlock(LightingChoice choice) {
  settings::ModeBlock& block = context_.blocks.working;
  std::uint8_t& lightAndMotor = block[settings::kLightAndMotorOffset];
  const ChoiceRow& r = row(choice);
  switch (r.change) {
    case Change::LightOn:
      // The effect and speed choices on screen stay as they were.
      setLowBits(lightAndMotor, kLightOnEffect);
      block[settings::kLightFrequencyOffset] = kLightOnFrequency;
      for (Control* control : effectControls()) {
        control->visible = true;
      }
      break;
    case Change::LightOff:
      setLowBits(lightAndMotor, kLightOff);
      block[settings::kLightFrequencyOffset] = kLightOff;
      for (Control* control : effectControls()) {
        control->visible = false;
      }
      break;
    case Change::Effect:
      setLowBits(lightAndMotor, r.value);
      break;
    case Change::Frequency:
      block[settings::kLightFrequencyOffset] = r.value;
      break;
    case Change::Colour:
      block[settings::kLightColourOffset] = r.value;
      break;
    case Change::Vibration:
      setBit(lightAndMotor, settings::kVibrationOnBit, r.value != 0);
      if (r.value == 0) {
        for (LightingChoice strength : {LightingChoice::Motor3, LightingChoice::Motor4}) {
          label(strength).visible = false;
          image(strength).visible = false;
        }
      }
      break;
    case Change::Strength:
      setBit(lightAndMotor, settings::kVibrationStrongBit, r.value != 0);
      break;
  }
}

void LightingPage::choiceEnter(LightingChoice choice) {
  image(choice).enter(context_.state);
}

void LightingPage::choiceLeave(LightingChoice choice) {
  image(choice).leave(context_.state);
}

}  // namespace korvane::app
