#include "platform/hid/hidapi_backend.h"

#include <hidapi.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <fstream>
#include <iostream>
#include <span>

#include "device/report_descriptor.h"

namespace korvane::platform {

namespace {

constexpr std::string_view kHidrawPrefix = "hidraw";
constexpr const char* kDescriptorFile = "report_descriptor";
// The kernel caps descriptors at 4096 bytes; more means a wrong file.
constexpr std::size_t kMaxDescriptorBytes = 4096;

// hidapi's messages are wide; they are English, so ASCII suffices.
std::string narrow(const wchar_t* text) {
  std::string out;
  for (; text != nullptr && *text != L'\0'; ++text) {
    out += (*text >= 0 && *text < 0x80) ? static_cast<char>(*text) : '?';
  }
  return out;
}

struct EnumerationDeleter {
  void operator()(hid_device_info* list) const { hid_free_enumeration(list); }
};
using Enumeration = std::unique_ptr<hid_device_info, EnumerationDeleter>;

struct DeviceCloser {
  void operator()(hid_device* device) const { hid_close(device); }
};
using DevicePtr = std::unique_ptr<hid_device, DeviceCloser>;

class HidapiHandle : public device::HidHandle {
 public:
  HidapiHandle(DevicePtr device, std::string path, std::filesystem::path sysfsRoot)
      : device_(std::move(device)), path_(std::move(path)), sysfsRoot_(std::move(sysfsRoot)) {}

  std::optional<device::HidAttributes> attributes() override {
    const hid_device_info* info = hid_get_device_info(device_.get());
    if (info == nullptr) {
      return std::nullopt;
    }
    return device::HidAttributes{info->vendor_id, info->product_id};
  }

  std::optional<device::HidReportLengths> reportLengths() override {
    const auto& summary = descriptorSummary();
    if (!summary) {
      return std::nullopt;
    }
    return summary->lengths;
  }

  bool setFeature(std::span<const std::uint8_t> report) override {
    errno = 0;
    const int sent = hid_send_feature_report(device_.get(), report.data(), report.size());
    return succeeded(sent >= 0 && static_cast<std::size_t>(sent) == report.size());
  }

  std::optional<std::size_t> getFeature(std::span<std::uint8_t> report) override {
    if (report.empty()) {
      return std::nullopt;
    }
    errno = 0;
    const int received = hid_get_feature_report(device_.get(), report.data(), report.size());
    if (!succeeded(received > 0)) {
      return std::nullopt;
    }
    // The caller judges a short reply; the rest reads as zeros.
    const std::size_t length = std::min<std::size_t>(received, report.size());
    std::fill(report.begin() + static_cast<std::ptrdiff_t>(length), report.end(), 0);
    return length;
  }

  bool write(std::span<const std::uint8_t> report) override {
    errno = 0;
    const int written = hid_write(device_.get(), report.data(), report.size());
    return succeeded(written >= 0 && static_cast<std::size_t>(written) == report.size());
  }

  // hidraw answers ENODEV on every call once its device is gone, and the
  // node itself vanishes.
  bool disconnected() override {
    if (lastErrno_ == ENODEV) {
      return true;
    }
    std::error_code error;
    return path_.starts_with("/dev/") && !std::filesystem::exists(path_, error) && !error;
  }

  bool read(std::span<std::uint8_t> report, int timeoutMs) override {
    if (report.empty()) {
      return false;
    }
    // hidraw leaves out the report-id byte of an unnumbered report; callers
    // expect it in front, as on Windows.
    const auto& summary = descriptorSummary();
    const bool numbered = summary && summary->numberedReports;
    std::span<std::uint8_t> target = numbered ? report : report.subspan(1);
    errno = 0;
    const int received = hid_read_timeout(device_.get(), target.data(), target.size(), timeoutMs);
    if (!succeeded(received > 0)) {
      return false;  // -1 error, 0 nothing within the timeout
    }
    if (!numbered) {
      report[0] = 0;
    }
    std::fill(target.begin() + std::min<std::size_t>(received, target.size()), target.end(), 0);
    return true;
  }

 private:
  // Keeps the error of the last failed call for disconnected().
  bool succeeded(bool ok) {
    lastErrno_ = ok ? 0 : errno;
    return ok;
  }

  // Parsed on first use: counting opens every interface many times a tick and
  // never asks.
  const std::optional<device::ReportDescriptorSummary>& descriptorSummary() {
    if (!summaryRead_) {
      summaryRead_ = true;
      if (const auto descriptor = readReportDescriptor(path_, sysfsRoot_)) {
        summary_ = device::parseReportDescriptor(*descriptor);
      }
    }
    return summary_;
  }

  DevicePtr device_;
  std::string path_;
  std::filesystem::path sysfsRoot_;
  bool summaryRead_ = false;
  int lastErrno_ = 0;
  std::optional<device::ReportDescriptorSummary> summary_;
};

}  // namespace

std::optional<std::vector<std::uint8_t>> readReportDescriptor(
    const std::string& devicePath, const std::filesystem::path& sysfsRoot) {
  const std::string node = std::filesystem::path(devicePath).filename().string();
  if (node.size() <= kHidrawPrefix.size() || !node.starts_with(kHidrawPrefix)) {
    return std::nullopt;
  }
  std::ifstream in(sysfsRoot / node / "device" / kDescriptorFile, std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes;
  std::array<char, 512> chunk{};
  while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0) {
    bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + in.gcount());
    if (bytes.size() > kMaxDescriptorBytes) {
      return std::nullopt;
    }
  }
  if (in.bad()) {
    return std::nullopt;
  }
  return bytes;
}

HidapiBackend::HidapiBackend(std::filesystem::path sysfsRoot)
    : sysfsRoot_(std::move(sysfsRoot)), initialised_(hid_init() == 0) {
  if (!initialised_) {
    std::cerr << "hidapi could not be initialised: " << narrow(hid_error(nullptr)) << '\n';
  }
}

HidapiBackend::~HidapiBackend() {
  if (initialised_ && hid_exit() != 0) {
    std::cerr << "hidapi could not be shut down cleanly\n";
  }
}

std::vector<std::string> HidapiBackend::listInterfacePaths() {
  std::vector<std::string> paths;
  if (!initialised_) {
    return paths;
  }
  // Null is both "no devices" and "failure": either way, no paths.
  const Enumeration list(hid_enumerate(0, 0));
  for (const hid_device_info* info = list.get(); info != nullptr; info = info->next) {
    // hidapi lists one entry per top-level collection; an interface is one path.
    if (info->path != nullptr && std::find(paths.begin(), paths.end(), info->path) == paths.end()) {
      paths.emplace_back(info->path);
    }
  }
  return paths;
}

std::unique_ptr<device::HidHandle> HidapiBackend::open(const std::string& path) {
  if (!initialised_) {
    return nullptr;
  }
  DevicePtr device(hid_open_path(path.c_str()));
  if (device == nullptr) {
    return nullptr;
  }
  return std::make_unique<HidapiHandle>(std::move(device), path, sysfsRoot_);
}

}  // namespace korvane::platform
