#pragma once

// The backend's declarations are kept apart by GIO for backend writers; the
// default backend's kind tells whether the values will be kept.
#define G_SETTINGS_ENABLE_BACKEND
#include <gio/gio.h>
#include <gio/gsettingsbackend.h>

// GIO, loaded at the first Apply rather than at process start: the window
// needs it only to hand the pointer settings to the desktop, and loading it
// with the program would cost every start its pages. GLib itself is linked:
// the toolkit loads it anyway.
namespace korvane::platform::desktop_pointer {

#define KORVANE_GIO_FUNCTIONS(X)            \
  X(g_settings_schema_source_get_default)   \
  X(g_settings_schema_source_lookup)        \
  X(g_settings_schema_unref)                \
  X(g_settings_schema_has_key)              \
  X(g_settings_new_full)                    \
  X(g_settings_set_double)                  \
  X(g_settings_set_string)                  \
  X(g_settings_set_int)                     \
  X(g_settings_sync)                        \
  X(g_settings_backend_get_default)         \
  X(g_type_name)                            \
  X(g_object_unref)                         \
  X(g_dbus_connection_new_for_address_sync) \
  X(g_dbus_connection_set_exit_on_close)    \
  X(g_dbus_connection_emit_signal)          \
  X(g_dbus_connection_flush_sync)           \
  X(g_dbus_connection_call_sync)

struct GioLibrary {
// The argument names the member: it cannot stand in parentheses.
// NOLINTNEXTLINE(bugprone-macro-parentheses)
#define KORVANE_GIO_MEMBER(name) decltype(&::name) name = nullptr;
  KORVANE_GIO_FUNCTIONS(KORVANE_GIO_MEMBER)
#undef KORVANE_GIO_MEMBER

  // The library, loaded once; nullptr when it is not installed.
  static const GioLibrary* get();
};

}  // namespace korvane::platform::desktop_pointer
