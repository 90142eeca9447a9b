// uhid_mouse: the mouse's firmware on the kernel's /dev/uhid, so the real
// HID stack (hid, uhid, hid-generic, hidraw) sits between the programs and
// the mouse. It answers the firmware-version command, keeps the modes and
// macro blocks it is sent, sends a stored mode after a read command, and
// appends every transfer to a trace in the emulated mouse's format.
//
//   uhid_mouse [--variant NAME] [--trace FILE] [--ready FILE] [--stray]
//              [--replug-at N] [--replug-pause MS] [--version N]
//
// Variants: plain (the default), two-interfaces (commands and data writes on
// one interface, data reads on another with the same ids), no-feature,
// short-feature (4 data bytes), long-feature (16), numbered (every report
// has report id 1), silent-get, silent-set (never answers GET_REPORT or
// SET_REPORT), no-echo (the version reply is 00 00 N …, no command echo).
// --stray sends an input report (first byte 0xEE) nobody asked for whenever
// the node is opened. --replug-at N destroys the device instead of
// answering its N-th transfer and creates it again after --replug-pause ms.
// --ready FILE is written once the device exists (again after a replug).
// SIGTERM or SIGINT ends it; the device goes with it.

#include <fcntl.h>
#include <linux/uhid.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr std::uint32_t kVendorId = 0x4321;
constexpr std::uint32_t kProductId = 0x6789;
constexpr std::uint16_t kBusUsb = 0x03;

constexpr std::size_t kCommandCodeOffset = 1;
constexpr std::size_t kVersionOffset = 2;
constexpr std::size_t kDataLength = 64;
constexpr std::size_t kModeCount = 5;
constexpr std::size_t kMacroCount = 10;
constexpr std::uint8_t kNumberedReportId = 1;
constexpr std::uint8_t kStrayFirstByte = 0xEE;
constexpr std::uint8_t kReadFirmwareVersion = 0xC0;
constexpr std::uint8_t kReadModeBase = 0x80;
constexpr std::uint8_t kMacroFirstHalfBase = 0x20;
constexpr std::uint8_t kMacroSecondHalfBase = 0x30;

enum class Variant {
  Plain,
  TwoInterfaces,
  NoFeature,
  ShortFeature,
  LongFeature,
  Numbered,
  SilentGet,
  SilentSet,
  NoEcho
};

struct VariantName {
  std::string_view name;
  Variant variant;
};

constexpr std::array<VariantName, 9> kVariants = {{
    {"plain", Variant::Plain},
    {"two-interfaces", Variant::TwoInterfaces},
    {"no-feature", Variant::NoFeature},
    {"short-feature", Variant::ShortFeature},
    {"long-feature", Variant::LongFeature},
    {"numbered", Variant::Numbered},
    {"silent-get", Variant::SilentGet},
    {"silent-set", Variant::SilentSet},
    {"no-echo", Variant::NoEcho},
}};

volatile std::sig_atomic_t gStop = 0;

void onSignal(int /*signal*/) {
  gStop = 1;
}

// A vendor-page collection with the reports asked for; count 0 leaves a
// kind out.
std::vector<std::uint8_t> descriptor(std::optional<std::uint8_t> reportId, std::uint8_t inputBytes,
                                     std::uint8_t outputBytes, std::uint8_t featureBytes) {
  std::vector<std::uint8_t> d = {
      0x06, 0x00, 0xFF,  // usage page: vendor 0xFF00
      0x09, 0x01,        // usage 1
      0xA1, 0x01,        // collection: application
      0x15, 0x00,        // logical minimum 0
      0x26, 0xFF, 0x00,  // logical maximum 255
      0x75, 0x08,        // report size: 8 bits
  };
  if (reportId) {
    d.insert(d.end(), {0x85, *reportId});
  }
  const auto item = [&d](std::uint8_t usage, std::uint8_t count, std::uint8_t main) {
    if (count > 0) {
      d.insert(d.end(), {0x09, usage, 0x95, count, main, 0x02});
    }
  };
  item(0x02, inputBytes, 0x81);
  item(0x03, outputBytes, 0x91);
  item(0x04, featureBytes, 0xB1);
  d.push_back(0xC0);
  return d;
}

