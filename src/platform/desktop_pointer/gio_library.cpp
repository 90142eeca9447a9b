#include "platform/desktop_pointer/gio_library.h"

#include <dlfcn.h>

#include <optional>

namespace korvane::platform::desktop_pointer {

namespace {

std::optional<GioLibrary> load() {
  // Kept for the life of the process, as GIO's types cannot be unloaded.
  void* handle = dlopen("libgio-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    return std::nullopt;
  }
  GioLibrary library;
  bool complete = true;
#define KORVANE_GIO_LOAD(name)                                              \
  library.name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name)); \
  complete = complete && library.name != nullptr;
  KORVANE_GIO_FUNCTIONS(KORVANE_GIO_LOAD)
#undef KORVANE_GIO_LOAD
  if (!complete) {
    return std::nullopt;
  }
  return library;
}

}  // namespace

const GioLibrary* GioLibrary::get() {
  static const std::optional<GioLibrary> library = load();
  return library ? &*library : nullptr;
}

}  // namespace korvane::platform::desktop_pointer
