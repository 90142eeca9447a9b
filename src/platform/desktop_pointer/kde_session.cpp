#include "platform/desktop_pointer/kde_session.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/desktop_pointer/gio_library.h"

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

std::string sessionBusAddress(const std::string& busAddress, const std::string& runtimeDir) {
  if (!busAddress.empty() || runtimeDir.empty()) {
    return busAddress;
  }
  const std::filesystem::path socket = std::filesystem::path(runtimeDir) / "bus";
  std::error_code ignored;
  return std::filesystem::is_socket(socket, ignored) ? "unix:path=" + socket.string()
                                                     : std::string();
}

struct SessionBusKdeSession::Connection {
  Connection(const GioLibrary* library, GDBusConnection* connection)
      : gio(library), bus(connection) {}
  ~Connection() {
    // Signals sent last must leave before the process does.
    gio->g_dbus_connection_flush_sync(bus, nullptr, nullptr);
    gio->g_object_unref(bus);
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  const GioLibrary* gio;
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
  const std::string address = sessionBusAddress(busAddress_, runtimeDir_);
  if (address.empty()) {
    connectError_ = "no session bus";
    return connectError_;
  }
  const GioLibrary* gio = GioLibrary::get();
  if (gio == nullptr) {
    connectError_ = "GIO is not installed";
    return connectError_;
  }
  GError* error = nullptr;
  GDBusConnection* bus = gio->g_dbus_connection_new_for_address_sync(
      address.c_str(),
      static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                        G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
      nullptr, nullptr, &error);
  if (bus == nullptr) {
    connectError_ = "session bus: " + takeMessage(error);
    return connectError_;
  }
  gio->g_dbus_connection_set_exit_on_close(bus, FALSE);
  connection_ = std::make_unique<Connection>(gio, bus);
  return std::nullopt;
}

std::optional<std::string> SessionBusKdeSession::notifyMouseSettingsChanged() {
  if (auto error = connect()) {
    return error;
  }
  const GioLibrary* gio = connection_->gio;
  GError* error = nullptr;
  if (gio->g_dbus_connection_emit_signal(
          connection_->bus, nullptr, "/KGlobalSettings", "org.kde.KGlobalSettings", "notifyChange",
          g_variant_new("(ii)", kSettingsChanged, kSettingsMouse), &error) == FALSE) {
    return takeMessage(error);
  }
  if (gio->g_dbus_connection_flush_sync(connection_->bus, nullptr, &error) == FALSE) {
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
    GVariant* reply = connection_->gio->g_dbus_connection_call_sync(
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
