#include "cli/terminal_host.h"

#include <chrono>
#include <ostream>
#include <thread>

namespace korvane::cli {

namespace {

constexpr std::string_view kProgram = "korvanectl: ";
constexpr int kBarWidth = 30;

}  // namespace

TerminalHost::TerminalHost(std::ostream& err, bool errIsTerminal, bool pacing)
    : err_(err), errIsTerminal_(errIsTerminal), pacing_(pacing) {}

void TerminalHost::sleep(int ms) {
  if (pacing_ && ms > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  }
}

// Nothing else runs here, so waiting is sleeping.
void TerminalHost::wait(int ms) {
  sleep(ms);
}

void TerminalHost::hideBusy() {
  endProgressLine();
}

void TerminalHost::setBusyProgress(int done, int total) {
  const std::string text = progressText_ ? progressText_(done, total)
                                         : std::to_string(done) + "/" + std::to_string(total);
  if (!errIsTerminal_) {
    // A log gets one line per write, none for the start.
    if (done > 0) {
      err_ << text << '\n' << std::flush;
    }
    return;
  }
  const int filled = total > 0 ? done * kBarWidth / total : kBarWidth;
  err_ << '\r' << '[' << std::string(static_cast<std::size_t>(filled), '#')
       << std::string(static_cast<std::size_t>(kBarWidth - filled), ' ') << "] " << text
       << std::flush;
  barShown_ = true;
  if (done >= total) {
    endProgressLine();
  }
}

void TerminalHost::endProgressLine() {
  if (barShown_) {
    err_ << '\n' << std::flush;
    barShown_ = false;
  }
}

void TerminalHost::messageBox(const std::string& text) {
  endProgressLine();
  messages_.push_back(text);
  err_ << kProgram << text << '\n' << std::flush;
}

std::optional<int> TerminalHost::chooseMacro(const std::vector<std::string>& /*names*/) {
  return std::nullopt;
}

app::Host::NameDialogResult TerminalHost::macroNameDialog(
    const std::function<bool(const std::string& name)>& /*onOk*/) {
  return {};
}

std::optional<std::string> TerminalHost::modeNameDialog(const std::string& /*current*/,
                                                        std::size_t /*maxLength*/) {
  return std::nullopt;
}

std::optional<std::string> TerminalHost::chooseOpenFile(const std::string& /*filter*/) {
  return std::nullopt;
}

}  // namespace korvane::cli
