// The KDE sink on a temporary configuration folder: the files get the
// values for an X11 and a Wayland session and keep everything else; the
// running session is told through a fake.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/desktop_pointer/input_devices.h"
#include "platform/desktop_pointer/kde_config.h"
#include "platform/desktop_pointer/kde_session.h"
#include "platform/desktop_pointer/kde_sink.h"
#include "settings/desktop_pointer_values.h"
#include "support/temp_dir.h"

namespace korvane::platform::desktop_pointer {
namespace {

using korvane::testing::TempDir;

TEST(KdeConfigText, ChangesOnlyTheKeysItSets) {
  struct Case {
    const char* what;
    const char* before;
    const char* group;
    const char* key;
    const char* after;
  };
  const Case cases[] = {
      {"a key is replaced in its own group, not in another",
       "# comment\n[Other]\nDoubleClickInterval=1\n\n[KDE]\nDoubleClickInterval=400\nx=y\n",
       "[KDE]", "DoubleClickInterval",
       "# comment\n[Other]\nDoubleClickInterval=1\n\n[KDE]\nDoubleClickInterval=V\nx=y\n"},
      {"a missing key follows the group's last line, before the blank one",
       "[KDE]\nx=y\n\n[Icons]\nTheme=breeze\n", "[KDE]", "WheelScrollLines",
       "[KDE]\nx=y\nWheelScrollLines=V\n\n[Icons]\nTheme=breeze\n"},
      {"a missing group goes at the end, after a blank line", "[Mouse]\ncursorSize=24",
       "[Libinput][1234][5678][Gaming Mouse]", "PointerAcceleration",
       "[Mouse]\ncursorSize=24\n\n[Libinput][1234][5678][Gaming Mouse]\nPointerAcceleration=V\n"},
      {"a nested group is one literal header, apart from its parent",
       "[Libinput]\nPointerAcceleration=0\n\n[Libinput][1234][5678][Gaming Mouse]\n"
       "PointerAcceleration=0.2\n",
       "[Libinput][1234][5678][Gaming Mouse]", "PointerAcceleration",
       "[Libinput]\nPointerAcceleration=0\n\n[Libinput][1234][5678][Gaming Mouse]\n"
       "PointerAcceleration=V\n"},
      {"a CR LF line keeps its end", "[KDE]\r\nWheelScrollLines=3\r\n", "[KDE]", "WheelScrollLines",
       "[KDE]\r\nWheelScrollLines=V\r\n"},
      {"an empty file", "", "[KDE]", "WheelScrollLines", "[KDE]\nWheelScrollLines=V\n"},
  };
  for (const Case& c : cases) {
    KdeConfigText config(c.before);
    config.set(c.group, c.key, "V");
    EXPECT_EQ(config.text(), c.after) << c.what;
    EXPECT_EQ(config.get(c.group, c.key), "V") << c.what;
  }
  EXPECT_EQ(KdeConfigText::header({"Libinput", "1234", "5678", "Gaming Mouse"}),
            "[Libinput][1234][5678][Gaming Mouse]");
}

class FakeInputDevices : public InputDeviceList {
 public:
  std::vector<InputDevice> pointerDevices() override { return devices; }
  std::vector<InputDevice> devices;
};

class FakeKdeSession : public KdeSession {
 public:
  std::optional<std::string> notifyMouseSettingsChanged() override {
    calls.emplace_back("notifyChange");
    return std::nullopt;
  }
  std::optional<std::string> setKWinPointer(const std::string& sysName,
                                            std::optional<double> acceleration,
                                            bool adaptive) override {
    calls.push_back("kwin " + sysName + " " + decimalText(acceleration.value_or(99)) +
                    (adaptive ? " adaptive" : " flat"));
    return kwinAnswer;
  }
  std::vector<std::string> calls;
  std::optional<std::string> kwinAnswer;
};

constexpr MouseId kMouse{0x4321, 0x6789};

class KdeSinkTest : public ::testing::Test {
 protected:
  SinkReport apply(const std::string& sessionType, const settings::DesktopPointerValues& values,
                   const std::string& desktop = "KDE") {
    DesktopEnvironment environment;
    environment.currentDesktop = desktop;
    environment.sessionType = sessionType;
    environment.configHome = config_.path().string();
    environment.home = "/nonexistent";
    KdeSink sink(environment, {kMouse}, devices_, session_);
    return sink.apply(values);
  }
  std::string read(const char* file) const { return config_.read(file); }

