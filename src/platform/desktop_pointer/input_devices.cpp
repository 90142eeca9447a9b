#include "platform/desktop_pointer/input_devices.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

#include "files/file_io.h"

namespace korvane::platform::desktop_pointer {

namespace {

// Attribute files hold a line of a few bytes.
constexpr std::size_t kMaxAttributeBytes = 4096;

std::optional<std::string> attribute(const std::filesystem::path& file) {
  files::FileContent content = files::readFile(file, kMaxAttributeBytes);
  if (!content.bytes) {
    return std::nullopt;
  }
  std::string text = std::move(*content.bytes);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
    text.pop_back();
  }
  return text;
}

std::optional<std::uint64_t> hexNumber(std::string_view text) {
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (error != std::errc{} || end == text.data()) {
    return std::nullopt;
  }
  return value;
}

// capabilities/rel is a list of hexadecimal words, the lowest last; bits 0
// and 1 of it are the X and Y axes.
bool movesThePointer(const std::string& relativeAxes) {
  const auto space = relativeAxes.find_last_of(' ');
  const std::string_view lowest = space == std::string::npos
                                      ? std::string_view(relativeAxes)
                                      : std::string_view(relativeAxes).substr(space + 1);
  const auto bits = hexNumber(lowest);
  return bits && (*bits & 0x3U) == 0x3U;
}

}  // namespace

SysfsInputDeviceList::SysfsInputDeviceList(std::filesystem::path root) : root_(std::move(root)) {}

std::vector<InputDevice> SysfsInputDeviceList::pointerDevices() {
  std::vector<InputDevice> devices;
  std::error_code error;
  std::filesystem::directory_iterator entries(root_, error);
  if (error) {
    return devices;
  }
  for (const auto& entry : entries) {
    const std::string sysName = entry.path().filename().string();
    if (!sysName.starts_with("event")) {
      continue;
    }
    const std::filesystem::path device = entry.path() / "device";
    const auto relative = attribute(device / "capabilities" / "rel");
    const auto name = attribute(device / "name");
    const auto vendor = attribute(device / "id" / "vendor");
    const auto product = attribute(device / "id" / "product");
    if (!relative || !movesThePointer(*relative) || !name || !vendor || !product) {
      continue;
    }
    const auto vendorId = hexNumber(*vendor);
    const auto productId = hexNumber(*product);
    if (!vendorId || !productId) {
      continue;
    }
    devices.push_back({sysName, *name, static_cast<std::uint32_t>(*vendorId),
                       static_cast<std::uint32_t>(*productId)});
  }
  // The directory's order is the file system's; the event number's is stable.
  std::sort(devices.begin(), devices.end(), [](const InputDevice& a, const InputDevice& b) {
    return a.sysName.size() != b.sysName.size() ? a.sysName.size() < b.sysName.size()
                                                : a.sysName < b.sysName;
  });
  return devices;
}

}  // namespace korvane::platform::desktop_pointer
