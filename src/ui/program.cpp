#include "ui/program.h"

#include <QApplication>

#include "app/message_texts.h"

namespace korvane::ui {

Program::Program(device::HidBackend& hid, settings::PointerSettingsSink& pointerSink,
                 const QString& startDir, const QString& executablePath, QtHost::Pauses pauses)
    : host_(pauses),
      model_(host_, hid, pointerSink, startDir.toStdString(), executablePath.toStdString()),
      window_(model_),
      busy_(startDir + QStringLiteral("/wait.gif")) {
  wire();
}

Program::Program(device::HidBackend& hid, settings::PointerSettingsSink& pointerSink,
                 const paths::Folders& folders, QtHost::Pauses pauses)
    : host_(pauses),
      model_(host_, hid, pointerSink, folders),
      window_(model_),
      busy_(QString::fromStdString((folders.resourceDir / "wait.gif").string())) {
  wire();
}

void Program::wire() {
  // Without the system's Qt translations Qt's own buttons stay English.
  static_cast<void>(qtTexts_.load(app::UserLanguageLocale()));
  // The main window's title stays exactly "KorvaneDriver v1.0"; the
  // application's own title names the busy window and the message boxes.
  busy_.setWindowTitle(QString::fromUtf8(app::kApplicationTitle));
  host_.attach(&window_, &busy_, &model_.state(), [this] { window_.refresh(); });

  // Qt would end the program only when no window is left on screen, so a
  // close while the busy window shows would leave it running without a
  // window. The main window's accepted close is the one rule.
  QApplication::setQuitOnLastWindowClosed(false);
  busy_.setAttribute(Qt::WA_QuitOnClose, false);
  QObject::connect(&window_, &MainWindow::closed, &busy_, [this] {
    busy_.hideBusy();
    QCoreApplication::quit();
  });
}

void Program::start() {
  window_.create();
  window_.show();
}

}  // namespace korvane::ui