  TempDir config_;
  FakeInputDevices devices_;
  FakeKdeSession session_;
};

const settings::DesktopPointerValues kFast{0.4, true, 270, 3, false};
const settings::DesktopPointerValues kFlatOneScreen{-0.8, false, 900, std::nullopt, true};

TEST_F(KdeSinkTest, X11SessionWritesTheMouseGroupAndTheGlobals) {
  config_.write("kcminputrc", "[Keyboard]\nNumLock=0\n\n[Mouse]\ncursorTheme=breeze_cursors\n");
  config_.write("kdeglobals", "[General]\nColorScheme=BreezeDark\n\n[KDE]\nSingleClick=false\n");

  const SinkReport report = apply("x11", kFast);
  EXPECT_FALSE(report.notApplied);
  EXPECT_FALSE(report.error);
  EXPECT_EQ(read("kcminputrc"),
            "[Keyboard]\nNumLock=0\n\n[Mouse]\ncursorTheme=breeze_cursors\n"
            "XLbInptPointerAcceleration=0.4\nXLbInptAccelProfileFlat=false\n"
            "X11LibInputXAccelProfileFlat=false\n");
  EXPECT_EQ(read("kdeglobals"),
            "[General]\nColorScheme=BreezeDark\n\n[KDE]\nSingleClick=false\n"
            "DoubleClickInterval=270\nWheelScrollLines=3\n");
  // On X11 the X server's properties reach the running session, not KWin.
  EXPECT_EQ(session_.calls, std::vector<std::string>{"notifyChange"});

  // A second Apply replaces the values and adds nothing.
  apply("x11", kFlatOneScreen);
  KdeConfigText input(read("kcminputrc"));
  EXPECT_EQ(input.get("[Mouse]", "XLbInptPointerAcceleration"), "-0.8");
  EXPECT_EQ(input.get("[Mouse]", "XLbInptAccelProfileFlat"), "true");
  // One screen per notch has no KDE setting: the last value stays.
  EXPECT_EQ(read("kdeglobals"),
            "[General]\nColorScheme=BreezeDark\n\n[KDE]\nSingleClick=false\n"
            "DoubleClickInterval=900\nWheelScrollLines=3\n");
}

TEST_F(KdeSinkTest, WaylandSessionWritesOurMouseGroupAndTellsKWin) {
  devices_.devices = {{"event3", "Some Keyboard Mouse", 0x1111, 0x2222},
                      {"event7", "Gaming Mouse", kMouse.vendorId, kMouse.productId}};
  config_.write("kcminputrc",
                "[Libinput][4369][8738][Some Keyboard Mouse]\nPointerAcceleration=0.1\n");

  const SinkReport report = apply("wayland", kFast);
  EXPECT_FALSE(report.error);
  EXPECT_EQ(read("kcminputrc"),
            "[Libinput][4369][8738][Some Keyboard Mouse]\nPointerAcceleration=0.1\n\n"
            "[Libinput][17185][26505][Gaming Mouse]\nPointerAcceleration=0.4\n"
            "PointerAccelerationProfile=2\n");
  EXPECT_EQ(KdeConfigText(read("kdeglobals")).get("[KDE]", "DoubleClickInterval"), "270");
  EXPECT_EQ(session_.calls, (std::vector<std::string>{"kwin event7 0.4 adaptive", "notifyChange"}));

  // KWin not answering is recorded; the files stay written.
  session_.kwinAnswer = "The name org.kde.KWin was not provided";
  const SinkReport flat = apply("wayland", kFlatOneScreen);
  EXPECT_EQ(KdeConfigText(read("kcminputrc"))
                .get("[Libinput][17185][26505][Gaming Mouse]", "PointerAccelerationProfile"),
            "1");
  EXPECT_NE(std::find(flat.skipped.begin(), flat.skipped.end(),
                      "KWin device event7: The name org.kde.KWin was not provided"),
            flat.skipped.end());
  EXPECT_NE(std::find(flat.skipped.begin(), flat.skipped.end(),
                      "wheel lines: one screen per notch has no setting on KDE, the last value "
                      "stays"),
            flat.skipped.end());
}

TEST_F(KdeSinkTest, OtherDesktopsAndAnUnpluggedMouseWriteNoMouseGroup) {
  EXPECT_EQ(apply("x11", kFast, "GNOME").notApplied, "not a KDE Plasma session");
  EXPECT_TRUE(std::filesystem::is_empty(config_.path()));
  EXPECT_TRUE(session_.calls.empty());

  // "KDE" among several entries counts; the mouse is not among the devices.
  const SinkReport report = apply("wayland", kFast, "ubuntu:KDE");
  EXPECT_FALSE(report.notApplied);
  EXPECT_EQ(read("kcminputrc"), "");
  EXPECT_NE(std::find(report.skipped.begin(), report.skipped.end(),
                      "pointer speed and precision: the mouse is not connected"),
            report.skipped.end());
  EXPECT_EQ(KdeConfigText(read("kdeglobals")).get("[KDE]", "WheelScrollLines"), "3");
}

TEST_F(KdeSinkTest, AFileItCannotReadIsLeftAloneAndReported) {
  // Replacing what could not be read would lose the user's other settings.
  std::filesystem::create_directories(config_.path() / "kcminputrc");
  const SinkReport report = apply("x11", kFast);
  ASSERT_TRUE(report.error);
  EXPECT_EQ(report.error->path, config_.path() / "kcminputrc");
  EXPECT_TRUE(std::filesystem::is_directory(config_.path() / "kcminputrc"));
  // The session is not told of settings that did not all reach the files.
  EXPECT_TRUE(session_.calls.empty());
}

TEST(SysfsInputDeviceList, FindsThePointerDevicesWithTheirIds) {
  TempDir sys;
  const auto device = [&sys](const std::string& entry, const char* name, const char* rel,
                             const char* vendor) {
    sys.write(entry + "/device/name", std::string(name) + "\n");
    sys.write(entry + "/device/capabilities/rel", std::string(rel) + "\n");
    sys.write(entry + "/device/id/vendor", std::string(vendor) + "\n");
    sys.write(entry + "/device/id/product", "6789\n");
  };
  device("event12", "Gaming Mouse", "1943", "4321");
  device("event2", "Gaming Mouse Keyboard", "0", "4321");  // no axes
  device("event7", "Wheel Only", "100", "4321");           // a wheel without X and Y
  device("mouse0", "Gaming Mouse", "1943", "4321");        // not an event node
  device("event3", "Other Mouse", "0 3", "046d");          // axes in the lowest word
  SysfsInputDeviceList list(sys.path());
  EXPECT_EQ(list.pointerDevices(),
            (std::vector<InputDevice>{{"event3", "Other Mouse", 0x046d, 0x6789},
                                      {"event12", "Gaming Mouse", 0x4321, 0x6789}}));
  EXPECT_TRUE(SysfsInputDeviceList(sys.path() / "missing").pointerDevices().empty());
}

}  // namespace
}  // namespace korvane::platform::desktop_pointer
