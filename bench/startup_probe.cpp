// Starts a program under X and reports, on one line:
//   <ms to the first 901 × 681 window mapped> <ms until its pixels were final>
//   <VmHWM in kB, read --hwm-after ms after mapping>
// "Final" is the content the window still shows --settle ms after mapping;
// the window is grabbed about every 4 ms until then. The program is ended
// with SIGTERM afterwards. Used by bench/run for the program and its floor
// alike, so both are measured the same way.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 901;
constexpr int kHeight = 681;

double msSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::uint64_t hashWindow(Display* display, Window window) {
  XImage* image = XGetImage(display, window, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
  if (image == nullptr) {
    return 0;
  }
  std::uint64_t hash = 1469598103934665603ULL;
  const std::size_t bytes = static_cast<std::size_t>(image->bytes_per_line) * kHeight;
  for (std::size_t i = 0; i < bytes; i += 4) {
    std::uint32_t word = 0;
    std::memcpy(&word, image->data + i, 4);
    hash = (hash ^ word) * 1099511628211ULL;
  }
  XDestroyImage(image);
  return hash;
}

long vmHwmKb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) {
      return std::strtol(line.c_str() + 6, nullptr, 10);
    }
  }
  return -1;
}

}  // namespace

int main(int argc, char* argv[]) {
  int settleMs = 1500;
  int hwmAfterMs = 3000;
  int first = 1;
  for (; first < argc; ++first) {
    const std::string arg = argv[first];
    if (arg == "--settle" && first + 1 < argc) {
      settleMs = std::atoi(argv[++first]);
    } else if (arg == "--hwm-after" && first + 1 < argc) {
      hwmAfterMs = std::atoi(argv[++first]);
    } else if (arg == "--") {
      ++first;
      break;
    } else {
      break;
    }
  }
  if (first >= argc) {
    std::fprintf(stderr, "usage: %s [--settle ms] [--hwm-after ms] -- program [args]\n", argv[0]);
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "no X display\n");
    return 2;
  }
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);

  const Clock::time_point start = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    execvp(argv[first], argv + first);
    _exit(127);
  }

  Window window = 0;
  double mappedMs = -1;
  while (window == 0) {
    if (XPending(display) == 0) {
      pollfd ready{ConnectionNumber(display), POLLIN, 0};
      if (poll(&ready, 1, 20000) <= 0) {
        break;
      }
    }
    XEvent event;
    XNextEvent(display, &event);
    if (event.type != MapNotify) {
      continue;
    }
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, event.xmap.window, &attributes) != 0 &&
        attributes.width == kWidth && attributes.height == kHeight) {
      window = event.xmap.window;
      mappedMs = msSince(start);
    }
  }
  if (window == 0) {
    std::fprintf(stderr, "no window was mapped\n");
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return 1;
  }

  std::vector<std::pair<double, std::uint64_t>> grabs;
  while (msSince(start) < mappedMs + settleMs) {
    const std::uint64_t hash = hashWindow(display, window);
    grabs.emplace_back(msSince(start), hash);
    std::this_thread::sleep_for(std::chrono::milliseconds(4));
  }
  double drawnMs = grabs.back().first;
  for (const auto& [ms, hash] : grabs) {
    if (hash == grabs.back().second) {
      drawnMs = ms;
      break;
    }
  }

  const double hwmAt = mappedMs + hwmAfterMs;
  while (msSince(start) < hwmAt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  const long hwm = vmHwmKb(pid);
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
  XCloseDisplay(display);
  std::printf("%.1f %.1f %ld\n", mappedMs, drawnMs, hwm);
  return 0;
}
