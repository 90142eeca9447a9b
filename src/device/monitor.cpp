#include "device/monitor.h"

#include "device/discovery.h"
#include "device/hid_change_watch.h"
#include "device/protocol.h"

namespace korvane::device {

ConnectionMonitor::ConnectionMonitor(HidBackend& backend, DeviceSession& session,
                                     const VendorProductTable& table, DeviceLink& link,
                                     LinkObserver& observer, HidChangeWatch* changes)
    : backend_(backend),
      session_(session),
      table_(table),
      link_(link),
      observer_(observer),
      changes_(changes) {}

bool ConnectionMonitor::mustEnumerate() {
  // The watch is asked every time, so that what it reported before this
  // enumeration is not reported again after it.
  const bool reported = changes_ == nullptr || changes_->takeChanges();
  return reported || !enumerated_ || pending_ || session_.Lost;
}

bool ConnectionMonitor::tick() {
  if (TickBusy) {
    return false;
  }
  TickBusy = true;
  if (!mustEnumerate()) {
    TickBusy = false;
    return false;
  }
  enumerated_ = true;

  // Interfaces come and go while a device enumerates, so a new count is
  // believed only when the samples mostly agree with themselves.
  int sampledCount = 0;
  int agreement = 0;
  for (int sample = 0; sample < kMonitorSamples; ++sample) {
    const int first = CountHidInterfaces(backend_);
    const int second = CountHidInterfaces(backend_);
    if (first == second) {
      ++agreement;
    }
    sampledCount = first;
  }

  const bool accepted =
      (sampledCount != LastCount || session_.Lost) && agreement >= kMonitorAgreement;
  if (accepted) {
    connect();
    LastCount = sampledCount;
  }
  pending_ = sampledCount != LastCount;
  TickBusy = false;
  return accepted;
}

void ConnectionMonitor::dropSession() {
  session_.VendorId = 0;
  session_.ProductId = 0;
  observer_.disableDeviceControls();
  session_.reset();
  session_.Lost = true;
}

void ConnectionMonitor::connect() {
  session_.VendorId = 0;
  session_.ProductId = 0;
  observer_.disableDeviceControls();
  session_.reset();
  // The first slot whose device was refused says why nothing connected.
  std::optional<ProtocolMismatch> refused;
  for (const VendorProductSlot& slot : table_) {
    if (slot.empty()) {
      continue;
    }
    session_.Mismatch.reset();
    if (OpenDevice(backend_, session_, slot.vendorId, slot.productId)) {
      session_.VendorId = slot.vendorId;
      session_.ProductId = slot.productId;
      // A failed read only marks TransferFailed; the mouse is connected all
      // the same. A reply that is not this protocol's answer is another
      // matter: such a device is not connected.
      if (link_.ReadFirmwareVersion()) {
        observer_.firmwareVersionChanged(session_.VersionText);
      }
      if (!session_.Mismatch) {
        session_.Lost = false;
        observer_.enableDeviceControls();
        observer_.mismatchChanged(session_.Mismatch);
        return;
      }
    }
    if (session_.Mismatch && !refused) {
      refused = session_.Mismatch;
    }
    // A device that was refused may still have taken roles; they must not
    // mix with the next slot's device.
    session_.VendorId = 0;
    session_.ProductId = 0;
    session_.reset();
  }
  // Nothing usable is connected; nothing is left to reconnect either.
  session_.Lost = false;
  session_.Mismatch = refused;
  observer_.mismatchChanged(session_.Mismatch);
}

}  // namespace korvane::device
