#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "files/file_io.h"
#include "platform/desktop_pointer/desktop_sink.h"
#include "platform/pointer_file/registry_file_sink.h"
#include "settings/pointer_settings.h"

namespace korvane::platform::desktop_pointer {

// The record's section that names what each desktop sink set or skipped at
// the last Apply.
inline constexpr std::string_view kDesktopSection = "Desktop";

// The pointer settings of the window and korvanectl: every registry write
// and system-parameter call goes to the record as before; the system step
// (Apply only, as the running system gets nothing else) also reaches every
// desktop sink. The registry steps on each control change stay in the
// record.
class DesktopPointerSink : public settings::PointerSettingsSink {
 public:
  DesktopPointerSink(std::filesystem::path recordFile,
                     std::vector<std::unique_ptr<DesktopSink>> desktops);

  bool openKey(std::string_view keyPath) override;
  void writeString(std::string_view keyPath, std::string_view valueName,
                   std::string_view text) override;
  // The wheel call ends the system step: the desktops then get the four
  // values together.
  void systemParameter(const settings::SystemParameterCall& call) override;

  const RegistryFileSink& record() const { return record_; }
  const std::vector<SinkReport>& lastReports() const { return reports_; }
  // The last refused write: the record's own, else a desktop file's.
  std::optional<files::FileError> lastError() const override;

 private:
  void applyToDesktops();
  void writeReports();

  RegistryFileSink record_;
  std::vector<std::unique_ptr<DesktopSink>> desktops_;
  settings::RememberedPointerValues values_;
  std::vector<SinkReport> reports_;
  std::optional<files::FileError> reportError_;
};

}  // namespace korvane::platform::desktop_pointer
