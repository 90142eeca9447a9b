#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "device/link_host.h"

namespace korvane::app {

// What the window model asks of the windowing system: message boxes, the busy
// window, pauses that keep the window responsive, and the window chrome. The
// Qt host does it for real; tests use a recording fake that returns at once.
class Host : public device::LinkHost {
 public:
  // A plain message box with an OK button.
  virtual void messageBox(const std::string& text) = 0;
  virtual void minimizeApplication() = 0;
  virtual void closeMainWindow() = 0;
  // Let the windowing system drag the borderless window with the mouse.
  virtual void startWindowDrag() = 0;
  // The modal warning that at least one of the first three buttons must keep
  // the left click; returns when the user closes it.
  virtual void showLeftKeyWarning() = 0;
  // The modal macro selection: the position of the chosen name, nothing when
  // the user cancels.
  virtual std::optional<int> chooseMacro(const std::vector<std::string>& names) = 0;

  // The modal macro name dialog. `onOk` gets the typed name and says whether
  // the dialog may close; it shows its own messages when not.
  struct NameDialogResult {
    std::string text;  // what the edit held when the dialog closed
    bool accepted = false;
  };
  virtual NameDialogResult macroNameDialog(
      const std::function<bool(const std::string& name)>& onOk) = 0;
  // The mode name dialog: one line of at most `maxLength` characters; the
  // text on OK, nothing on Cancel.
  virtual std::optional<std::string> modeNameDialog(const std::string& current,
                                                    std::size_t maxLength) = 0;
  // The open-file chooser; nothing when the user cancels.
  virtual std::optional<std::string> chooseOpenFile(const std::string& filter) = 0;
};

}  // namespace korvane::app
