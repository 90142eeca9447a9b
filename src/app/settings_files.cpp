// The settings file of each mode (configure/ModeN.ini) and the general file
// (configure/GM.ini): written from the controls and read back into them,
// where reading a value runs the control's own handler as a click would.
#include <functional>
#include <vector>

#include "app/host.h"
#include "app/main_window_model.h"
#include "app/message_texts.h"
#include "buttons/function_catalogue.h"
#include "files/file_io.h"
#include "settings/data_files.h"
#include "settings/ini_file.h"

namespace korvane::app {

namespace {

using settings::kGeneralSection;

// One key of the settings file: how it is written from the controls and
// read back into them. `read` is empty for keys that are written only.
struct SettingKey {
  std::string key;
  std::function<void(settings::IniFile&, const std::string& section)> write;
  std::function<void(const settings::IniFile&, const std::string& section)> read;
};

// A hidden radio group: written only while a choice is checked (otherwise
// the file keeps what it had); read by checking the matching choice and
// running the first checked one's handler. A missing key selects choice 0;
// a value out of range leaves the group unchecked and runs nothing.
SettingKey radioKey(const std::string& key, RadioGroup& group) {
  return {key,
          [key, &group](settings::IniFile& file, const std::string& section) {
            const int index = group.checkedIndex();
            if (index >= 0) {
              file.writeInt(section, key, index);
            }
          },
          [key, &group](const settings::IniFile& file, const std::string& section) {
            group.readIndex(file.readInt(section, key, 0));
          }};
}

SettingKey sliderKey(const std::string& key, Slider& slider,
                     const std::function<void()>& handler = {}) {
  return {key,
          [key, &slider](settings::IniFile& file, const std::string& section) {
            file.writeInt(section, key, slider.position);
          },
          [key, &slider, handler](const settings::IniFile& file, const std::string& section) {
            slider.set(file.readInt(section, key, 0));
            if (handler) {
              handler();
            }
          }};
}

SettingKey checkKey(const std::string& key, CheckBox& box,
                    const std::function<void()>& handler = {}) {
  return {key,
          [key, &box](settings::IniFile& file, const std::string& section) {
            file.writeBool(section, key, box.checked);
          },
          [key, &box, handler](const settings::IniFile& file, const std::string& section) {
            box.set(file.readBool(section, key, false));
            if (handler) {
              handler();
            }
          }};
}

// A toggle's flag: reading sets the flag to the opposite of the value and
// runs the toggle's click, which turns it back and shows its tick.
SettingKey toggleKey(const std::string& key, const std::function<bool()>& flag,
                     const std::function<void(bool)>& setFlag, const std::function<void()>& click) {
  return {key,
          [key, flag](settings::IniFile& file, const std::string& section) {
            file.writeBool(section, key, flag());
          },
          [key, setFlag, click](const settings::IniFile& file, const std::string& section) {
            setFlag(!file.readBool(section, key, false));
            click();
          }};
}

SettingKey writtenOnly(const std::string& key, const std::function<bool()>& flag) {
  return {key,
          [key, flag](settings::IniFile& file, const std::string& section) {
            file.writeBool(section, key, flag());
          },
          {}};
}

SettingKey captionKey(const std::string& key, Label& label) {
  return {key,
          [key, &label](settings::IniFile& file, const std::string& section) {
            file.writeString(section, key, label.caption);
          },
          [key, &label](const settings::IniFile& file, const std::string& section) {
            label.caption = file.readString(section, key);
          }};
}

// The keys of a settings file, in the order they are written and read.
std::vector<SettingKey> settingKeys(MainWindowModel& m) {
  std::vector<SettingKey> keys;
  for (std::size_t i = 0; i < m.keys.Key.size(); ++i) {
    keys.push_back(captionKey("Key" + std::to_string(i + 1), m.keys.Key[i]));
  }
  PointerPage& pointer = m.pointer;
  keys.push_back(
      sliderKey("Speed", pointer.spin_msespeed, [&pointer] { pointer.btnChangeRegPro1Click(); }));
  keys.push_back(
      checkKey("Enhance", pointer.cb_msespeed, [&pointer] { pointer.btnChangeRegPro1Click(); }));
  keys.push_back(writtenOnly("Mse1", [&pointer] { return pointer.mse1Flag; }));
  keys.push_back(
      sliderKey("wheel", pointer.spin_msewheel, [&pointer] { pointer.btnChangeRegPro2Click(); }));
  keys.push_back(
      checkKey("scroll", pointer.cb_msewheel, [&pointer] { pointer.cb_msewheelClick(); }));
  keys.push_back(writtenOnly("Mse2", [&pointer] { return pointer.mse2Flag; }));
  keys.push_back(sliderKey("DBSpeed", pointer.spin_msedbspeed,
                           [&pointer] { pointer.btnChangeRegPro1Click(); }));
  keys.push_back(sliderKey("wheel_X", pointer.spin_msewheel_X));
  SensitivityPage& sensitivity = m.sensitivity;
  keys.push_back(checkKey("XY", sensitivity.cb_XY));
  keys.push_back(toggleKey(
      "XYFlag", [&sensitivity] { return sensitivity.xyFlag; },
      [&sensitivity](bool value) { sensitivity.xyFlag = value; },
      [&sensitivity] { sensitivity.lbl_XY_1Click(); }));
  keys.push_back(sliderKey("XYPos", sensitivity.tb_XY));
  keys.push_back(radioKey("ReportRate", sensitivity.gb1));
  keys.push_back(radioKey("DPI", sensitivity.gb2));
  for (std::size_t i = 0; i < sensitivity.tb_step.size(); ++i) {
    keys.push_back(sliderKey("TB_Step" + std::to_string(i + 1), sensitivity.tb_step[i]));
  }
  keys.push_back(radioKey("SensorDegree", sensitivity.gb3));
  LightingPage& led = m.lighting;
  keys.push_back(radioKey("LEDSwitch", led.gb4));
  keys.push_back(radioKey("Breathe", led.gb5));
  keys.push_back(radioKey("Freq", led.gb9));
  keys.push_back(radioKey("BreatheColor", led.gb6));
  keys.push_back(radioKey("Motor", led.gb8));
  keys.push_back(radioKey("MotorStr", led.gb10));
  return keys;
}

// The general file's own keys, after the copy of the settings keys.
std::vector<SettingKey> generalKeys(MainWindowModel& m) {
  std::vector<SettingKey> keys;
  for (std::size_t i = 0; i < m.modes.label.size(); ++i) {
    keys.push_back(captionKey("Mode" + std::to_string(i + 1), m.modes.label[i]));
  }
  keys.push_back({"cbMode",
                  [&m](settings::IniFile& file, const std::string& section) {
                    const int active = m.modes.activeMode();
                    if (active >= 1) {
                      file.writeInt(section, "cbMode", active - 1);
                    }
                  },
                  [&m](const settings::IniFile& file, const std::string& section) {
                    // The panel's click marks the mode; during start-up it
                    // loads nothing. Out of range: no mode becomes active.
                    const int mode = file.readInt(section, "cbMode", 0) + 1;
                    if (mode >= 1 && mode <= kModePanelCount) {
                      m.modes.pnl_modeClick(mode);
                    }
                  }});
  MacroPage& macro = m.macro;
  keys.push_back(checkKey("Cycle_Max", macro.cbCycle_Max));
  keys.push_back(toggleKey(
      "CycleMaxFlag", [&macro] { return macro.endlessFlag(); },
      [&macro](bool value) { macro.setEndlessFlag(value); },
      [&macro] { macro.lbl_cycle_maxClick(); }));
  keys.push_back(checkKey("Cycle", macro.cbCycle));
  keys.push_back(toggleKey(
      "CycleFlag", [&macro] { return macro.countedFlag(); },
      [&macro](bool value) { macro.setCountedFlag(value); }, [&macro] { macro.lbl_cycleClick(); }));
  keys.push_back({"Cycle_Count",
                  [&macro](settings::IniFile& file, const std::string& section) {
                    file.writeString(section, "Cycle_Count", macro.edt_cycle.text);
                  },
                  [&macro](const settings::IniFile& file, const std::string& section) {
                    macro.edt_cycle.text = file.readString(section, "Cycle_Count");
                  }});
  return keys;
}

}  // namespace

std::filesystem::path MainWindowModel::generalFilePath() const {
  return settings::generalFilePath(state_.ConfigDir);
}

void MainWindowModel::ReadSettingsFile(int mode) {
  const std::filesystem::path path = settings::settingsFilePath(state_.ConfigDir, mode);
  if (!files::isRegularFile(path)) {
    return;
  }
  const settings::IniFile file = settings::IniFile::load(path, codePage_);
  if (file.tooLarge()) {
    reportTooLarge(path);
    return;
  }
  const std::string section = settings::settingsSectionName(mode);
  for (const SettingKey& key : settingKeys(*this)) {
    if (key.read) {
      key.read(file, section);
    }
  }
  // A caption saved in another language is shown in the user's.
  for (int button = 1; button <= settings::kButtonCount; ++button) {
    Label& label = keys.Key.at(static_cast<std::size_t>(button - 1));
    label.caption =
        functionNames_.shown(label.caption, button, buttons::readKeyAction(blocks.working, button));
  }
}

std::optional<std::string> MainWindowModel::WriteSettingsFile(int mode) {
  if (state_.SaveSuppressed) {
    return std::nullopt;
  }
  const std::filesystem::path path = settings::settingsFilePath(state_.ConfigDir, mode);
  settings::IniFile file = settings::IniFile::load(path, codePage_);
  const std::string section = settings::settingsSectionName(mode);
  if (std::optional<files::FileError> refused = file.writeRefusal(section)) {
    return fileErrorText(state_, refused);
  }
  for (const SettingKey& key : settingKeys(*this)) {
    key.write(file, section);
  }
  return fileErrorText(state_, file.save());
}

void MainWindowModel::ReadGeneralFile() {
  const std::filesystem::path path = generalFilePath();
  if (!files::isRegularFile(path)) {
    return;
  }
  // The copies of the settings keys at the top of the file are never read.
  const settings::IniFile file = settings::IniFile::load(path, codePage_);
  if (file.tooLarge()) {
    reportTooLarge(path);
    return;
  }
  for (const SettingKey& key : generalKeys(*this)) {
    key.read(file, kGeneralSection);
  }
}

std::optional<std::string> MainWindowModel::WriteGeneralFile() {
  if (state_.SaveSuppressed) {
    return std::nullopt;
  }
  settings::IniFile file = settings::IniFile::load(generalFilePath(), codePage_);
  if (std::optional<files::FileError> refused = file.writeRefusal(kGeneralSection)) {
    return fileErrorText(state_, refused);
  }
  for (const SettingKey& key : settingKeys(*this)) {
    key.write(file, kGeneralSection);
  }
  for (const SettingKey& key : generalKeys(*this)) {
    key.write(file, kGeneralSection);
  }
  return fileErrorText(state_, file.save());
}

}  // namespace korvane::app
