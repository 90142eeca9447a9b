// Renders the main window against the emulated mouse and writes one picture
// per page (plus the button page with its function menu open) for the
// documentation. Run it from a start folder: korvane-screenshots OUT-DIR
#include <QApplication>
#include <QDir>
#include <QImage>
#include <cstdio>

#include "app/main_window_model.h"
#include "macros/macro_file.h"
#include "platform/emulated_mouse.h"
#include "platform/registry_file_sink.h"
#include "ui/busy_window.h"
#include "ui/main_window.h"
#include "ui/qt_host.h"

namespace {

// The key colour is see-through on screen; make it so in the picture too.
QImage withoutKeyColour(const QImage& shot) {
  QImage image = shot.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = qRgb(128, 0, 0);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if ((line[x] & 0x00FFFFFF) == (key & 0x00FFFFFF)) {
        line[x] = qRgba(0, 0, 0, 0);
      }
    }
  }
  return image;
}

bool save(korvane::ui::MainWindow& window, const QString& file) {
  window.refresh();
  QApplication::processEvents();
  if (!withoutKeyColour(window.grab().toImage()).save(file)) {
    std::fprintf(stderr, "could not write %s\n", qPrintable(file));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: korvane-screenshots OUT-DIR\n");
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]);
  if (!QDir().mkpath(out)) {
    std::fprintf(stderr, "could not create %s\n", argv[1]);
    return 1;
  }
  korvane::platform::EmulatedMouse mouse;
  mouse.setFirmwareVersion(3);
  korvane::platform::RegistryFileSink sink(QDir::temp().filePath("korvane-screenshots.ini").toStdString());
  korvane::ui::QtHost host;
  korvane::app::MainWindowModel model(host, mouse, sink, QDir::currentPath().toStdString(),
                                      QCoreApplication::applicationFilePath().toStdString());
  korvane::ui::MainWindow window(model);
  korvane::ui::BusyWindow busy(QDir::current().filePath(QStringLiteral("wait.gif")));
  host.attach(&window, &busy, &model.state, [&window] { window.refresh(); });
  window.create();
  window.show();
  model.DetectHIDDeviceCounterTimer();  // the mouse is found: tabs and buttons work

  model.modes.pnl_modeClick(1);
  // A small macro on the macro page: a key tapped twice with pauses.
  const std::filesystem::path macroDir(model.state.MacroDir);
  if (korvane::macros::writeMacroFile(
          macroDir / "Reload.spm",
          {"1", "1 R CODE:0015", "0 40", "2 R CODE:0015", "0 120", "1 Left Key  CODE:0071",
           "0 50", "2 Left Key  CODE:0071"})) {
    std::fprintf(stderr, "could not write the demo macro\n");
  }
  model.macro.openLibrary(model.state.MacroDir);
  model.macro.macro_listClick(0);
  model.macro.macro_contentClick(3);
  bool ok = true;
  for (int tab = 1; tab <= korvane::app::kPageCount; ++tab) {
    model.ShowPage(tab);
    ok = save(window, QStringLiteral("%1/page%2.png").arg(out).arg(tab)) && ok;
  }
  model.ShowPage(1);
  model.keys.KeyClick(4);
  model.keys.categoryEnter(3);
  model.keys.entryEnter(3, 1);
  ok = save(window, QStringLiteral("%1/function-menu.png").arg(out)) && ok;
  return ok ? 0 : 1;
}
