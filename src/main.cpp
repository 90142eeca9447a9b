// KorvaneDriver: configures the mouse's modes, buttons, lighting and macros.
#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/app_state.h"
#include "app/main_window_model.h"
#include "app/message_texts.h"
#include "i18n/messages.h"
#include "paths/folders.h"
#include "platform/desktop_pointer/desktop_setup.h"
#include "platform/hid/hid_backend_factory.h"
#include "platform/hid/hidraw_watch.h"
#include "platform/window_system/single_instance.h"
#include "platform/window_system/window_key_source.h"
#include "ui/program.h"

namespace {

constexpr const char* kUsage =
    "Usage: korvane-driver [--help | --version]\n"
    "\n"
    "Configures the mouse's modes, buttons, lighting and macros in a window.\n"
    "Started from a folder that holds skins/ and configure/, it works on that\n"
    "folder (portable); otherwise on the installed resources and the user's own\n"
    "folders: $XDG_CONFIG_HOME/korvane-driver and $XDG_DATA_HOME/korvane-driver.\n"
    "\n"
    "Environment: KORVANE_DEVICE=emulated uses the built-in emulated mouse.\n";

// --help and --version answer without a display; anything else is left to Qt.
int answerCommandLine(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      return std::fputs(kUsage, stdout) >= 0 && std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      return std::printf("korvane-driver %s\n", KORVANE_VERSION) > 0 && std::fflush(stdout) == 0
                 ? 0
                 : 1;
    }
  }
  return -1;
}

// The running copy did not answer: told on standard error and in a message
// box, in the user's language.
void noAnswerFromRunningCopy(const korvane::paths::Folders& folders) {
  korvane::app::AppState state;
  state.useResourceFolders(folders);
  const std::string text =
      korvane::app::LoadMessageText(state, korvane::i18n::Message::RunningCopyNoAnswer);
  std::fprintf(stderr, "korvane-driver: %s\n", text.c_str());
  QMessageBox::warning(nullptr, QString::fromUtf8(korvane::app::kWindowTitle),
                       QString::fromStdString(text));
}

}  // namespace

int main(int argc, char* argv[]) {
  if (const int status = answerCommandLine(argc, argv); status >= 0) {
    return status;
  }
  QApplication application(argc, argv);

  // One rule decides where everything lives; korvanectl follows the same.
  const korvane::paths::Folders folders = korvane::paths::decideFolders(
      korvane::paths::processEnvironment(QCoreApplication::applicationFilePath().toStdString()));

  korvane::platform::SingleInstance instance;
  switch (instance.handOverToRunningCopy()) {
    case korvane::platform::SingleInstance::HandOver::HandedOver:
      return 0;
    case korvane::platform::SingleInstance::HandOver::NoAnswer:
      // A second window beside a hung one would talk to the same files and
      // mouse: this start ends, and says why.
      noAnswerFromRunningCopy(folders);
      return 1;
    case korvane::platform::SingleInstance::HandOver::NoRunningCopy:
      break;
  }
  instance.listen();
  std::unique_ptr<korvane::device::HidBackend> hid =
      korvane::platform::makeHidBackendFromEnvironment();
  const std::unique_ptr<korvane::device::HidChangeWatch> hidChanges =
      korvane::platform::makeHidChangeWatch(*hid);

  // The pointer settings: kept in the record, and at Apply handed to the
  // desktop the program runs on.
  namespace desktop = korvane::platform::desktop_pointer;
  const std::unique_ptr<desktop::DesktopPointerSink> pointerSink = desktop::makeDesktopPointerSink(
      folders.pointerRecord, desktop::knownMouseIds(), desktop::DesktopEnvironment::fromProcess());
  korvane::ui::Program program(*hid, *pointerSink, folders);
  korvane::app::MainWindowModel& model = program.model();
  korvane::ui::MainWindow& window = program.window();
  model.watchHidChanges(hidChanges.get());
  // Recording takes the keyboard through the main window, and times the
  // keys by the keystrokes' own times.
  korvane::platform::WindowKeySource keySource(
      [&window] { return window.windowHandle(); },
      [&model, &window](const korvane::macros::KeyEvent& key) {
        model.macro.keyEvent(key);
        window.refresh();
      });
  model.macro.attachKeyboard(keySource, keySource);

  QObject::connect(&instance, &korvane::platform::SingleInstance::raiseRequested, &program.window(),
                   &korvane::ui::MainWindow::restoreAndRaise);

  program.start();
  return QApplication::exec();
}
