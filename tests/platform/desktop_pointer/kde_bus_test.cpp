// The KDE session over a private session bus (run under dbus-run-session):
// the change signal reaches a listener, a missing KWin or a missing bus is
// an answer, never a wait or an abort.
#include <gio/gio.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/desktop_pointer/kde_session.h"
#include "support/temp_dir.h"

namespace korvane::platform::desktop_pointer {
namespace {

struct Heard {
  std::vector<std::string> signals;
  bool timedOut = false;
};

void onSignal(GDBusConnection* /*connection*/, const gchar* /*sender*/, const gchar* path,
              const gchar* interface, const gchar* member, GVariant* parameters, gpointer data) {
  auto* heard = static_cast<Heard*>(data);
  gint32 type = -1;
  gint32 argument = -1;
  g_variant_get(parameters, "(ii)", &type, &argument);
  heard->signals.push_back(std::string(path) + " " + interface + "." + member + " " +
                           std::to_string(type) + " " + std::to_string(argument));
}

gboolean onTimeout(gpointer data) {
  static_cast<Heard*>(data)->timedOut = true;
  return G_SOURCE_REMOVE;
}

TEST(SessionBusKdeSession, TheChangeSignalReachesTheSession) {
  const char* address = g_getenv("DBUS_SESSION_BUS_ADDRESS");
  ASSERT_NE(address, nullptr) << "runs under dbus-run-session";

  GError* error = nullptr;
  GDBusConnection* listener = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
  ASSERT_NE(listener, nullptr) << (error != nullptr ? error->message : "");
  Heard heard;
  const guint subscription = g_dbus_connection_signal_subscribe(
      listener, nullptr, "org.kde.KGlobalSettings", "notifyChange", "/KGlobalSettings", nullptr,
      G_DBUS_SIGNAL_FLAGS_NONE, onSignal, &heard, nullptr);
  // The bus must know of the subscription before the signal is sent.
  g_dbus_connection_flush_sync(listener, nullptr, nullptr);
  GVariant* ping = g_dbus_connection_call_sync(
      listener, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "GetId",
      nullptr, nullptr, G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
  if (ping != nullptr) {
    g_variant_unref(ping);
  }

  {
    SessionBusKdeSession session(address, "");
    EXPECT_EQ(session.notifyMouseSettingsChanged(), std::nullopt);
    // No KWin on this bus: an answer, not a wait.
    const auto kwin = session.setKWinPointer("event7", 0.4, true);
    ASSERT_TRUE(kwin.has_value());
    EXPECT_NE(kwin->find("org.kde.KWin"), std::string::npos) << *kwin;
  }

  // The signal is dispatched from this thread's main context; the bound is
  // only for a signal that never comes.
  const guint timeout = g_timeout_add_seconds(10, onTimeout, &heard);
  while (heard.signals.empty() && !heard.timedOut) {
    g_main_context_iteration(nullptr, TRUE);
  }
  if (!heard.timedOut) {
    g_source_remove(timeout);
  }
  EXPECT_EQ(heard.signals,
            std::vector<std::string>{"/KGlobalSettings org.kde.KGlobalSettings.notifyChange 3 0"});
  g_dbus_connection_signal_unsubscribe(listener, subscription);
  g_object_unref(listener);
}

TEST(SessionBusKdeSession, NoBusIsAnAnswer) {
  korvane::testing::TempDir runtime;  // holds no bus socket
  SessionBusKdeSession session("", runtime.path().string());
  EXPECT_EQ(session.notifyMouseSettingsChanged(), "no session bus");
  EXPECT_EQ(session.setKWinPointer("event7", 0.4, true), "no session bus");
}

}  // namespace
}  // namespace korvane::platform::desktop_pointer
