#include "cli/companion.h"

#include "platform/desktop_pointer/desktop_setup.h"
#include "platform/hid/hid_backend_factory.h"

namespace korvane::cli {

Companion::Companion(const Setup& setup, TerminalHost& host) {
  platform::HidChoice choice = platform::hidChoiceFromEnvironment();
  if (setup.emulated) {
    choice.emulated = true;
  }
  if (setup.traceFile) {
    choice.traceFile = *setup.traceFile;
  }
  hid_ = platform::makeHidBackend(choice);
  sink_ = std::make_unique<DiscardingPointerSink>();
  settings::PointerSettingsSink* sink = sink_.get();
  if (setup.applyPointerSettings) {
    // The window's own pointer settings: the record and the same desktops.
    namespace desktop = platform::desktop_pointer;
    pointer_ =
        desktop::makeDesktopPointerSink(setup.folders.pointerRecord, desktop::knownMouseIds(),
                                        desktop::DesktopEnvironment::fromProcess());
    gate_ = std::make_unique<GatedPointerSink>(*pointer_);
    sink = gate_.get();
  }
  model_ = std::make_unique<app::MainWindowModel>(host, *hid_, *sink, setup.folders);
  model_->keepLiveFilesAsTheyAre();
  if (setup.macroDir) {
    model_->useMacroFolder(*setup.macroDir);
  }
}

Companion::~Companion() = default;

void Companion::start() {
  model_->FormCreate();
}

bool Companion::connect() {
  model_->DetectHIDDeviceCounterTimer();
  return model_->session().FeatureHandle != nullptr;
}

}  // namespace korvane::cli