std::string hexLine(std::string_view kind, std::span<const std::uint8_t> bytes) {
  std::string line(kind);
  for (const std::uint8_t b : bytes) {
    std::array<char, 4> text{};
    std::snprintf(text.data(), text.size(), " %02X", b);
    line += text.data();
  }
  return line + "\n";
}

class Firmware {
 public:
  Firmware(Variant variant, std::optional<std::string> trace, std::optional<std::string> ready,
           std::uint8_t version)
      : variant_(variant),
        tracePath_(std::move(trace)),
        readyPath_(std::move(ready)),
        version_(version) {
    for (std::size_t mode = 0; mode < kModeCount; ++mode) {
      modes_[mode][0] = static_cast<std::uint8_t>(mode + 1);  // a mode holds its number
    }
  }

  bool stray = false;
  std::optional<int> replugAt;
  int replugPauseMs = 0;

  bool create() {
    const std::optional<std::uint8_t> id = variant_ == Variant::Numbered
                                               ? std::optional<std::uint8_t>(kNumberedReportId)
                                               : std::nullopt;
    std::uint8_t feature = 8;
    if (variant_ == Variant::NoFeature) {
      feature = 0;
    } else if (variant_ == Variant::ShortFeature) {
      feature = 4;
    } else if (variant_ == Variant::LongFeature) {
      feature = 16;
    }
    featureBytes_ = feature;
    if (variant_ == Variant::TwoInterfaces) {
      // Commands and data writes on the first, data reads on the second.
      if (!createOne(descriptor(id, 0, kDataLength, feature), "korvane uhid mouse commands") ||
          !createOne(descriptor(id, kDataLength, 0, 0), "korvane uhid mouse reads")) {
        return false;
      }
    } else if (!createOne(descriptor(id, kDataLength, kDataLength, feature),
                          "korvane uhid mouse")) {
      return false;
    }
    return true;
  }

  void destroy() {
    for (const int fd : fds_) {
      uhid_event event{};
      event.type = UHID_DESTROY;
      static_cast<void>(send(fd, event));
      ::close(fd);
    }
    fds_.clear();
    started_ = 0;
    if (readyPath_) {
      static_cast<void>(std::remove(readyPath_->c_str()));
    }
  }

