#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include "platform/hid/emulated_mouse.h"

// What the emulated mouse received, in the terms the tests compare.
namespace korvane::testing {

// The command codes of the feature reports it received, in order.
inline std::vector<int> commandCodes(const platform::EmulatedMouse& mouse) {
  std::vector<int> codes;
  for (const platform::Transfer& transfer : mouse.transfers()) {
    if (transfer.kind == platform::TransferKind::SetFeature) {
      codes.push_back(transfer.bytes.at(1));
    }
  }
  return codes;
}

// The data reports it received: one a mode, one a macro half.
inline std::size_t dataWrites(const platform::EmulatedMouse& mouse) {
  return static_cast<std::size_t>(std::count_if(
      mouse.transfers().begin(), mouse.transfers().end(),
      [](const platform::Transfer& t) { return t.kind == platform::TransferKind::Write; }));
}

}  // namespace korvane::testing
