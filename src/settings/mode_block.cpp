#include "settings/mode_block.h"

#include <algorithm>

namespace korvane::settings {

namespace {

void copyBody(const ModeBlock& from, ModeBlock& to) {
  std::copy(from.begin() + 1, from.end(), to.begin() + 1);
}

bool isMode(int mode) {
  return mode >= 1 && mode <= kModeCount;
}

}  // namespace

void ModeBlocks::ResetToFactory() {
  working = kFactoryBlock;
  for (int mode = 1; mode <= kModeCount; ++mode) {
    storedBlock(mode)[kModeNumberOffset] = static_cast<std::uint8_t>(mode);
  }
}

void ModeBlocks::StoreWorkingBlock() {
  if (!isMode(activeMode)) {
    return;
  }
  ModeBlock& target = storedBlock(activeMode);
  target[kModeNumberOffset] = static_cast<std::uint8_t>(activeMode);
  copyBody(working, target);
}

void ModeBlocks::captureForSaving() {
  if (isMode(activeMode)) {
    storedBlock(activeMode) = working;
  }
}

void ModeBlocks::takeWorkingIntoStored(int mode) {
  ModeBlock& target = storedBlock(mode);
  target[kModeNumberOffset] = static_cast<std::uint8_t>(mode);
  copyBody(working, target);
}

void ModeBlocks::bringActiveIntoWorking() {
  if (!isMode(activeMode)) {
    return;
  }
  working[kModeNumberOffset] = static_cast<std::uint8_t>(activeMode);
  copyBody(storedBlock(activeMode), working);
}

}  // namespace korvane::settings