  int run() {
    while (gStop == 0) {
      if (fds_.empty()) {
        // Unplugged: plug in again once the pause is over.
        if (std::chrono::steady_clock::now() >= replugDue_) {
          if (!create()) {
            return 1;
          }
        } else {
          ::usleep(10'000);
        }
        continue;
      }
      std::vector<pollfd> polls;
      for (const int fd : fds_) {
        polls.push_back(pollfd{fd, POLLIN, 0});
      }
      const int ready = ::poll(polls.data(), polls.size(), 100);
      if (ready < 0 && errno != EINTR) {
        std::perror("uhid_mouse: poll");
        return 1;
      }
      for (std::size_t i = 0; i < polls.size() && !fds_.empty(); ++i) {
        if ((polls[i].revents & POLLIN) != 0 && !handle(polls[i].fd)) {
          return 1;
        }
      }
    }
    destroy();
    return 0;
  }

 private:
  bool createOne(const std::vector<std::uint8_t>& rd, const char* name) {
    const int fd = ::open("/dev/uhid", O_RDWR | O_CLOEXEC);
    if (fd < 0) {
      std::perror("uhid_mouse: /dev/uhid");
      return false;
    }
    uhid_event event{};
    event.type = UHID_CREATE2;
    std::snprintf(reinterpret_cast<char*>(event.u.create2.name), sizeof event.u.create2.name, "%s",
                  name);
    event.u.create2.rd_size = static_cast<std::uint16_t>(rd.size());
    event.u.create2.bus = kBusUsb;
    event.u.create2.vendor = kVendorId;
    event.u.create2.product = kProductId;
    std::copy(rd.begin(), rd.end(), event.u.create2.rd_data);
    if (!send(fd, event)) {
      ::close(fd);
      return false;
    }
    fds_.push_back(fd);
    return true;
  }

  static bool send(int fd, const uhid_event& event) {
    const ssize_t n = ::write(fd, &event, sizeof event);
    if (n != static_cast<ssize_t>(sizeof event)) {
      std::perror("uhid_mouse: write to /dev/uhid");
      return false;
    }
    return true;
  }

  void trace(std::string_view kind, std::span<const std::uint8_t> bytes) {
    if (!tracePath_) {
      return;
    }
    std::FILE* file = std::fopen(tracePath_->c_str(), "a");
    if (file == nullptr) {
      return;
    }
    const std::string line = hexLine(kind, bytes);
    static_cast<void>(std::fputs(line.c_str(), file));
    static_cast<void>(std::fclose(file));
  }

  int inputFd() const { return fds_.back(); }

  // The N-th transfer of --replug-at: the device leaves instead of answering.
  bool unplugHere() {
    ++transfers_;
    if (!replugAt || *replugAt != transfers_) {
      return false;
    }
    destroy();
    replugDue_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(replugPauseMs);
    return true;
  }

  bool sendInput(std::span<const std::uint8_t> data) {
    uhid_event event{};
    event.type = UHID_INPUT2;
    std::size_t at = 0;
    if (variant_ == Variant::Numbered) {
      event.u.input2.data[at++] = kNumberedReportId;
    }
    std::copy(data.begin(), data.end(), event.u.input2.data + at);
    event.u.input2.size = static_cast<std::uint16_t>(at + data.size());
    if (!send(inputFd(), event)) {
      return false;
    }
    // As the host reads it: the report-id byte first (0 when unnumbered).
    std::vector<std::uint8_t> seen = {variant_ == Variant::Numbered ? kNumberedReportId
                                                                    : std::uint8_t{0}};
    seen.insert(seen.end(), data.begin(), data.end());
    trace("read", seen);
    return true;
  }

  void takeCommand(std::span<const std::uint8_t> report) {
    if (report.size() <= kCommandCodeOffset) {
      return;
    }
    lastCommand_ = report[kCommandCodeOffset];
    pendingCommand_ = lastCommand_;
  }

  void takeData(std::span<const std::uint8_t> report) {
    const std::optional<std::uint8_t> command = std::exchange(pendingCommand_, std::nullopt);
    if (!command || report.size() < 1 + kDataLength) {
      return;
    }
    const auto data = report.subspan(1, kDataLength);
    const std::uint8_t code = *command;
    if (code >= 1 && code <= kModeCount) {
      std::copy(data.begin(), data.end(), modes_[code - 1].begin());
    } else if (code >= kMacroFirstHalfBase && code < kMacroFirstHalfBase + kMacroCount) {
      std::copy(data.begin(), data.end(), macros_[code - kMacroFirstHalfBase].begin());
    } else if (code >= kMacroSecondHalfBase && code < kMacroSecondHalfBase + kMacroCount) {
      std::copy(data.begin(), data.end(),
                macros_[code - kMacroSecondHalfBase].begin() + kDataLength);
    }
  }

  bool handle(int fd) {
    uhid_event event{};
    const ssize_t n = ::read(fd, &event, sizeof event);
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN) {
        return true;
      }
      std::perror("uhid_mouse: read from /dev/uhid");
      return false;
    }
    switch (event.type) {
      case UHID_START:
        if (++started_ == static_cast<int>(fds_.size())) {
          markReady();
        }
        return true;
      case UHID_OPEN:
        // Someone opened the node: a report it did not ask for is queued for
        // it before any command.
        if (stray && fd == inputFd()) {
          return sendInput(std::array<std::uint8_t, kDataLength>{kStrayFirstByte});
        }
        return true;
      case UHID_OUTPUT: {
        const std::span<const std::uint8_t> report(event.u.output.data, event.u.output.size);
        if (unplugHere()) {
          return true;
        }
        trace("write", report);
        takeData(report);
        return true;
      }
      case UHID_SET_REPORT:
        return setReport(fd, event.u.set_report);
      case UHID_GET_REPORT:
        return getReport(fd, event.u.get_report);
      default:
        return true;
    }
  }

  bool wrongReportId(std::uint8_t rnum) const {
    return rnum != (variant_ == Variant::Numbered ? kNumberedReportId : 0);
  }

  bool setReport(int fd, const uhid_set_report_req& request) {
    if (variant_ == Variant::SilentSet || unplugHere()) {
      return true;
    }
    const std::span<const std::uint8_t> report(request.data, request.size);
    uhid_event reply{};
    reply.type = UHID_SET_REPORT_REPLY;
    reply.u.set_report_reply.id = request.id;
    if (request.rtype != UHID_FEATURE_REPORT || featureBytes_ == 0 || wrongReportId(request.rnum)) {
      reply.u.set_report_reply.err = EIO;
      return send(fd, reply);
    }
    trace("set-feature", report);
    takeCommand(report);
    if (!send(fd, reply)) {
      return false;
    }
    // A read command is answered with the mode on the input interface.
    if (lastCommand_ > kReadModeBase && lastCommand_ <= kReadModeBase + kModeCount) {
      pendingCommand_.reset();
      return sendInput(modes_[lastCommand_ - kReadModeBase - 1]);
    }
    return true;
  }

  bool getReport(int fd, const uhid_get_report_req& request) {
    if (variant_ == Variant::SilentGet || unplugHere()) {
      return true;
    }
    uhid_event reply{};
    reply.type = UHID_GET_REPORT_REPLY;
    reply.u.get_report_reply.id = request.id;
    if (request.rtype != UHID_FEATURE_REPORT || featureBytes_ == 0 || wrongReportId(request.rnum)) {
      reply.u.get_report_reply.err = EIO;
      return send(fd, reply);
    }
    const std::size_t length = 1 + featureBytes_;
    std::uint8_t* data = reply.u.get_report_reply.data;
    data[0] = request.rnum;
    if (length > kCommandCodeOffset && variant_ != Variant::NoEcho) {
      data[kCommandCodeOffset] = lastCommand_;
    }
    if (lastCommand_ == kReadFirmwareVersion && length > kVersionOffset) {
      data[kVersionOffset] = version_;
    }
    reply.u.get_report_reply.size = static_cast<std::uint16_t>(length);
    trace("get-feature", std::span<const std::uint8_t>(data, length));
    return send(fd, reply);
  }

  void markReady() {
    if (!readyPath_) {
      return;
    }
    std::FILE* file = std::fopen(readyPath_->c_str(), "w");
    if (file != nullptr) {
      static_cast<void>(std::fclose(file));
    }
  }

  Variant variant_;
  std::optional<std::string> tracePath_;
  std::optional<std::string> readyPath_;
  std::uint8_t version_;
  std::uint8_t featureBytes_ = 0;
  std::vector<int> fds_;
  int started_ = 0;
  int transfers_ = 0;
  std::chrono::steady_clock::time_point replugDue_{};
  std::uint8_t lastCommand_ = 0;
  std::optional<std::uint8_t> pendingCommand_;
  std::array<std::array<std::uint8_t, kDataLength>, kModeCount> modes_{};
  std::array<std::array<std::uint8_t, 2 * kDataLength>, kMacroCount> macros_{};
};

