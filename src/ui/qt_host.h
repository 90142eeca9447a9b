#pragma once

#include <functional>

#include "app/host.h"

class QWidget;

namespace korvane::ui {

class BusyWindow;

// The host on Qt: message boxes, the busy window, and pauses that run a
// nested event loop so the window stays responsive while the mouse is
// written.
class QtHost : public app::Host {
 public:
  void attach(QWidget* mainWindow, BusyWindow* busyWindow, std::function<void()> refreshView);

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

 private:
  QWidget* mainWindow_ = nullptr;
  BusyWindow* busyWindow_ = nullptr;
  std::function<void()> refreshView_;
};

}  // namespace korvane::ui
