#pragma once

#include <array>

#include "settings/mode_layout.h"

namespace korvane::settings {

// The six blocks in memory: the working block the controls edit, the five
// stored blocks the mouse receives, and the active mode (0 = none).
struct ModeBlocks {
  ModeBlock working{};
  std::array<ModeBlock, kModeCount> stored{};
  int activeMode = 0;

  ModeBlock& storedBlock(int mode) { return stored.at(static_cast<std::size_t>(mode - 1)); }
  const ModeBlock& storedBlock(int mode) const {
    return stored.at(static_cast<std::size_t>(mode - 1));
  }

  // Factory block into the working block, N into byte 0 of stored block N.
  void ResetToFactory();
  // Keeps the active mode's stored block equal to the working block in bytes 1..63.
  void StoreWorkingBlock();
  // Save takes all 64 bytes, byte 0 included, into the active mode's stored block.
  void captureForSaving();
  // The load step's first half, for mode n after its data file (if any) was
  // read into the working block: stored block n takes n and bytes 1..63.
  void takeWorkingIntoStored(int mode);
  // The load step's second half: the active mode's stored bytes 1..63 into the
  // working block, byte 0 = the mode. Does nothing with no active mode.
  void bringActiveIntoWorking();
};

}  // namespace korvane::settings
