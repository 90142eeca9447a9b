#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/main_window_model.h"
#include "cli/terminal_host.h"
#include "device/hid_backend.h"
#include "paths/folders.h"
#include "platform/desktop_pointer/desktop_pointer_sink.h"
#include "settings/pointer_settings.h"

namespace korvane::cli {

// What korvanectl was told about where to work and which mouse to use.
struct Setup {
  // The window's folder rule, or the portable folders of --dir.
  paths::Folders folders;
  std::optional<std::filesystem::path> macroDir;
  bool emulated = false;
  std::optional<std::string> traceFile;
  // Only Apply hands the pointer settings to the system; every other command
  // runs the same start-up with settings that go nowhere.
  bool applyPointerSettings = false;
};

// The window's own model without a window: the same folders, start-up, load
// step, device link and Apply, so korvanectl has no logic of its own.
class Companion {
 public:
  Companion(const Setup& setup, TerminalHost& host);
  ~Companion();
  Companion(const Companion&) = delete;
  Companion& operator=(const Companion&) = delete;

  // The window's start-up: captions, GM.ini, the load step, the macro library.
  void start();
  // The connection monitor's first tick; true when it found the mouse.
  bool connect();

  app::MainWindowModel& model() { return *model_; }
  // The record and the desktop when this run applies pointer settings.
  const platform::desktop_pointer::DesktopPointerSink* pointerSink() const {
    return pointer_.get();
  }
  // From now on the pointer settings reach the record and the desktop
  // (Apply only).
  void openPointerSettings() {
    if (gate_) {
      gate_->open();
    }
  }

 private:
  std::unique_ptr<device::HidBackend> hid_;
  std::unique_ptr<platform::desktop_pointer::DesktopPointerSink> pointer_;
  std::unique_ptr<GatedPointerSink> gate_;
  std::unique_ptr<settings::PointerSettingsSink> sink_;
  std::unique_ptr<app::MainWindowModel> model_;
};

}  // namespace korvane::cli
