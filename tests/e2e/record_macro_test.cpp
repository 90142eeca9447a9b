// Recording a macro with the real program on an X server (run under
// xvfb-run): the program starts recording on the macro page while the input
// focus sits in another X client (this test's own window), keys are typed
// through XTest, and the recording is stopped with the mouse. The saved macro
// must hold exactly those keys, the other client must have received none of
// them while the recording ran (and must receive keys again afterwards), and
// korvanectl must compile the saved macro into the block the compiler gives
// for its lines.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "app/main_window_model.h"
#include "macros/compiler.h"
#include "macros/macro_file.h"
#include "support/fake_host.h"
#include "support/no_hid.h"
#include "support/recording_pointer_sink.h"

// Xlib's macros (None, Status, Bool ...) clash with Qt's names: it comes last.
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
// clang-format on

namespace fs = std::filesystem;
namespace app = korvane::app;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

constexpr auto kWaitLimit = 20s;  // for anything the program has to do
constexpr auto kKeyGap = 40ms;    // between typed keys, so every pause is recorded
constexpr auto kHold = 700ms;     // a held key: long enough for auto-repeat to start
constexpr const char* kTitle = "KorvaneDriver v1.0";

[[noreturn]] void fail(const std::string& what) {
  throw std::runtime_error(what);
}

void check(bool condition, const std::string& what) {
  if (!condition) {
    fail(what);
  }
}

// Polls `done` until it holds or the limit passes.
void waitFor(const std::function<bool()>& done, const std::string& what) {
  const auto deadline = Clock::now() + kWaitLimit;
  while (!done()) {
    if (Clock::now() > deadline) {
      fail("timed out waiting for " + what);
    }
    std::this_thread::sleep_for(20ms);
  }
}

// Where the controls lie, read from the window model the program draws.
struct Layout {
  app::Rect macroTab, macroPage, firstMacro, rec, close;
};

Layout readLayout() {
  korvane::testing::FakeHost host;
  korvane::testing::NoHid hid;
  korvane::testing::RecordingPointerSink sink;
  const fs::path nowhere = fs::temp_directory_path();
  korvane::app::MainWindowModel model(host, hid, sink, nowhere, nowhere / "korvane-driver");
  Layout layout;
  layout.macroTab = model.pnl_page[1].geometry;
  layout.macroPage = model.page_Macro.geometry;
  layout.firstMacro = model.macro.macro_list.geometry;
  layout.firstMacro.height = 19;  // one entry
  layout.rec = model.macro.lbl_REC.geometry;
  layout.close = model.btnClose.geometry;
  return layout;
}

std::string hex(const korvane::macros::MacroBlock& block) {
  std::string text;
  char digits[3];
  for (const std::uint8_t byte : block) {
    std::snprintf(digits, sizeof digits, "%02X", byte);
    text += digits;
  }
  return text;
}

std::string runAndRead(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  check(pipe != nullptr, "cannot run " + command);
  std::string output;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
    output += buffer;
  }
  check(pclose(pipe) == 0, command + " failed:\n" + output);
  return output;
}

