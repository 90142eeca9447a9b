#pragma once

#include <cstdint>

#include "macros/key_source.h"
#include "macros/recorder.h"

namespace korvane::testing {

// A clock the test moves by hand.
class FakeClock : public macros::Clock {
 public:
  std::uint32_t tickCount() override { return now; }
  std::uint32_t now = 1000;
};

// A keyboard that can be taken unless told otherwise, and remembers whether
// it is held.
class FakeKeySource : public macros::KeySource {
 public:
  bool startCapture() override {
    ++starts;
    capturing = available;
    return available;
  }
  void stopCapture() override {
    ++stops;
    capturing = false;
  }

  bool available = true;
  bool capturing = false;
  int starts = 0;
  int stops = 0;
};

}  // namespace korvane::testing
