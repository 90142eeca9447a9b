#include "platform/desktop_pointer/kde_sink.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

#include "platform/desktop_pointer/kde_config.h"

namespace korvane::platform::desktop_pointer {

namespace {

constexpr const char* kInputFile = "kcminputrc";
constexpr const char* kGlobalsFile = "kdeglobals";
// KWin's profile numbers in a mouse's own group.
constexpr int kFlatProfile = 1;
constexpr int kAdaptiveProfile = 2;

const char* boolText(bool value) {
  return value ? "true" : "false";
}

// Reads a configuration file to change it; a file that exists but cannot be
// read is left alone rather than replaced without its other settings.
std::optional<KdeConfigText> readConfig(const std::filesystem::path& file, SinkReport& report) {
  std::error_code error;
  if (!std::filesystem::exists(file, error) && !error) {
    return KdeConfigText("");
  }
  files::FileContent content = files::readFile(file);
  if (!content.bytes) {
    report.error = files::FileError{files::FileFailure::Read, file,
                                    content.tooLarge ? "larger than 1 MiB" : ""};
    return std::nullopt;
  }
  return KdeConfigText(*content.bytes);
}

bool writeConfig(const std::filesystem::path& file, const KdeConfigText& config,
                 SinkReport& report) {
  if (auto error = files::writeFileSafely(file, config.text())) {
    report.error = std::move(*error);
    return false;
  }
  return true;
}

}  // namespace

KdeSink::KdeSink(DesktopEnvironment environment, std::vector<MouseId> mouseIds,
                 InputDeviceList& devices, KdeSession& session)
    : environment_(std::move(environment)),
      mouseIds_(std::move(mouseIds)),
      devices_(devices),
      session_(session) {}

bool KdeSink::isPlasma(const DesktopEnvironment& environment) {
  std::string_view rest = environment.currentDesktop;
  while (!rest.empty()) {
    const auto colon = rest.find(':');
    if (rest.substr(0, colon) == "KDE") {
      return true;
    }
    rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
  }
  return false;
}

bool KdeSink::isWayland(const DesktopEnvironment& environment) {
  if (!environment.sessionType.empty()) {
    return environment.sessionType == "wayland";
  }
  return !environment.waylandDisplay.empty();
}

std::filesystem::path KdeSink::configFolder(const DesktopEnvironment& environment) {
  std::filesystem::path configHome(environment.configHome);
  if (configHome.is_absolute()) {
    return configHome;
  }
  const std::filesystem::path home(environment.home);
  return home.is_absolute() ? home / ".config" : std::filesystem::path();
}

SinkReport KdeSink::apply(const settings::DesktopPointerValues& values) {
  SinkReport report;
  report.sink = "KDE";
  if (!isPlasma(environment_)) {
    report.notApplied = "not a KDE Plasma session";
    return report;
  }
  const std::filesystem::path folder = configFolder(environment_);
  if (folder.empty()) {
    report.notApplied = "no configuration folder (XDG_CONFIG_HOME, HOME)";
    return report;
  }
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);

  std::vector<InputDevice> mice;
  if (isWayland(environment_)) {
    for (InputDevice& device : devices_.pointerDevices()) {
      const bool ours = std::any_of(mouseIds_.begin(), mouseIds_.end(), [&](const MouseId& id) {
        return id.vendorId == device.vendorId && id.productId == device.productId;
      });
      if (ours) {
        mice.push_back(std::move(device));
      }
    }
  }
  writeInputFile(folder, values, mice, report);
  writeGlobalsFile(folder, values, report);
  if (report.error) {
    return report;
  }

  // The running session: KWin's devices on Wayland (on X11 the libinput
  // properties of the X server do it), the global settings for the rest.
  for (const InputDevice& mouse : mice) {
    if (auto error =
            session_.setKWinPointer(mouse.sysName, values.acceleration, values.adaptiveProfile)) {
      report.skipped.push_back("KWin device " + mouse.sysName + ": " + *error);
    } else {
      report.set.push_back("KWin device " + mouse.sysName);
    }
  }
  if (auto error = session_.notifyMouseSettingsChanged()) {
    report.skipped.push_back("change signal: " + *error);
  } else {
    report.set.emplace_back("change signal");
  }
  return report;
}

void KdeSink::writeInputFile(const std::filesystem::path& folder,
                             const settings::DesktopPointerValues& values,
                             const std::vector<InputDevice>& mice, SinkReport& report) {
  const std::filesystem::path file = folder / kInputFile;
  std::optional<KdeConfigText> config = readConfig(file, report);
  if (!config) {
    return;
  }
  const std::string acceleration =
      values.acceleration ? decimalText(*values.acceleration) : std::string();
  if (isWayland(environment_)) {
    if (mice.empty()) {
      report.skipped.emplace_back("pointer speed and precision: the mouse is not connected");
      return;
    }
    for (const InputDevice& mouse : mice) {
      const std::string group =
          KdeConfigText::header({"Libinput", std::to_string(mouse.vendorId),
                                 std::to_string(mouse.productId), mouse.name});
      if (values.acceleration) {
        config->set(group, "PointerAcceleration", acceleration);
        report.set.push_back(group + " PointerAcceleration=");
        report.set.back() += acceleration;
      }
      const std::string profile =
          std::to_string(values.adaptiveProfile ? kAdaptiveProfile : kFlatProfile);
      config->set(group, "PointerAccelerationProfile", profile);
      report.set.push_back(group + " PointerAccelerationProfile=");
      report.set.back() += profile;
    }
  } else {
    const std::string group = KdeConfigText::header({"Mouse"});
    if (values.acceleration) {
      config->set(group, "XLbInptPointerAcceleration", acceleration);
      report.set.push_back("XLbInptPointerAcceleration=" + acceleration);
    }
    // Plasma has read the flat profile under both names over the years.
    const char* flat = boolText(!values.adaptiveProfile);
    config->set(group, "XLbInptAccelProfileFlat", flat);
    config->set(group, "X11LibInputXAccelProfileFlat", flat);
    report.set.push_back(std::string("XLbInptAccelProfileFlat=") + flat);
  }
  if (!values.acceleration) {
    report.skipped.emplace_back("pointer speed: none chosen");
  }
  writeConfig(file, *config, report);
}

void KdeSink::writeGlobalsFile(const std::filesystem::path& folder,
                               const settings::DesktopPointerValues& values, SinkReport& report) {
  if (!values.doubleClickMs) {
    report.skipped.emplace_back("double-click time: none chosen");
  }
  if (values.wheelOneScreen) {
    report.skipped.emplace_back(
        "wheel lines: one screen per notch has no setting on KDE, the last value stays");
  } else if (!values.wheelLines) {
    report.skipped.emplace_back("wheel lines: none chosen");
  }
  if (!values.doubleClickMs && !values.wheelLines) {
    return;
  }
  const std::filesystem::path file = folder / kGlobalsFile;
  std::optional<KdeConfigText> config = readConfig(file, report);
  if (!config) {
    return;
  }
  const std::string group = KdeConfigText::header({"KDE"});
  if (values.doubleClickMs) {
    config->set(group, "DoubleClickInterval", std::to_string(*values.doubleClickMs));
    report.set.push_back("DoubleClickInterval=" + std::to_string(*values.doubleClickMs));
  }
  if (values.wheelLines) {
    config->set(group, "WheelScrollLines", std::to_string(*values.wheelLines));
    report.set.push_back("WheelScrollLines=" + std::to_string(*values.wheelLines));
  }
  writeConfig(file, *config, report);
}

}  // namespace korvane::platform::desktop_pointer