// The program, started from its own copy of the start folder so that its
// macro folder (beside the program) and settings are the test's alone.
class Program {
 public:
  explicit Program(const fs::path& start) {
    pid_ = fork();
    check(pid_ >= 0, "fork failed");
    if (pid_ == 0) {
      const std::string config = (start / "config").string();
      const std::string trace = (start / "trace.txt").string();
      if (chdir(start.c_str()) != 0) {
        _exit(127);
      }
      setenv("KORVANE_DEVICE", "emulated", 1);
      setenv("KORVANE_EMULATOR_TRACE", trace.c_str(), 1);
      setenv("XDG_CONFIG_HOME", config.c_str(), 1);
      setenv("HOME", start.c_str(), 1);
      setenv("QT_QPA_PLATFORM", "xcb", 1);
      setenv("LC_ALL", "C.UTF-8", 1);  // no language file: the built-in texts
      execl("./korvane-driver", "korvane-driver", static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~Program() {
    if (pid_ > 0 && !exited()) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool exited() {
    if (pid_ <= 0) {
      return true;
    }
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return true;
    }
    return false;
  }

 private:
  pid_t pid_ = -1;
};

class XServer {
 public:
  XServer() : display_(XOpenDisplay(nullptr)) {
    check(display_ != nullptr, "no X display (run under xvfb-run)");
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    check(XTestQueryExtension(display_, &event, &error, &major, &minor) != 0,
          "the X server has no XTest");
  }
  ~XServer() { XCloseDisplay(display_); }
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;

  ::Display* get() const { return display_; }
  Window root() const { return DefaultRootWindow(display_); }

  // The top-level window with this title, shown; nothing yet otherwise.
  std::optional<Window> findShown(const std::string& title) const {
    Window rootReturn = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display_, root(), &rootReturn, &parent, &children, &count) == 0) {
      return std::nullopt;
    }
    std::optional<Window> found;
    for (unsigned i = 0; i < count && !found; ++i) {
      XWindowAttributes attributes;
      if (XGetWindowAttributes(display_, children[i], &attributes) == 0 ||
          attributes.map_state != IsViewable) {
        continue;
      }
      if (nameOf(children[i]) == title) {
        found = children[i];
      }
    }
    if (children != nullptr) {
      XFree(children);
    }
    return found;
  }

  std::string nameOf(Window window) const {
    Atom type = 0;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::string name;
    if (XGetWindowProperty(display_, window, XA_WM_NAME, 0, 256, False, AnyPropertyType, &type,
                           &format, &items, &after, &data) == Success &&
        data != nullptr) {
      if (format == 8) {
        name.assign(reinterpret_cast<const char*>(data), items);
      }
      XFree(data);
    }
    return name;
  }

  void click(int x, int y) const {
    XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
    XSync(display_, False);
    std::this_thread::sleep_for(50ms);
    XTestFakeButtonEvent(display_, 1, True, CurrentTime);
    XSync(display_, False);
    std::this_thread::sleep_for(30ms);
    XTestFakeButtonEvent(display_, 1, False, CurrentTime);
    XSync(display_, False);
  }

  void key(KeySym symbol, bool down) const {
    const KeyCode code = XKeysymToKeycode(display_, symbol);
    check(code != 0, "no keycode for keysym " + std::to_string(symbol));
    XTestFakeKeyEvent(display_, code, down ? True : False, CurrentTime);
    XSync(display_, False);
  }

 private:
  ::Display* display_;
};

// The other X client: a window of this test that holds the input focus and
// counts the keys it is given.
class OtherClient {
 public:
  explicit OtherClient(const XServer& display) : display_(display) {
    ::Display* d = display.get();
    window_ = XCreateSimpleWindow(d, display.root(), 0, 0, 160, 120, 0, 0, 0xFFFFFF);
    XStoreName(d, window_, "other client");
    XSelectInput(d, window_, KeyPressMask | KeyReleaseMask | FocusChangeMask | StructureNotifyMask);
    XMapWindow(d, window_);
    XSync(d, False);
    waitForEvent([](const XEvent& e) { return e.type == MapNotify; }, "the other client's window");
  }
  ~OtherClient() { XDestroyWindow(display_.get(), window_); }
  OtherClient(const OtherClient&) = delete;
  OtherClient& operator=(const OtherClient&) = delete;

  void takeFocus() {
    XSetInputFocus(display_.get(), window_, RevertToParent, CurrentTime);
    XSync(display_.get(), False);
    waitForEvent([](const XEvent& e) { return e.type == FocusIn; }, "the focus");
  }

  // Reads the events that arrived so far, counting the keys.
  void drain() {
    while (XPending(display_.get()) > 0) {
      XEvent event;
      XNextEvent(display_.get(), &event);
      note(event);
    }
  }

