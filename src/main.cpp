// KorvaneDriver: configures the mouse's modes, buttons, lighting and macros.
#include <QApplication>
#include <memory>

#include "platform/hid_backend_factory.h"
#include "platform/hidraw_watch.h"
#include "platform/registry_file_sink.h"
#include "platform/single_instance.h"
#include "platform/window_key_source.h"
#include "ui/program.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);

  korvane::platform::SingleInstance instance;
  if (instance.handOverToRunningCopy()) {
    return 0;
  }
  instance.listen();

  const QString startDir = QString::fromStdString(korvane::app::defaultStartFolder().string());
  std::unique_ptr<korvane::device::HidBackend> hid =
      korvane::platform::makeHidBackendFromEnvironment();
  const std::unique_ptr<korvane::device::HidChangeWatch> hidChanges =
      korvane::platform::makeHidChangeWatch(*hid);

  korvane::platform::RegistryFileSink pointerSink(korvane::platform::defaultRegistryFilePath());
  korvane::ui::Program program(*hid, pointerSink, startDir,
                               QCoreApplication::applicationFilePath());
  korvane::app::MainWindowModel& model = program.model();
  korvane::ui::MainWindow& window = program.window();
  model.watchHidChanges(hidChanges.get());
  // Recording takes the keyboard through the main window, and times the
  // keys by the keystrokes' own times.
  korvane::platform::WindowKeySource keySource(
      [&window] { return window.windowHandle(); },
      [&model, &window](const korvane::app::KeyEvent& key) {
        model.macro.keyEvent(key);
        window.refresh();
      });
  model.macro.attachKeyboard(keySource, keySource);

  QObject::connect(&instance, &korvane::platform::SingleInstance::raiseRequested, &program.window(),
                   &korvane::ui::MainWindow::restoreAndRaise);

  program.start();
  return QApplication::exec();
}
