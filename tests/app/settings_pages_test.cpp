// The sensitivity, lighting and system pages: every change reaches the
// working block and the active mode's stored block, the hidden radio groups
// follow, and the pointer settings reach the registry and, at the end of
// Apply, the running system.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/main_window_model.h"
#include "platform/hid/emulated_mouse.h"
#include "settings/pointer_settings.h"
#include "support/fake_host.h"
#include "support/no_hid.h"
#include "support/recording_pointer_sink.h"
#include "support/temp_dir.h"

namespace korvane::app {
namespace {

using korvane::testing::FakeHost;
using korvane::testing::NoHid;
using korvane::testing::RecordingPointerSink;
using korvane::testing::TempDir;
using LC = LightingChoice;
using settings::kDesktopKeyPath;
using settings::kMouseKeyPath;

constexpr std::size_t kReservedByte = 1;

std::string fileName(const Image& image) {
  return image.picture.filename().string();
}

// A start folder with the report and lighting images, and the window model
// over it; the sink records what reaches the registry and the system.
class SettingsPages : public ::testing::Test {
 protected:
  SettingsPages() {
    for (const char* name : {"report_1", "report_2", "led_base_1", "led_base_2", "led_base_3"}) {
      start.write(std::string("skins/") + name + ".png", "png");
    }
  }

  // Start-up, then (for mode > 0) a click on that mode's panel.
  MainWindowModel& started(int mode) {
    model.FormCreate();
    if (mode > 0) {
      model.modes.pnl_modeClick(mode);
    }
    return model;
  }

  settings::ModeBlock& working() { return model.blocks.working; }

