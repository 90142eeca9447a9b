// The X11 sink: the libinput properties go to the pointer devices that
// have them and nowhere else.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/desktop_pointer/x11_sink.h"
#include "settings/desktop_pointer_values.h"

namespace korvane::platform::desktop_pointer {
namespace {

class FakeXInputDevices : public XInputDevices {
 public:
  std::optional<std::string> connect() override { return connectAnswer; }
  std::vector<XPointerDevice> pointerDevices() override { return devices; }
  bool setAccelSpeed(int device, float speed) override {
    calls.push_back("speed " + std::to_string(device) + " " + decimalText(speed));
    return device != refusing;
  }
  bool setProfileEnabled(int device, const std::vector<std::uint8_t>& flags) override {
    std::string text;
    for (const std::uint8_t flag : flags) {
      text += std::to_string(flag);
    }
    calls.push_back("profile " + std::to_string(device) + " " + text);
    return device != refusing;
  }

  std::optional<std::string> connectAnswer;
  std::vector<XPointerDevice> devices;
  std::vector<std::string> calls;
  int refusing = -1;
};

TEST(X11Sink, SetsThePropertiesOnlyOnDevicesThatHaveThem) {
  FakeXInputDevices x;
  x.devices = {
      {6, "Virtual core XTEST pointer", false, std::nullopt},
      {9, "Gaming Mouse", true, std::vector<std::uint8_t>{1, 0}},
      {11, "Touchpad", true, std::vector<std::uint8_t>{0, 1, 0}},  // three profiles
      {12, "Speed Only", true, std::nullopt},
      {13, "Short Profile", false, std::vector<std::uint8_t>{1}},
  };
  X11Sink sink(x);

  const SinkReport flat = sink.apply({-0.8, false, 900, 3, false});
  EXPECT_FALSE(flat.notApplied);
  EXPECT_EQ(x.calls, (std::vector<std::string>{"speed 9 -0.8", "profile 9 01", "speed 11 -0.8",
                                               "profile 11 010", "speed 12 -0.8"}));
  EXPECT_EQ(flat.set.size(), 5U);

  x.calls.clear();
  x.refusing = 9;
  const SinkReport adaptive = sink.apply({std::nullopt, true, std::nullopt, std::nullopt, true});
  EXPECT_EQ(x.calls, (std::vector<std::string>{"profile 9 10", "profile 11 100"}));
  EXPECT_EQ(adaptive.skipped.front(),
            "device 9 \"Gaming Mouse\" " + std::string(kAccelProfileProperty) + ": refused");
}

TEST(X11Sink, NoDisplayOrNoLibinputDeviceAppliesNothing) {
  FakeXInputDevices x;
  x.connectAnswer = "no X display";
  X11Sink sink(x);
  EXPECT_EQ(sink.apply({0.4, true, 270, 3, false}).notApplied, "no X display");

  x.connectAnswer.reset();
  x.devices = {{2, "Virtual core XTEST pointer", false, std::nullopt}};
  EXPECT_EQ(sink.apply({0.4, true, 270, 3, false}).notApplied, "no libinput pointer device");
  EXPECT_TRUE(x.calls.empty());
}

// Run on an X server of its own (xvfb-run): its pointers are not driven by
// libinput, so the real port finds devices but none with the properties.
TEST(XiInputDevices, OnXvfbFindsNoLibinputDevice) {
  const char* display = std::getenv("DISPLAY");
  ASSERT_NE(display, nullptr) << "runs under xvfb-run";
  auto devices = makeXInputDevices(display);
  ASSERT_EQ(devices->connect(), std::nullopt);
  const std::vector<XPointerDevice> pointers = devices->pointerDevices();
  EXPECT_FALSE(pointers.empty());
  for (const XPointerDevice& device : pointers) {
    EXPECT_FALSE(device.hasAccelSpeed) << device.name;
    EXPECT_FALSE(device.profileEnabled) << device.name;
  }
  X11Sink sink(*devices);
  const SinkReport report = sink.apply({0.4, true, 270, 3, false});
  EXPECT_EQ(report.notApplied, "no libinput pointer device");
  EXPECT_FALSE(report.error);

  EXPECT_EQ(makeXInputDevices("")->connect(), "no X display");
}

}  // namespace
}  // namespace korvane::platform::desktop_pointer