  void waitForEvent(const std::function<bool(const XEvent&)>& wanted, const std::string& what) {
    ::Display* d = display_.get();
    const auto deadline = Clock::now() + kWaitLimit;
    for (;;) {
      while (XPending(d) > 0) {
        XEvent event;
        XNextEvent(d, &event);
        note(event);
        if (wanted(event)) {
          return;
        }
      }
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0) {
        fail("timed out waiting for " + what);
      }
      pollfd connection{ConnectionNumber(d), POLLIN, 0};
      poll(&connection, 1, static_cast<int>(std::min<long long>(left, 100)));
    }
  }

  int keysReceived = 0;

 private:
  void note(const XEvent& event) {
    if (event.type == KeyPress || event.type == KeyRelease) {
      ++keysReceived;
    }
  }

  const XServer& display_;
  Window window_ = 0;
};

bool isGrab(const XEvent& event, int type, int mode) {
  return event.type == type && event.xfocus.mode == mode;
}

void saveScreenshot(const XServer& display, Window window, const std::string& file) {
  XWindowAttributes attributes;
  XGetWindowAttributes(display.get(), window, &attributes);
  XImage* image = XGetImage(display.get(), window, 0, 0, static_cast<unsigned>(attributes.width),
                            static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  check(image != nullptr, "cannot read the window's picture");
  QImage picture(attributes.width, attributes.height, QImage::Format_RGB32);
  for (int y = 0; y < attributes.height; ++y) {
    for (int x = 0; x < attributes.width; ++x) {
      picture.setPixel(x, y, static_cast<QRgb>(XGetPixel(image, x, y)));
    }
  }
  XDestroyImage(image);
  check(picture.save(QString::fromStdString(file)), "cannot write " + file);
}

// A recorded line matches an expected one; "0 *" stands for any pause
// longer than 0 ms.
bool matches(const std::string& line, const std::string& expected) {
  if (expected != "0 *") {
    return line == expected;
  }
  return line.size() > 2 && line.rfind("0 ", 0) == 0 &&
         line.find_first_not_of("0123456789", 2) == std::string::npos && line != "0 0";
}

void run(const fs::path& start) {
  // A macro the user keeps, selected when the recording starts.
  const korvane::macros::MacroScript kept = {"1", "1 Left Key  CODE:0071", "0 50",
                                             "2 Left Key  CODE:0071"};
  fs::create_directories(start / "Macro");
  check(!korvane::macros::writeMacroFile(start / "Macro" / "Keep.spm", kept),
        "cannot write the macro");

  const Layout layout = readLayout();
  XServer display;
  OtherClient other(display);
  Program program(start);

  std::optional<Window> main;
  waitFor([&] { return (main = display.findShown(kTitle)).has_value() || program.exited(); },
          "the main window");
  check(!program.exited(), "the program ended at start");
  // The pages can be used once the (emulated) mouse has been found: the
  // monitor's tick that reads it enables the tabs in the same step, so a
  // click sent after its first transfer reaches them.
  waitFor([&] { return fs::exists(start / "trace.txt") && fs::file_size(start / "trace.txt") > 0; },
          "the mouse to be found");

  int originX = 0;
  int originY = 0;
  Window child = 0;
  XTranslateCoordinates(display.get(), *main, display.root(), 0, 0, &originX, &originY, &child);
  const auto clickOn = [&](const app::Rect& rect, const app::Rect& parent) {
    display.click(originX + parent.x + rect.x + rect.width / 2,
                  originY + parent.y + rect.y + rect.height / 2);
    std::this_thread::sleep_for(300ms);  // the command's button feedback
  };
  const app::Rect window{};
  clickOn(layout.macroTab, window);
  clickOn(layout.firstMacro, layout.macroPage);

  other.takeFocus();
  other.drain();
  clickOn(layout.rec, layout.macroPage);
  // The program's grab takes the focus from the other client for its
  // duration.
  other.waitForEvent([](const XEvent& e) { return isGrab(e, FocusOut, NotifyGrab); },
                     "the recording to take the keyboard");

  const auto tap = [&](KeySym symbol, bool down, auto pause) {
    display.key(symbol, down);
    std::this_thread::sleep_for(pause);
  };
  tap(XK_Control_L, true, kKeyGap);
  tap(XK_a, true, kKeyGap);
  tap(XK_a, false, kKeyGap);
  tap(XK_Control_L, false, kKeyGap);
  tap(XK_Shift_R, true, kKeyGap);
  tap(XK_b, true, kHold);
  tap(XK_b, false, kKeyGap);
  tap(XK_Shift_R, false, kKeyGap);

  if (const char* shot = std::getenv("KORVANE_E2E_SCREENSHOT")) {
    saveScreenshot(display, *main, shot);
  }
  other.drain();
  check(other.keysReceived == 0, "the other client received " + std::to_string(other.keysReceived) +
                                     " key events during the recording");

  clickOn(layout.rec, layout.macroPage);
  other.waitForEvent([](const XEvent& e) { return isGrab(e, FocusIn, NotifyUngrab); },
                     "the recording to give the keyboard back");
  // The other client gets keys again: the check above could have failed.
  tap(XK_x, true, kKeyGap);
  tap(XK_x, false, kKeyGap);
  other.waitForEvent([](const XEvent& e) { return e.type == KeyRelease; },
                     "a key in the other client after the recording");

  const std::vector<std::string> expected = {
      "1",   "1 Ctrl CODE:1111", "0 *", "1 A CODE:0004",           "0 *", "2 A CODE:0004",
      "0 *", "2 Ctrl CODE:1111", "0 *", "1 Right Shift CODE:4444", "0 *", "1 B CODE:0005",
      "0 *", "2 B CODE:0005",    "0 *", "2 Right Shift CODE:4444"};
  korvane::macros::MacroScript saved;
  waitFor(
      [&] {
        saved = korvane::macros::readMacroFile(start / "Macro" / "Keep.spm").script;
        return saved != kept;
      },
      "the recording to be saved");
  std::string listing;
  for (const std::string& line : saved) {
    listing += "  " + line + "\n";
  }
  check(saved.size() == expected.size(), "the saved macro has other lines:\n" + listing);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    check(matches(saved[i], expected[i]),
          "line " + std::to_string(i) + " is not \"" + expected[i] + "\":\n" + listing);
  }
  // The pauses are the ones typed (keys 40 ms apart, one held 700 ms), not
  // the moments the program handled the keys; the held key's pause is the
  // hold, not an auto-repeat's.
  for (std::size_t i = 2; i < saved.size(); i += 2) {
    check(std::stoi(saved[i].substr(2)) >= 35, "a pause is shorter than typed:\n" + listing);
  }
  check(std::stoi(saved[12].substr(2)) >= 650, "the held key's pause is short:\n" + listing);

  // korvanectl compiles the saved macro as the compiler compiles its lines.
  const korvane::macros::Result<korvane::macros::PackedMacro> packed =
      korvane::macros::compileMacroScript(saved, 0, korvane::macros::RepeatOption{});
  check(packed.ok(), "the recorded lines do not compile");
  const std::string output =
      runAndRead(std::string(KORVANECTL_PATH) + " --dir '" + start.string() + "' --macro-dir '" +
                 (start / "Macro").string() + "' macro compile --no-repeat");
  check(output == "0\tKeep\t" + hex(packed.value().block) + "\n",
        "korvanectl compiled otherwise:\n" + output);

  clickOn(layout.close, window);
  waitFor([&] { return program.exited(); }, "the program to close");
  std::printf("recorded:\n%s", listing.c_str());
}

}  // namespace

int main() {
  char pattern[] = "/tmp/korvane-record-XXXXXX";
  const char* made = mkdtemp(pattern);
  if (made == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const fs::path start(made);
  try {
    fs::copy(KORVANE_START_DIR, start,
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    fs::remove_all(start / "Macro");
    run(start);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "FAILED: %s\n(files kept in %s)\n", error.what(), made);
    return 1;
  }
  fs::remove_all(start);
  std::puts("recorded, saved and compiled as typed; the other client received no key");
  return 0;
}
