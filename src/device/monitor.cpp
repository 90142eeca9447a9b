#include "device/monitor.h"

#include "device/discovery.h"
#include "device/protocol.h"

namespace korvane::device {

ConnectionMonitor::ConnectionMonitor(HidBackend& backend, DeviceSession& session,
                                     const VendorProductTable& table, DeviceLink& link,
                                     LinkObserver& observer)
    : backend_(backend), session_(session), table_(table), link_(link), observer_(observer) {}

void ConnectionMonitor::tick() {
  if (TickBusy) {
    return;
  }
  TickBusy = true;

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

  if (sampledCount != LastCount && agreement >= kMonitorAgreement) {
    connect();
    LastCount = sampledCount;
  }
  TickBusy = false;
}

void ConnectionMonitor::connect() {
  session_.VendorId = 0;
  session_.ProductId = 0;
  observer_.disableDeviceControls();
  session_.reset();
  for (const VendorProductSlot& slot : table_) {
    if (slot.empty()) {
      continue;
    }
    if (OpenDevice(backend_, session_, slot.vendorId, slot.productId)) {
      session_.VendorId = slot.vendorId;
      session_.ProductId = slot.productId;
      // A failed read only marks TransferFailed; the mouse is connected all the same.
      if (link_.ReadFirmwareVersion()) {
        observer_.firmwareVersionChanged(session_.VersionText);
      }
      observer_.enableDeviceControls();
      return;
    }
    // A device without a feature interface may still have taken the data
    // roles; they must not mix with the next slot's device.
    session_.reset();
  }
}

}  // namespace korvane::device
