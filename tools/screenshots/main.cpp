// Renders the main window against the emulated mouse and writes one picture
// per page (plus the button page with its function menu open) for the
// documentation. Run it from a start folder: korvane-screenshots OUT-DIR
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <cstdio>
#include <memory>

#include "app/dialog_skin.h"
#include "app/main_window_model.h"
#include "macros/macro_file.h"
#include "platform/hid/emulated_mouse.h"
#include "platform/pointer_file/registry_file_sink.h"
#include "ui/busy_window.h"
#include "ui/main_window.h"
#include "ui/qt_host.h"
#include "ui/skinned_dialog.h"

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
  korvane::platform::RegistryFileSink sink(
      QDir::temp().filePath("korvane-screenshots.ini").toStdString());
  korvane::ui::QtHost host;
  korvane::app::MainWindowModel model(host, mouse, sink, QDir::currentPath().toStdString(),
                                      QCoreApplication::applicationFilePath().toStdString());
  korvane::ui::MainWindow window(model);
  korvane::ui::BusyWindow busy(QDir::current().filePath(QStringLiteral("wait.gif")));
  host.attach(&window, &busy, &model.state(), [&window] { window.refresh(); });
  window.create();
  window.show();
  model.DetectHIDDeviceCounterTimer();  // the mouse is found: tabs and buttons work

  model.modes.pnl_modeClick(1);
  // A small macro on the macro page: a key tapped twice with pauses.
  const std::filesystem::path macroDir(model.state().MacroDir);
  if (korvane::macros::writeMacroFile(macroDir / "Reload.spm",
                                      {"1", "1 R CODE:0015", "0 40", "2 R CODE:0015", "0 120",
                                       "1 Left Key  CODE:0071", "0 50", "2 Left Key  CODE:0071"})) {
    std::fprintf(stderr, "could not write the demo macro\n");
  }
  model.macro.openLibrary(model.state().MacroDir);
  model.macro.macro_listClick(0);
  model.macro.macro_contentClick(3);
  model.macro.lbl_saveClick();  // the result line says what the compile did
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

  // Buttons 7 to 12 in the rows, then the menu of button 12 with a panel open.
  model.keys.page_MseKeysClick();
  model.keys.keyGroupClick(2);
  ok = save(window, QStringLiteral("%1/buttons-7-12.png").arg(out)) && ok;
  model.keys.KeyClick(12);
  model.keys.categoryEnter(7);
  model.keys.entryEnter(7, 7);
  ok = save(window, QStringLiteral("%1/function-menu-12.png").arg(out)) && ok;
  model.keys.page_MseKeysClick();
  model.keys.keyGroupClick(1);

  // The dialogs and the busy window, side by side on the key colours.
  using korvane::app::DialogKind;
  using korvane::ui::SkinnedDialog;
  const auto dialog = [&model](DialogKind kind) {
    return std::make_unique<SkinnedDialog>(
        korvane::app::LoadDialogSkin(model.state(), kind),
        SkinnedDialog::from(korvane::app::LoadDialogTexts(model.state(), kind)),
        korvane::app::dialogLayout(kind), nullptr);
  };
  auto macroSelectDialog = dialog(DialogKind::MacroSelect);
  SkinnedDialog& macroSelect = *macroSelectDialog;
  macroSelect.list()->addItem(QStringLiteral("Reload"));
  auto modeNameDialog = dialog(DialogKind::ModeName);
  SkinnedDialog& modeName = *modeNameDialog;
  modeName.lineEdit()->setText(QStringLiteral("FPS"));
  auto warningDialog = dialog(DialogKind::LeftKeyWarning);
  SkinnedDialog& warning = *warningDialog;
  auto macroNameDialog = dialog(DialogKind::MacroName);
  SkinnedDialog& macroName = *macroNameDialog;
  busy.showBusy();
  busy.setProgress(7, 25);
  QImage sheet(2 * SkinnedDialog::kWidth + 3 * 10 + korvane::ui::BusyWindow::kWidth,
               2 * SkinnedDialog::kHeight + 30, QImage::Format_ARGB32);
  sheet.fill(Qt::transparent);
  {
    QPainter painter(&sheet);
    const auto place = [&painter](QWidget& widget, int x, int y, const QColor& key) {
      QImage shot = widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
      for (int row = 0; row < shot.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(shot.scanLine(row));
        for (int col = 0; col < shot.width(); ++col) {
          if ((line[col] & 0x00FFFFFF) == (key.rgb() & 0x00FFFFFF)) {
            line[col] = qRgba(0, 0, 0, 0);
          }
        }
      }
      painter.drawImage(x, y, shot);
    };
    const QColor dialogKey(192, 220, 192);
    place(macroSelect, 10, 10, dialogKey);
    place(modeName, 20 + SkinnedDialog::kWidth, 10, dialogKey);
    place(warning, 10, 20 + SkinnedDialog::kHeight, dialogKey);
    place(macroName, 20 + SkinnedDialog::kWidth, 20 + SkinnedDialog::kHeight, dialogKey);
    place(busy, 30 + 2 * SkinnedDialog::kWidth, 10, dialogKey);
  }
  if (!sheet.save(QStringLiteral("%1/dialogs.png").arg(out))) {
    std::fprintf(stderr, "could not write the dialogs picture\n");
    ok = false;
  }
  return ok ? 0 : 1;
}