  TempDir start;
  FakeHost host;
  NoHid hid;
  RecordingPointerSink sink;
  MainWindowModel model{host, hid, sink, start.path(), start.path() / "korvane-driver"};
};

struct Handler {
  const char* name;
  std::function<void(MainWindowModel&)> run;
};

// Every handler of the two mode pages that writes the working block.
std::vector<Handler> blockHandlers() {
  std::vector<Handler> handlers;
  for (int k = 1; k <= kReportRateCount; ++k) {
    handlers.push_back({"btn_hz", [k](MainWindowModel& m) { m.sensitivity.btn_hzClick(k); }});
    handlers.push_back({"btn_level", [k](MainWindowModel& m) { m.sensitivity.btn_levelClick(k); }});
    handlers.push_back({"tb_step", [k](MainWindowModel& m) {
                          Slider& slider = m.sensitivity.tb_step[static_cast<std::size_t>(k - 1)];
                          slider.set((slider.position + 1) % kDpiStepPositions);
                        }});
  }
  for (int c = 0; c < kLightingChoiceCount; ++c) {
    handlers.push_back({"lighting choice", [c](MainWindowModel& m) {
                          m.lighting.choiceClick(static_cast<LightingChoice>(c));
                        }});
  }
  return handlers;
}

TEST_F(SettingsPages, EveryChangeIsStoredIntoTheActiveMode) {
  started(2);
  const std::vector<Handler> handlers = blockHandlers();
  for (std::size_t i = 0; i < handlers.size(); ++i) {
    SCOPED_TRACE(std::string(handlers[i].name) + " #" + std::to_string(i));
    // A reserved byte changed behind the handler's back reaches the stored
    // block only if the handler stores the working block.
    working()[kReservedByte] = static_cast<std::uint8_t>(0x40 + i);
    handlers[i].run(model);
    const settings::ModeBlock& stored = model.blocks.storedBlock(2);
    EXPECT_EQ(stored[kReservedByte], 0x40 + i);
    EXPECT_TRUE(std::equal(stored.begin() + 1, stored.end(), working().begin() + 1));
  }
}

TEST_F(SettingsPages, WithNoActiveModeOnlyTheWorkingBlockChanges) {
  started(0);
  const auto storedBefore = model.blocks.stored;
  const settings::ModeBlock workingBefore = working();
  for (const Handler& handler : blockHandlers()) {
    handler.run(model);
  }
  EXPECT_EQ(model.blocks.stored, storedBefore);
  EXPECT_NE(working(), workingBefore);
}

TEST_F(SettingsPages, TheWindowStartsWithItsDesignChoicesAndRunsNoHandler) {
  EXPECT_EQ(model.sensitivity.gb1.checked, (std::vector<bool>{false, false, false, true}));
  EXPECT_EQ(model.sensitivity.gb2.checked, (std::vector<bool>{true, false, false, false}));
  EXPECT_EQ(model.sensitivity.gb3.checkedIndex(), -1);
  EXPECT_EQ(model.lighting.gb4.checkedIndex(), 1);
  EXPECT_EQ(model.lighting.gb5.checkedIndex(), 1);
  EXPECT_EQ(model.lighting.gb9.checkedIndex(), 1);
  for (const RadioGroup* group : {&model.lighting.gb6, &model.lighting.gb8, &model.lighting.gb10}) {
    EXPECT_EQ(group->checkedIndex(), -1);
  }
  EXPECT_EQ(model.sensitivity.tb_step[0].position, 3);
  EXPECT_EQ(model.sensitivity.tb_step[3].position, 4);
  EXPECT_EQ(model.pointer.spin_msedbspeed.position, 10);
  EXPECT_EQ(model.pointer.spin_msespeed.position, 3);
  EXPECT_FALSE(model.pointer.lbl_mse1_check.visible);
  // Initial checks are state only: no byte written, nothing sent to the registry.
  EXPECT_EQ(model.blocks.working, settings::ModeBlock{});
  EXPECT_TRUE(sink.calls.empty());
  EXPECT_NE(model.find("tb_step3"), nullptr);
  EXPECT_NE(model.find("lbl_LEDcolor8"), nullptr);
  EXPECT_NE(model.find("spin_msewheel_X"), nullptr);
  EXPECT_EQ(model.find("tb_step3"), &model.sensitivity.tb_step[2]);
}

TEST_F(SettingsPages, ATypedLookupGivesTheKindAskedForOrFailsLoudly) {
  EXPECT_EQ(model.find<Slider>("tb_step3"), &model.sensitivity.tb_step[2]);
  EXPECT_EQ(model.find<Image>("btn_LEDcolor8"), &model.lighting.image(LightingChoice::LEDcolor8));
  EXPECT_EQ(model.find<Label>("lbl_125hz"), &model.sensitivity.lbl_hz[0]);
  // No such control is an ordinary answer; the wrong kind is a fault.
  EXPECT_EQ(model.find<Label>("no_such_control"), nullptr);
  EXPECT_THROW(model.find<Label>("tb_step3"), std::logic_error);
  EXPECT_THROW(model.find<Slider>("btn_LEDOpen"), std::logic_error);
}

TEST_F(SettingsPages, ReportRateShowsOnlyTheClickedImageSelected) {
  started(2);
  model.sensitivity.btn_hzClick(2);
  EXPECT_EQ(working()[settings::kReportRateOffset], 2);
  EXPECT_EQ(model.blocks.storedBlock(2)[settings::kReportRateOffset], 2);
  EXPECT_EQ(model.sensitivity.gb1.checkedIndex(), 1);
  for (std::size_t i = 0; i < kReportRateCount; ++i) {
    EXPECT_EQ(fileName(model.sensitivity.btn_hz[i]), i == 1 ? "report_2.png" : "report_1.png");
  }
  // The report images ignore the pointer.
  model.sensitivity.btn_hz[0].enter(model.state());
  EXPECT_EQ(fileName(model.sensitivity.btn_hz[0]), "report_1.png");
}

TEST_F(SettingsPages, DpiStepsFollowTheirSliders) {
  started(2);
  struct Case {
    int slider;
    int position;
    std::uint8_t byte;
  };
  for (const Case& c :
       {Case{3, 1, 24}, Case{1, 0, 16}, Case{2, 2, 32}, Case{4, 3, 48}, Case{1, 4, 64}}) {
    model.sensitivity.tb_step[static_cast<std::size_t>(c.slider - 1)].set(c.position);
    EXPECT_EQ(working()[settings::kDpiStepsOffset + static_cast<std::size_t>(c.slider - 1)], c.byte)
        << "tb_step" << c.slider << " at " << c.position;
  }
  // Setting a slider to the position it has runs nothing.
  working()[62] = 99;
  model.sensitivity.tb_step[2].set(1);
  EXPECT_EQ(working()[62], 99);
}

TEST_F(SettingsPages, DpiLevelAndSensorOrientationColourTheirButtons) {
  started(2);
  model.sensitivity.btn_levelClick(3);
  EXPECT_EQ(working()[settings::kDpiLevelOffset], 3);
  EXPECT_EQ(model.sensitivity.gb2.checkedIndex(), 2);
  EXPECT_EQ(model.sensitivity.btn_level[2].colour, kChosenColour);
  EXPECT_EQ(model.sensitivity.btn_level[0].colour, kOtherColour);

  const settings::ModeBlock workingBefore = working();
  const settings::ModeBlock storedBefore = model.blocks.storedBlock(2);
  working()[kReservedByte] = 0x77;  // would reach the stored block if it stored
  model.sensitivity.btn_sensordegreeClick(4);
  EXPECT_EQ(model.sensitivity.gb3.checkedIndex(), 3);
  EXPECT_EQ(model.sensitivity.btn_sensordegree[3].colour, kChosenColour);
  EXPECT_EQ(model.sensitivity.btn_sensordegree[0].colour, kOtherColour);
  working()[kReservedByte] = workingBefore[kReservedByte];
  EXPECT_EQ(working(), workingBefore);
  EXPECT_EQ(model.blocks.storedBlock(2), storedBefore);
}

TEST_F(SettingsPages, XyToggleAndSliderLiveOnlyInTheControls) {
  started(2);
  const settings::ModeBlock before = working();
  const std::size_t mark = sink.calls.size();
  model.sensitivity.lbl_XY_1Click();
  EXPECT_TRUE(model.sensitivity.xyFlag);
  EXPECT_TRUE(model.sensitivity.lbl_XY_1_check.visible);
  EXPECT_TRUE(model.sensitivity.cb_XY.checked);
  model.sensitivity.tb_XY.set(9);
  model.sensitivity.lbl_XY_1Click();
  EXPECT_FALSE(model.sensitivity.xyFlag);
  EXPECT_FALSE(model.sensitivity.lbl_XY_1_check.visible);
  EXPECT_FALSE(model.sensitivity.cb_XY.checked);
  EXPECT_EQ(working(), before);
  EXPECT_TRUE(sink.since(mark).empty());
}

TEST_F(SettingsPages, LightingAndVibrationChangeOnlyTheirBits) {
  struct Case {
    const char* name;
    std::uint8_t startByte5;
    std::vector<LightingChoice> clicks;
    std::uint8_t byte5;
    std::uint8_t byte6;
  };
  const std::vector<Case> cases = {
      {"vibration on", 0x03, {LC::Motor1}, 0x83, 1},
      {"weak after on", 0x03, {LC::Motor1, LC::Motor4}, 0x83, 1},
      {"strong after weak", 0x03, {LC::Motor1, LC::Motor4, LC::Motor3}, 0xC3, 1},
      {"vibration off keeps the effect", 0xC3, {LC::Motor2}, 0x43, 1},
      {"effect keeps bits 4..7", 0xF3, {LC::LEDBre1}, 0xF1, 1},
      {"lighting off keeps bits 4..7", 0xF3, {LC::LEDClose}, 0xF0, 0},
      {"off after low", 0x00, {LC::LEDBre3, LC::LEDClose}, 0x00, 0},
      {"on again is medium", 0x80, {LC::LEDBre3, LC::LEDClose, LC::LEDOpen}, 0x82, 2},
      {"speed", 0x02, {LC::LEDBre6}, 0x02, 3},
      {"fast", 0x02, {LC::LEDBre4}, 0x02, 1},
  };
  started(3);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    working()[settings::kLightAndMotorOffset] = c.startByte5;
    working()[settings::kLightFrequencyOffset] = 1;
    for (LightingChoice choice : c.clicks) {
      model.lighting.choiceClick(choice);
    }
    EXPECT_EQ(working()[settings::kLightAndMotorOffset], c.byte5);
    EXPECT_EQ(working()[settings::kLightFrequencyOffset], c.byte6);
    EXPECT_EQ(model.blocks.storedBlock(3)[settings::kLightAndMotorOffset], c.byte5);
  }
}

TEST_F(SettingsPages, ColourChoicesSetTheColourByte) {
  started(1);
  const std::array<std::uint8_t, 8> bytes = {1, 2, 3, 4, 5, 6, 7, 0};
  for (int k = 0; k < 8; ++k) {
    working()[settings::kLightColourOffset] = 0xEE;
    model.lighting.choiceClick(static_cast<LightingChoice>(static_cast<int>(LC::LEDcolor1) + k));
    EXPECT_EQ(working()[settings::kLightColourOffset], bytes[static_cast<std::size_t>(k)])
        << "colour " << k + 1;
    EXPECT_EQ(model.lighting.gb6.checkedIndex(), k);
  }
}

TEST_F(SettingsPages, LightingOffHidesTheEffectChoicesAndOnKeepsTheShownEffect) {
  started(2);
  LightingPage& page = model.lighting;
  page.choiceClick(LC::LEDBre3);
  page.choiceClick(LC::LEDClose);
  ASSERT_EQ(page.effectControls().size(), 28u);
  for (Control* control : page.effectControls()) {
    EXPECT_FALSE(control->visible);
  }
  EXPECT_TRUE(page.label(LC::LEDOpen).visible);
  EXPECT_TRUE(page.lbl_LEDBre.visible);

  page.choiceClick(LC::LEDOpen);
  for (Control* control : page.effectControls()) {
    EXPECT_TRUE(control->visible);
  }
  EXPECT_EQ(working()[settings::kLightAndMotorOffset] & settings::kLightEffectMask, 2);
  EXPECT_EQ(working()[settings::kLightFrequencyOffset], 2);
  // The effect shown is still "低".
  EXPECT_EQ(page.gb5.checkedIndex(), 2);
  EXPECT_EQ(fileName(page.image(LC::LEDBre3)), "led_base_3.png");
  EXPECT_EQ(fileName(page.image(LC::LEDBre2)), "led_base_1.png");
  EXPECT_EQ(fileName(page.image(LC::LEDOpen)), "led_base_3.png");
  EXPECT_EQ(fileName(page.image(LC::LEDClose)), "led_base_1.png");
}

TEST_F(SettingsPages, LightingImagesFollowTheirOwnGroupAndThePointer) {
  started(2);
  LightingPage& page = model.lighting;
  page.choiceClick(LC::LEDBre5);
  page.choiceClick(LC::LEDBre1);
  EXPECT_EQ(fileName(page.image(LC::LEDBre1)), "led_base_3.png");
  EXPECT_EQ(fileName(page.image(LC::LEDBre5)), "led_base_3.png");  // another group
  page.choiceEnter(LC::LEDBre2);
  EXPECT_EQ(fileName(page.image(LC::LEDBre2)), "led_base_2.png");
  page.choiceLeave(LC::LEDBre2);
  EXPECT_EQ(fileName(page.image(LC::LEDBre2)), "led_base_1.png");
  page.choiceEnter(LC::LEDBre1);
  page.choiceLeave(LC::LEDBre1);
  EXPECT_EQ(fileName(page.image(LC::LEDBre1)), "led_base_3.png");
  // The skin loader fills the images in this order.
  const std::vector<Image*> images = page.lightingImages();
  ASSERT_EQ(images.size(), 20u);
  EXPECT_EQ(images.front(), model.find("btn_LEDOpen"));
  EXPECT_EQ(images[2], model.find("btn_LEDBre1"));
  EXPECT_EQ(images[8], model.find("btn_LEDcolor1"));
  EXPECT_EQ(images.back(), model.find("btn_Motor4"));
}

TEST_F(SettingsPages, VibrationIsHiddenAndOffHidesTheStrengthChoices) {
  started(2);
  LightingPage& page = model.lighting;
  EXPECT_FALSE(page.lbl_Motor.visible);
  EXPECT_FALSE(page.label(LC::Motor1).visible);
  page.label(LC::Motor3).visible = true;
  page.image(LC::Motor4).visible = true;
  page.choiceClick(LC::Motor2);
  EXPECT_FALSE(page.label(LC::Motor3).visible);
  EXPECT_FALSE(page.image(LC::Motor4).visible);
  EXPECT_EQ(page.gb8.checkedIndex(), 1);
}

// The settings file sets the hidden groups; the first checked choice then
// runs as a click would, and a value out of range runs nothing.
TEST_F(SettingsPages, ReadingAGroupRunsItsChoice) {
  started(4);
  struct Case {
    const char* group;
    std::function<RadioGroup&()> radios;
    int value;
    std::size_t offset;
    std::uint8_t byte;
  };
  const std::vector<Case> cases = {
      {"gb1", [&]() -> RadioGroup& { return model.sensitivity.gb1; }, 0, 3, 1},
      {"gb2", [&]() -> RadioGroup& { return model.sensitivity.gb2; }, 3, 4, 4},
      {"gb5", [&]() -> RadioGroup& { return model.lighting.gb5; }, 2, 5, 0x03},
      {"gb9", [&]() -> RadioGroup& { return model.lighting.gb9; }, 0, 6, 1},
      {"gb6", [&]() -> RadioGroup& { return model.lighting.gb6; }, 7, 7, 0},
      {"gb4", [&]() -> RadioGroup& { return model.lighting.gb4; }, 1, 6, 0},
      {"gb8", [&]() -> RadioGroup& { return model.lighting.gb8; }, 0, 5, 0x80},
      {"gb10", [&]() -> RadioGroup& { return model.lighting.gb10; }, 0, 5, 0xC0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.group);
    c.radios().readIndex(c.value);
    EXPECT_EQ(working()[c.offset], c.byte);
    EXPECT_EQ(c.radios().checkedIndex(), c.value);
  }
  working()[settings::kReportRateOffset] = 2;
  model.sensitivity.gb1.readIndex(7);
  EXPECT_EQ(model.sensitivity.gb1.checkedIndex(), -1);
  EXPECT_EQ(working()[settings::kReportRateOffset], 2);
}

// --- pointer settings --------------------------------------------------------

TEST(PointerMapping, PositionsGiveTheSystemValues) {
  const std::array<int, 10> doubleClick = {900, 830, 760, 690, 620, 550, 480, 410, 340, 270};
  for (int p = 1; p <= 10; ++p) {
    EXPECT_EQ(settings::pointerSpeedFor(p), 2 * p);
    EXPECT_EQ(settings::doubleClickTimeFor(p), doubleClick[static_cast<std::size_t>(p - 1)]);
    EXPECT_EQ(settings::wheelScrollLinesFor(p, false), p);
    EXPECT_EQ(settings::wheelScrollLinesFor(p, true), -1);
  }
  for (int p : {0, -1, 11}) {
    EXPECT_EQ(settings::pointerSpeedFor(p), std::nullopt);
    EXPECT_EQ(settings::doubleClickTimeFor(p), std::nullopt);
    EXPECT_EQ(settings::wheelScrollLinesFor(p, false), std::nullopt);
  }
  EXPECT_EQ(settings::wheelScrollLinesFor(0, true), -1);
}

TEST_F(SettingsPages, PointerSpeedIsWrittenAtOnceAndAppliedLater) {
  started(1);
  PointerPage& page = model.pointer;
  const std::size_t mark = sink.calls.size();
  page.spin_msespeed.set(7);
  EXPECT_EQ(sink.since(mark), (std::vector<std::string>{
                                  "open Control Panel\\Mouse",
                                  "write Control Panel\\Mouse MouseSensitivity=14",
                                  "write Control Panel\\Mouse MouseSpeed=0",
                                  "write Control Panel\\Mouse MouseThreshold1=0",
                                  "write Control Panel\\Mouse MouseThreshold2=0",
                                  "write Control Panel\\Mouse DoubleClickSpeed=270",
                              }));
  // Position 0 writes no speed and forgets nothing.
  page.spin_msespeed.set(0);
  EXPECT_EQ(sink.registry[std::string(kMouseKeyPath)]["MouseSensitivity"], "14");
  EXPECT_EQ(page.remembered().pointerSpeed, 14);
  page.spin_msedbspeed.set(1);
  EXPECT_EQ(sink.registry[std::string(kMouseKeyPath)]["DoubleClickSpeed"], "900");

  model.ApplyClick();
  ASSERT_EQ(sink.systemCalls.size(), 4u);
  EXPECT_EQ(sink.systemCalls[0].action, settings::kSpiSetMouseSpeed);
  EXPECT_EQ(sink.systemCalls[0].pvValue, 14);
  EXPECT_EQ(sink.systemCalls[2].uiParam, 900u);
}

TEST_F(SettingsPages, OneScreenScrollingDisablesTheWheelSlider) {
  started(1);
  PointerPage& page = model.pointer;
  page.lbl_mse2Click();
  EXPECT_TRUE(page.mse2Flag);
  EXPECT_TRUE(page.lbl_mse2_check.visible);
  EXPECT_TRUE(page.cb_msewheel.checked);
  EXPECT_FALSE(page.spin_msewheel.enabled);
  EXPECT_EQ(sink.registry[std::string(kDesktopKeyPath)]["WheelScrollLines"], "-1");

  model.ApplyClick();
  ASSERT_EQ(sink.systemCalls.size(), 4u);
  EXPECT_EQ(sink.systemCalls[3],
            (settings::SystemParameterCall{settings::kSpiSetWheelScrollLines,
                                           static_cast<std::uint32_t>(settings::kWheelPageScroll),
                                           0, std::nullopt, settings::kSpifUpdateIniFile}));

  page.spin_msewheel.set(5);  // disabled on screen, but a settings file may still move it
  EXPECT_EQ(sink.registry[std::string(kDesktopKeyPath)]["WheelScrollLines"], "-1");
  page.lbl_mse2Click();
  EXPECT_TRUE(page.spin_msewheel.enabled);
  EXPECT_EQ(sink.registry[std::string(kDesktopKeyPath)]["WheelScrollLines"], "5");
}

TEST_F(SettingsPages, PrecisionTogglePassesItsTripleOnApply) {
  started(1);
  PointerPage& page = model.pointer;
  page.lbl_mse1Click();
  EXPECT_TRUE(page.cb_msespeed.checked);
  EXPECT_TRUE(page.lbl_mse1_check.visible);
  auto& mouse = sink.registry[std::string(kMouseKeyPath)];
  EXPECT_EQ(mouse["MouseSpeed"], "1");
  EXPECT_EQ(mouse["MouseThreshold1"], "6");
  EXPECT_EQ(mouse["MouseThreshold2"], "10");
  model.ApplyClick();
  ASSERT_EQ(sink.systemCalls.size(), 4u);
  EXPECT_EQ(sink.systemCalls[1].action, settings::kSpiSetMouse);
  EXPECT_EQ(sink.systemCalls[1].pvTriple, (settings::PrecisionTriple{6, 10, 1}));

  page.lbl_mse1Click();
  EXPECT_FALSE(page.cb_msespeed.checked);
  EXPECT_FALSE(page.lbl_mse1_check.visible);
  model.ApplyClick();
  ASSERT_EQ(sink.systemCalls.size(), 8u);
  EXPECT_EQ(sink.systemCalls[5].pvTriple, (settings::PrecisionTriple{0, 0, 0}));
}

TEST_F(SettingsPages, HorizontalWheelWritesNothing) {
  started(1);
  const std::size_t mark = sink.calls.size();
  model.pointer.spin_msewheel_X.set(9);
  EXPECT_TRUE(sink.since(mark).empty());
}

TEST_F(SettingsPages, AKeyThatCannotBeOpenedSkipsItsStepOnly) {
  started(1);
  sink.refused.insert(std::string(kMouseKeyPath));
  const std::size_t mark = sink.calls.size();
  model.pointer.spin_msespeed.set(7);
  model.pointer.spin_msewheel.set(5);
  EXPECT_EQ(sink.since(mark), (std::vector<std::string>{
                                  "refused Control Panel\\Mouse",
                                  "open Control Panel\\Desktop",
                                  "write Control Panel\\Desktop WheelScrollLines=5",
                              }));
  EXPECT_EQ(model.pointer.remembered().pointerSpeed, 0);
  EXPECT_EQ(model.pointer.remembered().wheelScrollLines, 5);
}

TEST_F(SettingsPages, ApplyWithoutAMouseStillEndsWithThePointerSettings) {
  started(0);
  const std::size_t mark = sink.calls.size();
  model.ApplyClick();
  EXPECT_EQ(sink.since(mark), (std::vector<std::string>{
                                  "open Control Panel\\Mouse",
                                  "write Control Panel\\Mouse MouseSensitivity=6",
                                  "write Control Panel\\Mouse MouseSpeed=0",
                                  "write Control Panel\\Mouse MouseThreshold1=0",
                                  "write Control Panel\\Mouse MouseThreshold2=0",
                                  "write Control Panel\\Mouse DoubleClickSpeed=270",
                                  "open Control Panel\\Desktop",
                                  "write Control Panel\\Desktop WheelScrollLines=3",
                                  "spi 113 0 6 2",
                                  "spi 4 0 0,0,0 2",
                                  "spi 32 270 0 2",
                                  "spi 105 3 0 1",
                              }));
  EXPECT_FALSE(host.busyVisible);
  EXPECT_TRUE(host.messages.empty());
}

// A sink that notes how many transfers the mouse had seen when the first
// pointer step began.
class SinkWatchingMouse : public RecordingPointerSink {
 public:
  explicit SinkWatchingMouse(const platform::EmulatedMouse& mouse) : mouse_(mouse) {}
  bool openKey(std::string_view keyPath) override {
    if (!transfersAtFirstStep) {
      transfersAtFirstStep = mouse_.transfers().size();
    }
    return RecordingPointerSink::openKey(keyPath);
  }
  std::optional<std::size_t> transfersAtFirstStep;

