#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/dialog_skin.h"
#include "app/host.h"

namespace korvane::testing {

// Records what the model asks of the windowing system and returns at once:
// tests never sleep. `onWait` runs inside a wait, where the real host would
// let window messages (a monitor tick, a click) run.
class FakeHost : public app::Host {
 public:
  void sleep(int ms) override { sleeps.push_back(ms); }
  void wait(int ms) override {
    waits.push_back(ms);
    if (onWait) {
      onWait();
    }
  }
  void pumpEvents() override {
    ++pumps;
    if (onPump) {
      onPump();
    }
  }
  void showBusy() override {
    busyVisible = true;
    ++busyShown;
  }
  void hideBusy() override { busyVisible = false; }
  void setBusyProgress(int done, int total) override { progress.emplace_back(done, total); }
  void messageBox(const std::string& text) override { messages.push_back(text); }
  void minimizeApplication() override { ++minimized; }
  void closeMainWindow() override { ++closeRequests; }
  void startWindowDrag() override { ++drags; }
  void showLeftKeyWarning() override {
    ++leftKeyWarnings;
    openDialog(app::DialogKind::LeftKeyWarning);
  }
  // The name dialog takes the typed names in order until one is accepted;
  // when they run out the user cancels.
  NameDialogResult macroNameDialog(
      const std::function<bool(const std::string& name)>& onOk) override {
    ++nameDialogs;
    openDialog(app::DialogKind::MacroName);
    std::string text;
    while (!typedNames.empty()) {
      text = typedNames.front();
      typedNames.erase(typedNames.begin());
      if (onOk(text)) {
        return {text, true};
      }
    }
    return {text, false};
  }
  std::optional<std::string> modeNameDialog(const std::string& current,
                                            std::size_t maxLength) override {
    openDialog(app::DialogKind::ModeName);
    modeNameOffered = current;
    modeNameLimit = maxLength;
    return modeName;
  }
  std::optional<std::string> chooseOpenFile(const std::string& filter) override {
    fileFilters.push_back(filter);
    return chosenFile;
  }
  std::optional<int> chooseMacro(const std::vector<std::string>& names) override {
    openDialog(app::DialogKind::MacroSelect);
    offeredMacros = names;
    return macroChoice;
  }

  std::vector<int> sleeps;
  std::vector<int> waits;
  int pumps = 0;
  bool busyVisible = false;
  int busyShown = 0;
  std::vector<std::pair<int, int>> progress;
  std::vector<std::string> messages;
  int minimized = 0;
  int closeRequests = 0;
  int drags = 0;
  int leftKeyWarnings = 0;
  std::vector<std::string> offeredMacros;
  std::optional<int> macroChoice;  // what the user picks in the macro dialog
  std::vector<std::string> typedNames;
  int nameDialogs = 0;
  std::optional<std::string> chosenFile;
  std::optional<std::string> modeName;  // what the user types into the mode name dialog
  std::string modeNameOffered;
  std::size_t modeNameLimit = 0;
  std::vector<std::string> fileFilters;
  std::function<void()> onWait;
  std::function<void()> onPump;  // runs where pending window messages would
  // With the window's state set, every dialog loads its texts as it opens,
  // as the real dialogs do, and they are kept here in order.
  const app::AppState* state = nullptr;
  std::vector<app::DialogTexts> dialogTexts;

 private:
  void openDialog(app::DialogKind dialog) {
    if (state != nullptr) {
      dialogTexts.push_back(app::LoadDialogTexts(*state, dialog));
    }
  }
};

}  // namespace korvane::testing
