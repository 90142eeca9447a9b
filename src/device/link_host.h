#pragma once

namespace korvane::device {

// What the device link needs from the window it runs in. Everything runs on
// the user-interface thread, so pauses either block (sleep) or run pending
// window messages meanwhile (wait, pumpEvents) — and a monitor tick may run
// inside those.
class LinkHost {
 public:
  virtual ~LinkHost() = default;
  // Blocking pause; nothing else runs. Paces the mouse after each transfer.
  virtual void sleep(int ms) = 0;
  // Pause while pending window messages run.
  virtual void wait(int ms) = 0;
  // Let pending window messages run once.
  virtual void pumpEvents() = 0;
  virtual void showBusy() = 0;
  virtual void hideBusy() = 0;
  // Progress of a long run of data writes, shown in the busy window.
  virtual void setBusyProgress(int done, int total) = 0;
};

}  // namespace korvane::device
