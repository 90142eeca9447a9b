#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <optional>
#include <set>

#include "macros/key_source.h"
#include "macros/recorder.h"

namespace korvane::platform {

// The keyboard of the program's own window. Capturing grabs the keyboard for
// that window (on X11 a server grab), so every key comes here and goes to no
// other program until the capture stops; the pointer is not grabbed. Each key
// is translated to the key table's virtual-key code and keystroke flags and
// handed to the receiver; the window's own controls do not see it.
//
// It is also the recorder's clock: a key's time is the time the X server
// gave the keystroke, so the recorded pauses are the user's and not the
// moments the program got round to the keys (after a busy moment, several
// keys would otherwise arrive within one millisecond and lose their pauses).
// Where the events carry no time, the monotonic clock serves.
class WindowKeySource : public QObject, public macros::KeySource, public macros::Clock {
 public:
  using Receiver = std::function<void(const macros::KeyEvent&)>;

  WindowKeySource(std::function<QWindow*()> window, Receiver receiver);
  ~WindowKeySource() override;
  WindowKeySource(const WindowKeySource&) = delete;
  WindowKeySource& operator=(const WindowKeySource&) = delete;

  bool startCapture() override;
  void stopCapture() override;
  std::uint32_t tickCount() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // A release the X server may have sent as half of an auto-repeat: held
  // back until the next key shows whether a press of the same key at the
  // same time follows it.
  struct HeldRelease {
    macros::KeyEvent event;
    quint32 keycode = 0;
    std::uint32_t time = 0;
  };

  void deliver(const macros::KeyEvent& event, std::uint32_t time);
  void deliverHeldRelease();

  std::function<QWindow*()> window_;
  Receiver receiver_;
  QPointer<QWindow> grabbed_;
  std::set<quint32> down_;  // keycodes held, for the keystroke's previous state
  std::optional<HeldRelease> heldRelease_;
  QTimer releaseTimer_;
  std::uint32_t eventTime_ = 0;  // of the key being handed on; 0 for none
};

}  // namespace korvane::platform
