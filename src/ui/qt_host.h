#pragma once

#include <cstdint>
#include <functional>

#include "app/dialog_skin.h"
#include "app/host.h"

class QWidget;

namespace korvane::app {
struct AppState;
}

namespace korvane::ui {

class BusyWindow;

// The host on Qt: message boxes, the busy window, and pauses that run a
// nested event loop so the window stays responsive while the mouse is
// written.
class QtHost : public app::Host {
 public:
  enum class Pauses : std::uint8_t {
    Real,
    // Every pause lasts 0 ms but still runs its nested event loop: the
    // window's timers and clicks interleave with a command exactly as they
    // do in use, only without the waiting. For tests.
    Zero,
  };
  explicit QtHost(Pauses pauses = Pauses::Real) : pauses_(pauses) {}

  void attach(QWidget* mainWindow, BusyWindow* busyWindow, const app::AppState* state,
              std::function<void()> refreshView);

  void sleep(int ms) override;
  void wait(int ms) override;
  void pumpEvents() override;
  void showBusy() override;
  void hideBusy() override;
  void setBusyProgress(int done, int total) override;
  void messageBox(const std::string& text) override;
  void minimizeApplication() override;
  void closeMainWindow() override;
  void startWindowDrag() override;
  void showLeftKeyWarning() override;
  std::optional<int> chooseMacro(const std::vector<std::string>& names) override;
  NameDialogResult macroNameDialog(
      const std::function<bool(const std::string& name)>& onOk) override;
  std::optional<std::string> modeNameDialog(const std::string& current,
                                            std::size_t maxLength) override;
  std::optional<std::string> chooseOpenFile(const std::string& filter) override;

 private:
  Pauses pauses_;
  QWidget* mainWindow_ = nullptr;
  BusyWindow* busyWindow_ = nullptr;
  std::function<void()> refreshView_;
  const app::AppState* state_ = nullptr;

  // The window a new message box or file chooser belongs to: the active
  // modal dialog, else the main window.
  QWidget* ownerOfNewWindow() const;
  app::DialogSkin dialogSkin(app::DialogKind kind) const;
  app::DialogTexts dialogTexts(app::DialogKind kind) const;
};

}  // namespace korvane::ui
