#include "platform/desktop_pointer/gsettings_sink.h"

#include "platform/desktop_pointer/gio_library.h"

#include <memory>
#include <utility>

namespace korvane::platform::desktop_pointer {

namespace {

struct SchemaRelease {
  const GioLibrary* gio;
  void operator()(GSettingsSchema* schema) const { gio->g_settings_schema_unref(schema); }
};
struct ObjectRelease {
  const GioLibrary* gio;
  void operator()(GSettings* settings) const { gio->g_object_unref(settings); }
};

constexpr const char* kSpeedKey = "speed";
constexpr const char* kProfileKey = "accel-profile";
constexpr const char* kDoubleClickKey = "double-click";

}  // namespace

GSettingsSink::GSettingsSink(std::string chosenBackend, bool sessionBus, std::string schemaId)
    : chosenBackend_(std::move(chosenBackend)),
      sessionBus_(sessionBus),
      schemaId_(std::move(schemaId)) {}

std::optional<std::string> GSettingsSink::backendProblem(std::string_view backendType,
                                                         std::string_view chosenBackend,
                                                         bool sessionBus) {
  if (!chosenBackend.empty()) {
    return std::nullopt;
  }
  if (backendType == "GMemorySettingsBackend") {
    return "no GSettings backend keeps settings here (dconf is not installed)";
  }
  if (backendType == "DConfSettingsBackend" && !sessionBus) {
    return "dconf writes through the session bus, and there is none";
  }
  return std::nullopt;
}

SinkReport GSettingsSink::apply(const settings::DesktopPointerValues& values) {
  SinkReport report;
  report.sink = "GSettings";
  const GioLibrary* gio = GioLibrary::get();
  if (gio == nullptr) {
    report.notApplied = "GIO is not installed";
    return report;
  }
  GSettingsSchemaSource* source = gio->g_settings_schema_source_get_default();
  const std::unique_ptr<GSettingsSchema, SchemaRelease> schema(
      source == nullptr ? nullptr
                        : gio->g_settings_schema_source_lookup(source, schemaId_.c_str(), TRUE),
      SchemaRelease{gio});
  if (!schema) {
    report.notApplied = "schema " + schemaId_ + " not installed";
    return report;
  }
  GSettingsBackend* backend = gio->g_settings_backend_get_default();
  const std::string backendType = gio->g_type_name(G_TYPE_FROM_INSTANCE(backend));
  gio->g_object_unref(backend);
  if (auto problem = backendProblem(backendType, chosenBackend_, sessionBus_)) {
    report.notApplied = std::move(*problem);
    return report;
  }
  const std::unique_ptr<GSettings, ObjectRelease> settings(
      gio->g_settings_new_full(schema.get(), nullptr, nullptr), ObjectRelease{gio});
  // Older schemas lack some keys; those values are skipped, not forced.
  const auto hasKey = [gio, &schema](const char* key) {
    return gio->g_settings_schema_has_key(schema.get(), key) != FALSE;
  };
  const auto set = [&report](bool written, const char* key, const std::string& text) {
    if (written) {
      report.set.push_back(std::string(key) + "=" + text);
    } else {
      report.skipped.push_back(std::string(key) + ": refused");
    }
  };

  if (!values.acceleration) {
    report.skipped.emplace_back("pointer speed: none chosen");
  } else if (hasKey(kSpeedKey)) {
    set(gio->g_settings_set_double(settings.get(), kSpeedKey, *values.acceleration) != FALSE,
        kSpeedKey, decimalText(*values.acceleration));
  } else {
    report.skipped.emplace_back("pointer speed: no setting in this schema");
  }
  if (hasKey(kProfileKey)) {
    const char* profile = values.adaptiveProfile ? "adaptive" : "flat";
    set(gio->g_settings_set_string(settings.get(), kProfileKey, profile) != FALSE, kProfileKey,
        profile);
  } else {
    report.skipped.emplace_back("pointer precision: no setting in this schema");
  }
  if (!values.doubleClickMs) {
    report.skipped.emplace_back("double-click time: none chosen");
  } else if (hasKey(kDoubleClickKey)) {
    set(gio->g_settings_set_int(settings.get(), kDoubleClickKey, *values.doubleClickMs) != FALSE,
        kDoubleClickKey, std::to_string(*values.doubleClickMs));
  } else {
    report.skipped.emplace_back("double-click time: no setting in this schema");
  }
  report.skipped.emplace_back("wheel lines: no setting on GNOME");
  // The backend writes asynchronously; a korvanectl run ends right after.
  gio->g_settings_sync();
  return report;
}

}  // namespace korvane::platform::desktop_pointer
