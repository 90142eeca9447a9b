#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "app/host.h"
#include "settings/pointer_settings.h"

namespace korvane::cli {

// The window model's host on a terminal: messages go to standard error,
// pauses really pause (the mouse needs them) unless pacing is off, the busy
// window's progress becomes a line per write (a bar on a terminal), and no
// dialog ever opens.
class TerminalHost : public app::Host {
 public:
  TerminalHost(std::ostream& err, bool errIsTerminal, bool pacing);

  void sleep(int ms) override;
  void wait(int ms) override;
  void pumpEvents() override {}
  void showBusy() override {}
  void hideBusy() override;
  void setBusyProgress(int done, int total) override;

  void messageBox(const std::string& text) override;
  void minimizeApplication() override {}
  void closeMainWindow() override {}
  void startWindowDrag() override {}
  void showLeftKeyWarning() override {}
  std::optional<int> chooseMacro(const std::vector<std::string>& names) override;
  NameDialogResult macroNameDialog(
      const std::function<bool(const std::string& name)>& onOk) override;
  std::optional<std::string> modeNameDialog(const std::string& current,
                                            std::size_t maxLength) override;
  std::optional<std::string> chooseOpenFile(const std::string& filter) override;

  // The text that shows the progress of a write, in the user's language.
  void setProgressText(std::function<std::string(int done, int total)> text) {
    progressText_ = std::move(text);
  }
  const std::vector<std::string>& messages() const { return messages_; }

 private:
  void endProgressLine();

  std::ostream& err_;
  bool errIsTerminal_;
  bool pacing_;
  bool barShown_ = false;
  std::function<std::string(int, int)> progressText_;
  std::vector<std::string> messages_;
};

// Pointer settings that reach `target` only once opened: the start-up's
// handlers write them as the window's do, but korvanectl hands them to the
// system only in Apply, after every write to the mouse succeeded.
class GatedPointerSink : public settings::PointerSettingsSink {
 public:
  explicit GatedPointerSink(settings::PointerSettingsSink& target) : target_(target) {}
  void open() { open_ = true; }
  bool openKey(std::string_view keyPath) override { return !open_ || target_.openKey(keyPath); }
  void writeString(std::string_view keyPath, std::string_view valueName,
                   std::string_view text) override {
    if (open_) {
      target_.writeString(keyPath, valueName, text);
    }
  }
  void systemParameter(const settings::SystemParameterCall& call) override {
    if (open_) {
      target_.systemParameter(call);
    }
  }
  // Only what reached the system counts.
  std::optional<files::FileError> lastError() const override {
    return open_ ? target_.lastError() : std::nullopt;
  }

 private:
  settings::PointerSettingsSink& target_;
  bool open_ = false;
};

// Pointer settings that go nowhere: the commands that only look at the
// configuration run the same start-up as the window without touching the
// user's settings.
class DiscardingPointerSink : public settings::PointerSettingsSink {
 public:
  bool openKey(std::string_view /*keyPath*/) override { return true; }
  void writeString(std::string_view /*keyPath*/, std::string_view /*valueName*/,
                   std::string_view /*text*/) override {}
  void systemParameter(const settings::SystemParameterCall& /*call*/) override {}
};

}  // namespace korvane::cli
