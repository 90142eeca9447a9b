#include "platform/window_system/window_key_source.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <chrono>
#include <utility>

#include "platform/window_system/x11_keys.h"

namespace korvane::platform {

namespace {

// Longer than the X server takes between the two halves of an auto-repeat,
// short enough that a release still reaches the recorder at once as far as
// the user can tell (its pause is timed by the keystroke's own time).
constexpr int kReleaseHoldMs = 30;

}  // namespace

WindowKeySource::WindowKeySource(std::function<QWindow*()> window, Receiver receiver)
    : window_(std::move(window)), receiver_(std::move(receiver)) {
  releaseTimer_.setSingleShot(true);
  releaseTimer_.setInterval(kReleaseHoldMs);
  QObject::connect(&releaseTimer_, &QTimer::timeout, this, [this] { deliverHeldRelease(); });
}

WindowKeySource::~WindowKeySource() {
  stopCapture();
}

bool WindowKeySource::startCapture() {
  stopCapture();
  QWindow* window = window_ ? window_() : nullptr;
  if (window == nullptr || !window->setKeyboardGrabEnabled(true)) {
    return false;
  }
  grabbed_ = window;
  down_.clear();
  // Key events reach a window first and its widgets after; the filter takes
  // them at the window.
  QGuiApplication::instance()->installEventFilter(this);
  return true;
}

void WindowKeySource::stopCapture() {
  if (QCoreApplication* application = QGuiApplication::instance()) {
    application->removeEventFilter(this);
  }
  if (grabbed_) {
    grabbed_->setKeyboardGrabEnabled(false);
  }
  grabbed_.clear();
  down_.clear();
  heldRelease_.reset();
  releaseTimer_.stop();
}

bool WindowKeySource::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::KeyRelease) {
    return false;
  }
  if (!watched->isWindowType()) {
    return true;  // a key sent on to a widget: the window already had it
  }
  const auto* key = static_cast<const QKeyEvent*>(event);
  const bool down = type == QEvent::KeyPress;
  // The X server repeats a held key as release and press; only the press
  // counts, as a further key-down.
  if (!down && key->isAutoRepeat()) {
    return true;
  }
  const quint32 keycode = key->nativeScanCode();
  const auto time = static_cast<std::uint32_t>(key->timestamp());
  if (heldRelease_) {
    if (down && keycode == heldRelease_->keycode && time == heldRelease_->time) {
      // Release and press of one key at one moment: the server repeating a
      // held key. The key stays down; the press counts as a further key-down.
      heldRelease_.reset();
      releaseTimer_.stop();
    } else {
      deliverHeldRelease();
      if (!grabbed_) {
        return true;  // that release ended the recording
      }
    }
  }
  const TranslatedKey translated = translateX11Key(key->nativeVirtualKey(), keycode);
  const macros::KeyEvent keyEvent{
      translated.virtualKey, down,
      macros::keystrokeFlags(translated.scanCode, translated.extended, down,
                             down ? down_.contains(keycode) : true)};
  if (!down) {
    heldRelease_ = HeldRelease{keyEvent, keycode, time};
    releaseTimer_.start();
    return true;
  }
  down_.insert(keycode);
  deliver(keyEvent, time);
  return true;
}

void WindowKeySource::deliverHeldRelease() {
  if (!heldRelease_) {
    return;
  }
  const HeldRelease release = *heldRelease_;
  heldRelease_.reset();
  releaseTimer_.stop();
  down_.erase(release.keycode);
  deliver(release.event, release.time);
}

void WindowKeySource::deliver(const macros::KeyEvent& event, std::uint32_t time) {
  eventTime_ = time;
  if (receiver_) {
    receiver_(event);
  }
  eventTime_ = 0;
}

std::uint32_t WindowKeySource::tickCount() {
  if (eventTime_ != 0) {
    return eventTime_;
  }
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

}  // namespace korvane::platform