int usage() {
  std::fputs(
      "usage: uhid_mouse [--variant NAME] [--trace FILE] [--ready FILE] [--stray]\n"
      "                  [--replug-at N] [--replug-pause MS] [--version N]\n",
      stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  Variant variant = Variant::Plain;
  std::optional<std::string> trace;
  std::optional<std::string> ready;
  bool stray = false;
  std::optional<int> replugAt;
  int replugPauseMs = 0;
  int version = 7;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--stray") {
      stray = true;
    } else if (!hasValue) {
      return usage();
    } else if (arg == "--variant") {
      const std::string_view name = argv[++i];
      const auto* found = std::find_if(kVariants.begin(), kVariants.end(),
                                       [name](const VariantName& v) { return v.name == name; });
      if (found == kVariants.end()) {
        return usage();
      }
      variant = found->variant;
    } else if (arg == "--trace") {
      trace = argv[++i];
    } else if (arg == "--ready") {
      ready = argv[++i];
    } else if (arg == "--replug-at") {
      replugAt = std::atoi(argv[++i]);
    } else if (arg == "--replug-pause") {
      replugPauseMs = std::atoi(argv[++i]);
    } else if (arg == "--version") {
      version = std::atoi(argv[++i]);
    } else {
      return usage();
    }
  }
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);

  Firmware firmware(variant, trace, ready, static_cast<std::uint8_t>(version));
  firmware.stray = stray;
  firmware.replugAt = replugAt;
  firmware.replugPauseMs = replugPauseMs;
  if (!firmware.create()) {
    return 1;
  }
  return firmware.run();
}
