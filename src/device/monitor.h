#pragma once

#include <optional>
#include <string>

#include "device/device_session.h"

namespace korvane::device {

class DeviceLink;
class HidBackend;
class HidChangeWatch;

// How the monitor switches the window's device-dependent controls.
class LinkObserver {
 public:
  virtual ~LinkObserver() = default;
  // Also clears the firmware version caption.
  virtual void disableDeviceControls() = 0;
  virtual void enableDeviceControls() = 0;
  virtual void firmwareVersionChanged(const std::string& versionText) = 0;
  // After every connection attempt: why a device with the mouse's ids was
  // not connected, or nothing.
  virtual void mismatchChanged(const std::optional<ProtocolMismatch>& /*mismatch*/) {}
};

inline constexpr int kMonitorTickMs = 2500;
inline constexpr int kMonitorSamples = 5;
// Samples whose two counts must agree before a new count is believed.
inline constexpr int kMonitorAgreement = 4;

// Watches the number of openable HID interfaces and, when it changes, drops
// the session and looks for the mouse again. Any device arriving or leaving
// makes the controls flicker off and on. An unchanged count re-opens nothing
// unless a transfer failed on the session (it is Lost): a quick replug keeps
// the count but leaves dead handles.
//
// With a change watch, a tick enumerates only when the system reported an
// interface added or removed since the last enumeration, when the session is
// Lost, or when the last enumeration saw a new count it did not yet believe;
// otherwise the last samples stand, and they change nothing. The debounce is
// the same either way.
class ConnectionMonitor {
 public:
  ConnectionMonitor(HidBackend& backend, DeviceSession& session, const VendorProductTable& table,
                    DeviceLink& link, LinkObserver& observer, HidChangeWatch* changes = nullptr);

  // The timer's event, every kMonitorTickMs. True when it accepted a change
  // (the session and the controls were reset).
  bool tick();
  // The mouse left in the middle of a command: the handles are dropped and
  // the controls go off at once; the next tick looks for the mouse again.
  void dropSession();

  int LastCount = 0;
  bool TickBusy = false;

 private:
  bool mustEnumerate();
  void connect();

  HidBackend& backend_;
  DeviceSession& session_;
  const VendorProductTable& table_;
  DeviceLink& link_;
  LinkObserver& observer_;
  HidChangeWatch* changes_;
  bool enumerated_ = false;
  // The last samples showed a count other than LastCount that the agreement
  // rule did not let through: the next tick samples again.
  bool pending_ = false;
};

}  // namespace korvane::device