 private:
  const platform::EmulatedMouse& mouse_;
};

class ApplyWithMouse : public ::testing::Test {
 protected:
  ApplyWithMouse() {
    start.write("data/.keep", "");
    model.FormCreate();
    model.FormActivate();
    model.DetectHIDDeviceCounterTimer();
    model.modes.pnl_modeClick(2);
    mouse.clearTransfers();
  }

  TempDir start;
  FakeHost host;
  platform::EmulatedMouse mouse;
  SinkWatchingMouse sink{mouse};
  MainWindowModel model{host, mouse, sink, start.path(), start.path() / "korvane-driver"};
};

TEST_F(ApplyWithMouse, PointerSettingsComeAfterEveryModeAndMacro) {
  ASSERT_TRUE(model.Apply.enabled);  // the mouse was found
  model.ApplyClick();
  ASSERT_TRUE(sink.transfersAtFirstStep.has_value());
  EXPECT_GT(*sink.transfersAtFirstStep, 0u);
  EXPECT_EQ(*sink.transfersAtFirstStep, mouse.transfers().size());
  ASSERT_EQ(sink.systemCalls.size(), 4u);
  EXPECT_EQ(sink.systemCalls.back().action, settings::kSpiSetWheelScrollLines);
}

TEST_F(ApplyWithMouse, AFailedApplyRunsNoPointerStep) {
  const std::size_t mark = sink.calls.size();
  mouse.failTransfer(3);  // the second mode's command
  model.ApplyClick();
  EXPECT_TRUE(model.session().TransferFailed);
  EXPECT_TRUE(sink.since(mark).empty());
  EXPECT_TRUE(sink.systemCalls.empty());
}

}  // namespace
}  // namespace korvane::app
