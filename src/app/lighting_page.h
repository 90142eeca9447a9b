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

// Every choice of the lighting page, in the order of its controls: each is a
// label (lbl_LEDOpen ..) beside an image showing its state (btn_LEDOpen ..).
// clang-format off
enum class LightingChoice : int {
  LEDOpen, LEDClose,                                         // gb4 "LED Switch"
  LEDBre1, LEDBre2, LEDBre3,                                 // gb5 "LEDBreathe": high, medium, low
  LEDBre4, LEDBre5, LEDBre6,                                 // gb9 "LEDFreq": fast, medium, slow
  LEDcolor1, LEDcolor2, LEDcolor3, LEDcolor4,                // gb6 "LEDColor": red .. cyan
  LEDcolor5, LEDcolor6, LEDcolor7, LEDcolor8,                // blue, purple, white, cycle
  Motor1, Motor2,                                            // gb8 "Motor": on, off
  Motor3, Motor4,                                            // gb10 "Motor Strong": strong, weak
};
// clang-format on
// The last choice ends the list.
inline constexpr int kLightingChoiceCount = static_cast<int>(LightingChoice::Motor4) + 1;

// Turning lighting on sets a medium effect at medium speed.
inline constexpr std::uint8_t kLightOnEffect = 2;
inline constexpr std::uint8_t kLightOnFrequency = 2;
inline constexpr std::uint8_t kLightOff = 0;

// The lighting page (page_BreathLED): lighting on or off, effect, speed and
// colour, and the vibration choices that the design keeps hidden. Each
// setting is its own choice group with its hidden radio group.
class LightingPage {
 public:
  explicit LightingPage(WindowContext& context);

  // A click on the choice's label (lbl_LEDOpenClick, lbl_LEDcolor3Click ..).
  void choiceClick(LightingChoice choice);
  // Pointer over the choice's label.
  void choiceEnter(LightingChoice choice);
  void choiceLeave(LightingChoice choice);

  Label& label(LightingChoice choice);
  SkinImage& image(LightingChoice choice);
  // The radio group that mirrors the choice, and the choice's index in it.
  RadioGroup& group(LightingChoice choice);
  static int indexInGroup(LightingChoice choice);
  // "LEDOpen", "LEDcolor3", "Motor4": the suffix of its label and image names.
  static std::string name(LightingChoice choice);

  // Every control of the page with its name ("lbl_LEDSwitch", "btn_LEDcolor3" ..).
  std::vector<NamedControl> namedControls();
  // btn_LEDOpen, btn_LEDClose, btn_LEDBre1..6, btn_LEDcolor1..8, btn_Motor1..4:
  // the order in which the skin loader fills them.
  std::vector<Image*> lightingImages();
  // The effect, speed and colour labels and images that lighting off hides.
  std::vector<Control*> effectControls();

  Label lbl_LEDSwitch;  // headings
  Label lbl_LEDBre;
  Label lbl_LEDFreq;
  Label lbl_LEDcolor;
  Label lbl_Motor;
  std::array<Label, kLightingChoiceCount> labels{};
  std::array<SkinImage, kLightingChoiceCount> images{};

  RadioGroup gb4{2};
  RadioGroup gb5{3};
  RadioGroup gb9{3};
  RadioGroup gb6{8};
  RadioGroup gb8{2};
  RadioGroup gb10{2};

 private:
  void changeWorkingBlock(LightingChoice choice);

  WindowContext& context_;
};

}  // namespace korvane::app
