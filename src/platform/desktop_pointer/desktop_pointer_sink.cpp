#include "platform/desktop_pointer/desktop_pointer_sink.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <utility>

#include "settings/code_page.h"
#include "settings/ini_file.h"

namespace korvane::platform::desktop_pointer {

namespace {

std::string joined(const std::vector<std::string>& items, std::string_view separator) {
  std::string text;
  for (const std::string& item : items) {
    if (!text.empty()) {
      text += separator;
    }
    text += item;
  }
  return text;
}

std::string outcomeText(const SinkReport& report) {
  if (report.notApplied) {
    return "not applied: " + *report.notApplied;
  }
  if (report.error) {
    return "failed: " + report.error->path.string() +
           (report.error->reason.empty() ? "" : ": " + report.error->reason);
  }
  return report.set.empty() ? "nothing set" : "set " + joined(report.set, ", ");
}

}  // namespace

namespace {

// Shortest text that reads back as the same number, in the C locale's form
// whatever the user's locale: 0.4, -0.8, 1; never "-0".
template <typename Number>
std::string shortestText(Number value) {
  if (value == 0) {
    return "0";
  }
  std::array<char, 32> buffer{};
  const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return error == std::errc{} ? std::string(buffer.data(), end) : std::string("0");
}

}  // namespace

std::string decimalText(double value) {
  return shortestText(value);
}

std::string decimalText(float value) {
  return shortestText(value);
}

DesktopPointerSink::DesktopPointerSink(std::filesystem::path recordFile,
                                       std::vector<std::unique_ptr<DesktopSink>> desktops)
    : record_(std::move(recordFile)), desktops_(std::move(desktops)) {}

bool DesktopPointerSink::openKey(std::string_view keyPath) {
  return record_.openKey(keyPath);
}

void DesktopPointerSink::writeString(std::string_view keyPath, std::string_view valueName,
                                     std::string_view text) {
  record_.writeString(keyPath, valueName, text);
}

void DesktopPointerSink::systemParameter(const settings::SystemParameterCall& call) {
  record_.systemParameter(call);
  switch (call.action) {
    case settings::kSpiSetMouseSpeed:
      values_.pointerSpeed = static_cast<int>(call.pvValue);
      break;
    case settings::kSpiSetMouse:
      values_.precision = call.pvTriple.value_or(settings::kPrecisionOff);
      break;
    case settings::kSpiSetDoubleClickTime:
      values_.doubleClickTime = static_cast<int>(call.uiParam);
      break;
    case settings::kSpiSetWheelScrollLines:
      values_.wheelScrollLines = static_cast<std::int32_t>(call.uiParam);
      applyToDesktops();
      break;
    default:
      break;
  }
}

void DesktopPointerSink::applyToDesktops() {
  const settings::DesktopPointerValues values = settings::desktopPointerValues(values_);
  reports_.clear();
  for (const std::unique_ptr<DesktopSink>& desktop : desktops_) {
    reports_.push_back(desktop->apply(values));
  }
  writeReports();
}

void DesktopPointerSink::writeReports() {
  reportError_.reset();
  if (!record_.openKey(kDesktopSection)) {
    return;
  }
  // Every key is written at every Apply, so none is left from an earlier one.
  settings::IniFile ini =
      settings::IniFile::load(record_.file(), settings::CodePage(settings::CodePageId::Utf8));
  for (const SinkReport& report : reports_) {
    ini.writeString(kDesktopSection, report.sink, outcomeText(report));
    ini.writeString(kDesktopSection, report.sink + " skipped", joined(report.skipped, "; "));
  }
  reportError_ = ini.save();
}

std::optional<files::FileError> DesktopPointerSink::lastError() const {
  if (record_.lastError()) {
    return record_.lastError();
  }
  if (reportError_) {
    return reportError_;
  }
  for (const SinkReport& report : reports_) {
    if (report.error) {
      return report.error;
    }
  }
  return std::nullopt;
}

}  // namespace korvane::platform::desktop_pointer
