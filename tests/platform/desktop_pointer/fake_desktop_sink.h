#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/desktop_pointer/desktop_sink.h"

namespace korvane::testing {

// A desktop sink that keeps every set of values it was handed and answers
// with a report made beforehand.
class FakeDesktopSink : public platform::desktop_pointer::DesktopSink {
 public:
  explicit FakeDesktopSink(platform::desktop_pointer::SinkReport answer)
      : answer_(std::move(answer)) {}
  platform::desktop_pointer::SinkReport apply(
      const settings::DesktopPointerValues& values) override {
    received.push_back(values);
    return answer_;
  }

  std::vector<settings::DesktopPointerValues> received;

 private:
  platform::desktop_pointer::SinkReport answer_;
};

}  // namespace korvane::testing
