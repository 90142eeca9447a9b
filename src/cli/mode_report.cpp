#include "cli/mode_report.h"

#include <optional>
#include <sstream>

#include "buttons/function_catalogue.h"
#include "files/hex.h"

namespace korvane::cli {

namespace {

using app::LightingChoice;
using settings::ModeBlock;

constexpr int kDpiUnit = 50;
constexpr std::array<int, 4> kReportRatesHz = {125, 250, 500, 1000};
// Lighting colour byte: 1..7 are the colours in the order of the page, 0 the cycle.
constexpr std::uint8_t kColourCycle = 0;
// The colours run from LEDcolor1 up to the cycle, which is not one of them.
constexpr int kColourCount =
    static_cast<int>(LightingChoice::LEDcolor8) - static_cast<int>(LightingChoice::LEDcolor1);

// Toggle labels draw their tick in leading blanks; the text is what matters.
std::string caption(const app::Label& label) {
  const std::size_t start = label.caption.find_first_not_of(' ');
  return start == std::string::npos ? std::string() : label.caption.substr(start);
}

// "左键", "Macro 3" ..: the caption of the menu entry that assigns these bytes.
std::optional<std::string> catalogueName(app::MainWindowModel& model,
                                         const buttons::KeyAction& action) {
  const buttons::FunctionEntry* entry = buttons::findByAction(action);
  if (entry == nullptr) {
    return std::nullopt;
  }
  std::string name(entry->builtInName);
  // Every entry's control is a label of the function menu.
  if (const app::Control* control = model.find(std::string(entry->control))) {
    name = static_cast<const app::Label*>(control)->caption;
  }
  if (entry->opensMacroDialog) {
    // The macro library numbers its entries from 1: block n is entry n + 1.
    name += " " + std::to_string(action.param1 + 1);
  }
  return name;
}

struct ModeFacts {
  int mode = 0;
  bool active = false;
  std::string name;
  std::uint8_t reportRate = 0;
  std::uint8_t dpiLevel = 0;
  std::array<int, settings::kDpiStepCount> dpiSteps{};
  std::uint8_t effect = 0;
  std::uint8_t speed = 0;
  std::uint8_t colour = 0;
  bool vibrationOn = false;
  bool vibrationStrong = false;
};

ModeFacts factsOf(app::MainWindowModel& model, int mode, const ModeBlock& block) {
  ModeFacts facts;
  facts.mode = mode;
  facts.active = model.blocks.activeMode == mode;
  facts.name = caption(model.modes.label[static_cast<std::size_t>(mode - 1)]);
  facts.reportRate = block[settings::kReportRateOffset];
  facts.dpiLevel = block[settings::kDpiLevelOffset];
  for (std::size_t i = 0; i < facts.dpiSteps.size(); ++i) {
    facts.dpiSteps[i] = block[settings::kDpiStepsOffset + i] * kDpiUnit;
  }
  const std::uint8_t lightAndMotor = block[settings::kLightAndMotorOffset];
  facts.effect = lightAndMotor & settings::kLightEffectMask;
  facts.speed = block[settings::kLightFrequencyOffset];
  facts.colour = block[settings::kLightColourOffset];
  facts.vibrationOn = (lightAndMotor & settings::kVibrationOnBit) != 0;
  facts.vibrationStrong = (lightAndMotor & settings::kVibrationStrongBit) != 0;
  return facts;
}

std::array<std::uint8_t, 3> keyBytes(const ModeBlock& block, int button) {
  const std::size_t at = settings::keyActionOffset(button);
  return {block[at], block[at + 1], block[at + 2]};
}

// The caption of choice `index` (0-based) of a run of lighting choices, or
// the raw number when the byte names none of them.
std::string lightingCaption(app::MainWindowModel& model, LightingChoice first, int count,
                            int index) {
  if (index < 0 || index >= count) {
    return std::to_string(index + 1);
  }
  return caption(
      model.lighting.label(static_cast<LightingChoice>(static_cast<int>(first) + index)));
}

std::string colourCaption(app::MainWindowModel& model, std::uint8_t colour) {
  if (colour == kColourCycle) {
    return caption(model.lighting.label(LightingChoice::LEDcolor8));
  }
  return lightingCaption(model, LightingChoice::LEDcolor1, kColourCount, colour - 1);
}

std::string reportRateText(app::MainWindowModel& model, std::uint8_t rate) {
  if (rate >= 1 && rate <= kReportRatesHz.size()) {
    return caption(model.sensitivity.lbl_hz[rate - 1U]);
  }
  return std::to_string(rate);
}

void writeText(std::ostream& out, app::MainWindowModel& model, const ModeFacts& facts,
               const ModeBlock& block) {
  app::SensitivityPage& sensitivity = model.sensitivity;
  app::LightingPage& led = model.lighting;
  out << facts.mode << ": " << facts.name << (facts.active ? " *" : "") << "\n";
  out << "  " << caption(sensitivity.lbl_report) << ": " << reportRateText(model, facts.reportRate)
      << "\n";
  out << "  " << caption(sensitivity.lbl_dpi) << ":";
  for (std::size_t i = 0; i < facts.dpiSteps.size(); ++i) {
    const bool chosen = facts.dpiLevel == i + 1;
    out << " " << (chosen ? "[" : "") << facts.dpiSteps[i] << (chosen ? "]" : "");
  }
  out << "\n";
  out << "  " << caption(led.lbl_LEDSwitch) << ": ";
  if (facts.effect == app::kLightOff) {
    out << caption(led.label(LightingChoice::LEDClose)) << "\n";
  } else {
    out << caption(led.label(LightingChoice::LEDOpen)) << ", "
        << lightingCaption(model, LightingChoice::LEDBre1, 3, facts.effect - 1) << ", "
        << lightingCaption(model, LightingChoice::LEDBre4, 3, facts.speed - 1) << ", "
        << colourCaption(model, facts.colour) << "\n";
  }
  out << "  " << caption(led.lbl_Motor) << ": "
      << caption(led.label(facts.vibrationOn ? LightingChoice::Motor1 : LightingChoice::Motor2))
      << ", "
      << caption(led.label(facts.vibrationStrong ? LightingChoice::Motor3 : LightingChoice::Motor4))
      << "\n";
  for (int button = 1; button <= settings::kButtonCount; ++button) {
    out << "  " << (button < 10 ? " " : "") << button << "  "
        << buttonName(model, keyBytes(block, button)) << "\n";
  }
}

void writePointerText(std::ostream& out, app::MainWindowModel& model) {
  app::PointerPage& pointer = model.pointer;
  const auto onOff = [&model](bool on) {
    return caption(model.lighting.label(on ? LightingChoice::LEDOpen : LightingChoice::LEDClose));
  };
  out << caption(pointer.lbl_msespeed) << ": " << pointer.spin_msespeed.position << "\n";
  out << caption(pointer.lbl_mse1) << ": " << onOff(pointer.cb_msespeed.checked) << "\n";
  out << caption(pointer.lbl_msewheel) << ": " << pointer.spin_msewheel.position << "\n";
  out << caption(pointer.lbl_mse2) << ": " << onOff(pointer.cb_msewheel.checked) << "\n";
  out << caption(pointer.lbl_msedbspeed) << ": " << pointer.spin_msedbspeed.position << "\n";
}

// A JSON string: quotes, backslashes and control characters escaped; the
// text stays UTF-8.
std::string jsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      out += "\\u00";
      files::appendHex(out, byte);
    } else {
      out += c;
    }
  }
  return out + "\"";
}

