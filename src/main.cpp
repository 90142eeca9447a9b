// KorvaneDriver: configures the mouse's modes, buttons, lighting and macros.
#include <QApplication>
#include <memory>

#include "app/main_window_model.h"
#include "platform/hid_backend_factory.h"
#include "platform/registry_file_sink.h"
#include "platform/single_instance.h"
#include "platform/window_key_source.h"
#include "ui/busy_window.h"
#include "ui/main_window.h"
#include "ui/qt_host.h"

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

  korvane::ui::QtHost host;
  korvane::platform::RegistryFileSink pointerSink(korvane::platform::defaultRegistryFilePath());
  korvane::app::MainWindowModel model(host, *hid, pointerSink, startDir.toStdString(),
                                      QCoreApplication::applicationFilePath().toStdString());
  korvane::ui::MainWindow window(model);
  korvane::ui::BusyWindow busy(startDir + QStringLiteral("/wait.gif"));
  // The main window's title stays exactly "KorvaneDriver v1.0"; the
  // application's own title names the busy window and the message boxes.
  busy.setWindowTitle(QString::fromUtf8(korvane::app::kApplicationTitle));
  host.attach(&window, &busy, &model.state, [&window] { window.refresh(); });
  // Recording takes the keyboard through the main window, and times the
  // keys by the keystrokes' own times.
  korvane::platform::WindowKeySource keySource(
      [&window] { return window.windowHandle(); },
      [&model, &window](const korvane::app::KeyEvent& key) {
        model.macro.keyEvent(key);
        window.refresh();
      });
  model.macro.attachKeyboard(keySource, keySource);

  QObject::connect(&instance, &korvane::platform::SingleInstance::raiseRequested, &window,
                   &korvane::ui::MainWindow::restoreAndRaise);

  window.create();
  window.show();
  return QApplication::exec();
}
