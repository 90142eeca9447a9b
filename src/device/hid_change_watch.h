#pragma once

namespace korvane::device {

// Tells the connection monitor whether the system reported an HID interface
// added or removed (or its access changed), so that an idle tick need not
// enumerate every interface ten times to learn that nothing happened.
class HidChangeWatch {
 public:
  virtual ~HidChangeWatch() = default;
  // True when something may have changed since the last call, including when
  // the watch cannot tell (for instance after its queue overflowed).
  virtual bool takeChanges() = 0;
};

}  // namespace korvane::device
