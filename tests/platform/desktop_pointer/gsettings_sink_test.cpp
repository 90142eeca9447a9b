// The GSettings sink against the installed desktop schemas, on GIO's
// in-memory backend (GSETTINGS_BACKEND=memory, set for every test).
#include <gio/gio.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/desktop_pointer/gsettings_sink.h"
#include "settings/desktop_pointer_values.h"
#include "settings/pointer_settings.h"

namespace korvane::platform::desktop_pointer {
namespace {

struct MouseSettings {
  MouseSettings() : settings(g_settings_new(kGnomeMouseSchema), g_object_unref) {}
  double speed() const { return g_settings_get_double(settings.get(), "speed"); }
  std::string profile() const {
    gchar* text = g_settings_get_string(settings.get(), "accel-profile");
    std::string value(text);
    g_free(text);
    return value;
  }
  int doubleClick() const { return g_settings_get_int(settings.get(), "double-click"); }
  std::unique_ptr<GSettings, decltype(&g_object_unref)> settings;
};

TEST(GSettingsSink, WritesTheMouseSchema) {
  ASSERT_STREQ(g_getenv("GSETTINGS_BACKEND"), "memory") << "never the desktop of the tester";
  struct Case {
    int speedPosition;
    bool precision;
    int doubleClickPosition;
    double speed;
    const char* profile;
    int doubleClick;
  };
  for (const Case& c :
       {Case{7, true, 10, 0.4, "adaptive", 270}, Case{1, false, 1, -0.8, "flat", 900},
        Case{10, true, 5, 1.0, "adaptive", 620}}) {
    const settings::RememberedPointerValues remembered{
        *settings::pointerSpeedFor(c.speedPosition), settings::precisionFor(c.precision),
        *settings::doubleClickTimeFor(c.doubleClickPosition), 3};
    GSettingsSink sink("memory", false);
    const SinkReport report = sink.apply(settings::desktopPointerValues(remembered));
    EXPECT_FALSE(report.notApplied);
    MouseSettings mouse;
    EXPECT_DOUBLE_EQ(mouse.speed(), c.speed) << c.speedPosition;
    EXPECT_EQ(mouse.profile(), c.profile);
    EXPECT_EQ(mouse.doubleClick(), c.doubleClick);
    EXPECT_EQ(report.set.size(), 3U);
    EXPECT_EQ(report.skipped, std::vector<std::string>{"wheel lines: no setting on GNOME"});
  }
}

TEST(GSettingsSink, LeavesUnchosenValuesAndMissingSchemasAlone) {
  MouseSettings mouse;
  g_settings_set_double(mouse.settings.get(), "speed", 0.25);
  g_settings_set_int(mouse.settings.get(), "double-click", 555);
  GSettingsSink sink("memory", false);
  const SinkReport report = sink.apply(settings::desktopPointerValues({}));
  EXPECT_DOUBLE_EQ(mouse.speed(), 0.25);
  EXPECT_EQ(mouse.doubleClick(), 555);
  EXPECT_EQ(mouse.profile(), "flat");
  EXPECT_EQ(report.set, std::vector<std::string>{"accel-profile=flat"});

  // GIO would end the process on a schema that is not installed.
  GSettingsSink missing("memory", false, "org.korvane.no-such-schema");
  const SinkReport none = missing.apply(settings::desktopPointerValues({}));
  EXPECT_EQ(none.notApplied, "schema org.korvane.no-such-schema not installed");
  EXPECT_TRUE(none.set.empty());
}

TEST(GSettingsSink, AppliesOnlyWhereTheBackendKeepsTheValues) {
  struct Case {
    const char* backendType;
    const char* chosen;  // GSETTINGS_BACKEND
    bool sessionBus;
    bool kept;
  };
  for (const Case& c : {Case{"DConfSettingsBackend", "", true, true},
                        Case{"DConfSettingsBackend", "", false, false},
                        Case{"GMemorySettingsBackend", "", true, false},
                        Case{"GMemorySettingsBackend", "memory", false, true},
                        Case{"GKeyfileSettingsBackend", "keyfile", false, true}}) {
    EXPECT_EQ(!GSettingsSink::backendProblem(c.backendType, c.chosen, c.sessionBus), c.kept)
        << c.backendType << " / " << c.chosen << " / " << c.sessionBus;
  }
  // The sink asks before it writes anything.
  MouseSettings mouse;
  g_settings_set_int(mouse.settings.get(), "double-click", 555);
  GSettingsSink unchosen("", true);
  const SinkReport report = unchosen.apply({0.4, true, 270, 3, false});
  EXPECT_EQ(report.notApplied, "no GSettings backend keeps settings here (dconf is not installed)");
  EXPECT_EQ(mouse.doubleClick(), 555);
}

}  // namespace
}  // namespace korvane::platform::desktop_pointer
