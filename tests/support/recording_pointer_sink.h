#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "settings/pointer_settings.h"

namespace korvane::testing {

// Records every registry write and system-parameter call in order, as
// "open Control Panel\Mouse", "write Control Panel\Mouse MouseSensitivity=14"
// and "spi 113 0 14 2" (action, uiParam as signed, pvParam, flags; the
// triple as "6,10,1"). Keys named in `refused` cannot be opened.
class RecordingPointerSink : public settings::PointerSettingsSink {
 public:
  bool openKey(std::string_view keyPath) override {
    const std::string key(keyPath);
    if (refused.contains(key)) {
      calls.push_back("refused " + key);
      return false;
    }
    calls.push_back("open " + key);
    return true;
  }

  void writeString(std::string_view keyPath, std::string_view valueName,
                   std::string_view text) override {
    calls.push_back("write " + std::string(keyPath) + " " + std::string(valueName) + "=" +
                    std::string(text));
    registry[std::string(keyPath)][std::string(valueName)] = std::string(text);
  }

  void systemParameter(const settings::SystemParameterCall& call) override {
    std::string pv = std::to_string(call.pvValue);
    if (call.pvTriple) {
      const auto& t = *call.pvTriple;
      pv = std::to_string(t[0]) + "," + std::to_string(t[1]) + "," + std::to_string(t[2]);
    }
    calls.push_back("spi " + std::to_string(call.action) + " " +
                    std::to_string(static_cast<std::int32_t>(call.uiParam)) + " " + pv + " " +
                    std::to_string(call.winIni));
    systemCalls.push_back(call);
  }

  // Calls recorded since `from`, e.g. since a mark taken before an action.
  std::vector<std::string> since(std::size_t from) const {
    return {calls.begin() + static_cast<std::ptrdiff_t>(std::min(from, calls.size())), calls.end()};
  }

  std::optional<files::FileError> lastError() const override { return error; }

  std::set<std::string> refused;
  // What the sink reports as its last refused write.
  std::optional<files::FileError> error;
  std::vector<std::string> calls;
  std::vector<settings::SystemParameterCall> systemCalls;
  // What the registry holds now: key path -> value name -> text.
  std::map<std::string, std::map<std::string, std::string>> registry;
};

}  // namespace korvane::testing
