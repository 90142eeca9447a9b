#include "platform/desktop_pointer/kde_session.h"

#include <gio/gio.h>

#include <filesystem>
#include <system_error>
#include <utility>

namespace korvane::platform::desktop_pointer {

namespace {

// KGlobalSettings' change types and categories: SettingsChanged, mouse.
constexpr gint32 kSettingsChanged = 3;
constexpr gint32 kSettingsMouse = 0;
// An answer that takes longer than this is not waited for.
constexpr gint kCallTimeoutMs = 500;

std::string takeMessage(GError* error) {
  std::string message = error != nullptr && error->message != nullptr ? error->message : "failed";
  g_clear_error(&error);
  return message;
}

}  // namespace

struct SessionBusKdeSession::Connection {
  explicit Connection(GDBusConnection* connection) : bus(connection) {}
  ~Connection() {
    // Signals sent last must leave before the process does.
    g_dbus_connection_flush_sync(bus, nullptr, nullptr);
    g_object_unref(bus);
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  GDBusConnection* bus;
};

SessionBusKdeSession::SessionBusKdeSession(std::string busAddress, std::string runtimeDir)
    : busAddress_(std::move(busAddress)), runtimeDir_(std::move(runtimeDir)) {}

SessionBusKdeSession::~SessionBusKdeSession() = default;

std::optional<std::string> SessionBusKdeSession::connect() {
  if (tried_) {
    return connection_ != nullptr ? std::nullopt : connectError_;
  }
  tried_ = true;
  std::string address = busAddress_;
  if (address.empty() && !runtimeDir_.empty()) {
    const std::filesystem::path socket = std::filesystem::path(runtimeDir_) / "bus";
    std::error_code ignored;
    if (std::filesystem::is_socket(socket, ignored)) {
      address = "unix:path=" + socket.string();
    }
  }
  if (address.empty()) {
    connectError_ = "no session bus";
    return connectError_;
  }
  GError* error = nullptr;
  GDBusConnection* bus = g_dbus_connection_new_for_address_sync(
      address.c_str(),
      static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                        G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
      nullptr, nullptr, &error);
  if (bus == nullptr) {
    connectError_ = "session bus: " + takeMessage(error);
    return connectError_;
  }
  g_dbus_connection_set_exit_on_close(bus, FALSE);
  connection_ = std::make_unique<Connection>(bus);
  return std::nullopt;
}

std::optional<std::string> SessionBusKdeSession::notifyMouseSettingsChanged() {
  if (auto error = connect()) {
    return error;
  }
  GError* error = nullptr;
  if (g_dbus_connection_emit_signal(
          connection_->bus, nullptr, "/KGlobalSettings", "org.kde.KGlobalSettings", "notifyChange",
          g_variant_new("(ii)", kSettingsChanged, kSettingsMouse), &error) == FALSE) {
    return takeMessage(error);
  }
  if (g_dbus_connection_flush_sync(connection_->bus, nullptr, &error) == FALSE) {
    return takeMessage(error);
  }
  return std::nullopt;
}

std::optional<std::string> SessionBusKdeSession::setKWinPointer(const std::string& sysName,
                                                                std::optional<double> acceleration,
                                                                bool adaptive) {
  if (auto error = connect()) {
    return error;
  }
  const std::string path = "/org/kde/KWin/InputDevice/" + sysName;
  const auto setProperty = [this, &path](const char* name,
                                         GVariant* value) -> std::optional<std::string> {
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_sync(
        connection_->bus, "org.kde.KWin", path.c_str(), "org.freedesktop.DBus.Properties", "Set",
        g_variant_new("(ssv)", "org.kde.KWin.InputDevice", name, value), nullptr,
        G_DBUS_CALL_FLAGS_NO_AUTO_START, kCallTimeoutMs, nullptr, &error);
    if (reply == nullptr) {
      return takeMessage(error);
    }
    g_variant_unref(reply);
    return std::nullopt;
  };
  if (acceleration) {
    if (auto error = setProperty("pointerAcceleration", g_variant_new_double(*acceleration))) {
      return error;
    }
  }
  if (auto error = setProperty(
          adaptive ? "pointerAccelerationProfileAdaptive" : "pointerAccelerationProfileFlat",
          g_variant_new_boolean(TRUE))) {
    return error;
  }
  return std::nullopt;
}

}  // namespace korvane::platform::desktop_pointer