const char* jsonBool(bool value) {
  return value ? "true" : "false";
}

void writeJson(std::ostream& out, app::MainWindowModel& model, const ModeFacts& facts,
               const ModeBlock& block) {
  out << "{\"mode\":" << facts.mode << ",\"name\":" << jsonString(facts.name)
      << ",\"active\":" << jsonBool(facts.active) << ",\"reportRate\":";
  if (facts.reportRate >= 1 && facts.reportRate <= kReportRatesHz.size()) {
    out << kReportRatesHz[facts.reportRate - 1U];
  } else {
    out << "null";
  }
  out << ",\"dpiLevel\":" << static_cast<int>(facts.dpiLevel) << ",\"dpiSteps\":[";
  for (std::size_t i = 0; i < facts.dpiSteps.size(); ++i) {
    out << (i > 0 ? "," : "") << facts.dpiSteps[i];
  }
  out << "],\"lighting\":{\"on\":" << jsonBool(facts.effect != app::kLightOff)
      << ",\"effect\":" << static_cast<int>(facts.effect)
      << ",\"speed\":" << static_cast<int>(facts.speed)
      << ",\"colour\":" << static_cast<int>(facts.colour)
      << "},\"vibration\":{\"on\":" << jsonBool(facts.vibrationOn)
      << ",\"strong\":" << jsonBool(facts.vibrationStrong) << "},\"buttons\":[";
  for (int button = 1; button <= settings::kButtonCount; ++button) {
    const std::array<std::uint8_t, 3> bytes = keyBytes(block, button);
    out << (button > 1 ? "," : "") << "{\"button\":" << button
        << ",\"name\":" << jsonString(buttonName(model, bytes))
        << ",\"bytes\":" << jsonString(files::toHex(bytes)) << "}";
  }
  out << "],\"bytes\":" << jsonString(files::toHex(block)) << "}";
}

void writePointerJson(std::ostream& out, app::MainWindowModel& model) {
  app::PointerPage& pointer = model.pointer;
  out << "{\"speed\":" << pointer.spin_msespeed.position
      << ",\"precision\":" << jsonBool(pointer.cb_msespeed.checked)
      << ",\"wheel\":" << pointer.spin_msewheel.position
      << ",\"oneScreen\":" << jsonBool(pointer.cb_msewheel.checked)
      << ",\"doubleClickSpeed\":" << pointer.spin_msedbspeed.position << "}";
}

}  // namespace

std::string buttonName(app::MainWindowModel& model, std::span<const std::uint8_t, 3> bytes) {
  const buttons::KeyAction action{static_cast<buttons::KeyActionType>(bytes[0]), bytes[1],
                                  bytes[2]};
  if (std::optional<std::string> name = catalogueName(model, action)) {
    return *name;
  }
  return files::toHex(bytes, " ");
}

std::string formatModes(app::MainWindowModel& model,
                        std::span<const settings::ModeBlock, settings::kModeCount> blocks,
                        const ModeReportOptions& options) {
  std::ostringstream out;
  if (options.json) {
    out << "{\"activeMode\":";
    if (model.blocks.activeMode >= 1) {
      out << model.blocks.activeMode;
    } else {
      out << "null";
    }
    out << ",\"modes\":[";
  }
  for (int mode = 1; mode <= settings::kModeCount; ++mode) {
    const ModeBlock& block = blocks[static_cast<std::size_t>(mode - 1)];
    const ModeFacts facts = factsOf(model, mode, block);
    if (options.json) {
      out << (mode > 1 ? "," : "");
      writeJson(out, model, facts, block);
    } else {
      writeText(out, model, facts, block);
    }
  }
  if (options.json) {
    out << "]";
    if (options.pointer) {
      out << ",\"pointer\":";
      writePointerJson(out, model);
    }
    out << "}\n";
  } else if (options.pointer) {
    writePointerText(out, model);
  }
  return out.str();
}

}  // namespace korvane::cli
