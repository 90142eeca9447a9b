// The X server's pointer devices and their libinput properties through
// libXi, on a connection of our own made at the first Apply. libXi itself
// is loaded then too: the window needs it for nothing else.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <dlfcn.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>

#include "platform/desktop_pointer/x11_sink.h"

namespace korvane::platform::desktop_pointer {

namespace {

#define KORVANE_XI_FUNCTIONS(X) \
  X(XIQueryVersion)             \
  X(XIQueryDevice)              \
  X(XIFreeDeviceInfo)           \
  X(XIGetProperty)              \
  X(XIChangeProperty)

struct XiLibrary {
// The argument names the member: it cannot stand in parentheses.
// NOLINTNEXTLINE(bugprone-macro-parentheses)
#define KORVANE_XI_MEMBER(name) decltype(&::name) name = nullptr;
  KORVANE_XI_FUNCTIONS(KORVANE_XI_MEMBER)
#undef KORVANE_XI_MEMBER
};

std::optional<XiLibrary> loadXi() {
  // Kept for the life of the process.
  void* handle = dlopen("libXi.so.6", RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    return std::nullopt;
  }
  XiLibrary library;
  bool complete = true;
#define KORVANE_XI_LOAD(name)                                               \
  library.name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name)); \
  complete = complete && library.name != nullptr;
  KORVANE_XI_FUNCTIONS(KORVANE_XI_LOAD)
#undef KORVANE_XI_LOAD
  if (!complete) {
    return std::nullopt;
  }
  return library;
}

const XiLibrary* xiLibrary() {
  static const std::optional<XiLibrary> library = loadXi();
  return library ? &*library : nullptr;
}

// Xlib reports a refused request through a process-wide handler whose
// default ends the process; while ours is in place a refusal only counts.
int refusedRequests = 0;
int countRefusal(Display* /*display*/, XErrorEvent* /*event*/) {
  ++refusedRequests;
  return 0;
}

class ErrorTrap {
 public:
  explicit ErrorTrap(Display* display)
      : display_(display), previous_(XSetErrorHandler(countRefusal)) {
    refusedRequests = 0;
  }
  ~ErrorTrap() { XSetErrorHandler(previous_); }
  ErrorTrap(const ErrorTrap&) = delete;
  ErrorTrap& operator=(const ErrorTrap&) = delete;
  // Waits for the server's answers so far; true when none was a refusal.
  bool clean() {
    XSync(display_, False);
    return refusedRequests == 0;
  }

 private:
  Display* display_;
  int (*previous_)(Display*, XErrorEvent*);
};

// Properties hold a few values; more than this is not ours to read.
constexpr long kMaxPropertyItems = 16;

struct Property {
  Atom type = None;
  int format = 0;
  std::vector<std::uint8_t> bytes;
  unsigned long items = 0;
};

std::optional<Property> readProperty(const XiLibrary& xi, Display* display, int device, Atom name) {
  Atom type = None;
  int format = 0;
  unsigned long items = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  if (xi.XIGetProperty(display, device, name, 0, kMaxPropertyItems, False, AnyPropertyType, &type,
                       &format, &items, &after, &data) != Success) {
    return std::nullopt;
  }
  Property property{type, format, {}, items};
  if (data != nullptr) {
    if (type != None) {
      property.bytes.assign(data, data + items * static_cast<unsigned long>(format / 8));
    }
    XFree(data);
  }
  if (type == None) {
    return std::nullopt;
  }
  return property;
}

class XiInputDevices : public XInputDevices {
 public:
  explicit XiInputDevices(std::string display) : displayName_(std::move(display)) {}
  ~XiInputDevices() override {
    if (display_ != nullptr) {
      XCloseDisplay(display_);
    }
  }
  XiInputDevices(const XiInputDevices&) = delete;
  XiInputDevices& operator=(const XiInputDevices&) = delete;

  std::optional<std::string> connect() override {
    if (display_ != nullptr) {
      return std::nullopt;
    }
    if (displayName_.empty()) {
      return "no X display";
    }
    xi_ = xiLibrary();
    if (xi_ == nullptr) {
      return "libXi is not installed";
    }
    display_ = XOpenDisplay(displayName_.c_str());
    if (display_ == nullptr) {
      return "cannot open X display " + displayName_;
    }
    int opcode = 0;
    int event = 0;
    int error = 0;
    int major = 2;
    int minor = 0;
    if (XQueryExtension(display_, "XInputExtension", &opcode, &event, &error) == False ||
        xi_->XIQueryVersion(display_, &major, &minor) != Success) {
      XCloseDisplay(display_);
      display_ = nullptr;
      return "the X server has no XInput 2";
    }
    return std::nullopt;
  }

  std::vector<XPointerDevice> pointerDevices() override {
    std::vector<XPointerDevice> devices;
    // Only atoms that exist: a server without libinput devices has none.
    speedAtom_ = XInternAtom(display_, kAccelSpeedProperty, True);
    profileAtom_ = XInternAtom(display_, kAccelProfileProperty, True);
    floatAtom_ = XInternAtom(display_, "FLOAT", True);
    int count = 0;
    XIDeviceInfo* info = xi_->XIQueryDevice(display_, XIAllDevices, &count);
    if (info == nullptr) {
      return devices;
    }
    for (int i = 0; i < count; ++i) {
      if (info[i].use != XISlavePointer) {
        continue;
      }
      XPointerDevice device{info[i].deviceid, info[i].name != nullptr ? info[i].name : "", false,
                            std::nullopt};
      if (speedAtom_ != None && floatAtom_ != None) {
        const auto speed = readProperty(*xi_, display_, device.id, speedAtom_);
        device.hasAccelSpeed = speed && speed->type == floatAtom_ && speed->format == 32;
      }
      if (profileAtom_ != None) {
        if (auto profile = readProperty(*xi_, display_, device.id, profileAtom_);
            profile && profile->format == 8) {
          device.profileEnabled = std::move(profile->bytes);
        }
      }
      devices.push_back(std::move(device));
    }
    xi_->XIFreeDeviceInfo(info);
    return devices;
  }

  bool setAccelSpeed(int device, float speed) override {
    ErrorTrap trap(display_);
    // XInput 2 carries 32-bit items as 32-bit values.
    std::uint32_t bits = 0;
    static_assert(sizeof bits == sizeof speed);
    std::memcpy(&bits, &speed, sizeof bits);
    xi_->XIChangeProperty(display_, device, speedAtom_, floatAtom_, 32, XIPropModeReplace,
                          reinterpret_cast<unsigned char*>(&bits), 1);
    return trap.clean();
  }

  bool setProfileEnabled(int device, const std::vector<std::uint8_t>& flags) override {
    ErrorTrap trap(display_);
    std::vector<std::uint8_t> data = flags;
    xi_->XIChangeProperty(display_, device, profileAtom_, XA_INTEGER, 8, XIPropModeReplace,
                          data.data(), static_cast<int>(data.size()));
    return trap.clean();
  }

 private:
  std::string displayName_;
  const XiLibrary* xi_ = nullptr;
  Display* display_ = nullptr;
  Atom speedAtom_ = None;
  Atom profileAtom_ = None;
  Atom floatAtom_ = None;
};

}  // namespace

std::unique_ptr<XInputDevices> makeXInputDevices(std::string display) {
  return std::make_unique<XiInputDevices>(std::move(display));
}

}  // namespace korvane::platform::desktop_pointer
