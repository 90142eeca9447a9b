#pragma once

#include <QObject>
#include <QString>

#include "app/main_window_model.h"
#include "ui/busy_window.h"
#include "ui/main_window.h"
#include "ui/qt_host.h"
#include "ui/qt_translations.h"

namespace korvane::device {
class HidBackend;
}
namespace korvane::settings {
class PointerSettingsSink;
}

namespace korvane::ui {

// The running program's windows, wired together: the host, the window model,
// the main window and the busy window. The program ends when the main window
// closes and at no other time: the busy window, shown or hidden, never keeps
// it alive, and a close during a command waits for the command to stop.
class Program {
 public:
  Program(device::HidBackend& hid, settings::PointerSettingsSink& pointerSink,
          const QString& startDir, const QString& executablePath,
          QtHost::Pauses pauses = QtHost::Pauses::Real);
  // With the folders the folder rule decided (portable or installed).
  Program(device::HidBackend& hid, settings::PointerSettingsSink& pointerSink,
          const paths::Folders& folders, QtHost::Pauses pauses = QtHost::Pauses::Real);

  // Start-up, then the main window on screen.
  void start();

  QtHost& host() { return host_; }
  app::MainWindowModel& model() { return model_; }
  MainWindow& window() { return window_; }
  BusyWindow& busyWindow() { return busy_; }

 private:
  void wire();

  // Before any window: the start-up messages already speak the language.
  QtTranslations qtTexts_;
  QtHost host_;
  app::MainWindowModel model_;
  MainWindow window_;
  BusyWindow busy_;
};

}  // namespace korvane::ui
