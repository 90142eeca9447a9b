#pragma once

#include <memory>
#include <optional>
#include <string>

namespace korvane::platform::desktop_pointer {

// The session bus's address: DBUS_SESSION_BUS_ADDRESS, else the user's bus
// socket in XDG_RUNTIME_DIR when it exists; empty when there is none.
std::string sessionBusAddress(const std::string& busAddress, const std::string& runtimeDir);

// Tells a running Plasma session about changed settings, so that no new
// login is needed. Each call answers nothing on success, else why not.
class KdeSession {
 public:
  virtual ~KdeSession() = default;
  // org.kde.KGlobalSettings notifyChange: the mouse settings of kdeglobals.
  virtual std::optional<std::string> notifyMouseSettingsChanged() = 0;
  // KWin's input device (Wayland): its pointer acceleration and profile.
  virtual std::optional<std::string> setKWinPointer(const std::string& sysName,
                                                    std::optional<double> acceleration,
                                                    bool adaptive) = 0;
};

// The session bus through GDBus: DBUS_SESSION_BUS_ADDRESS, else the
// user's bus socket in XDG_RUNTIME_DIR; never one started on demand. Each
// call waits at most a short time for an answer.
class SessionBusKdeSession : public KdeSession {
 public:
  SessionBusKdeSession(std::string busAddress, std::string runtimeDir);
  ~SessionBusKdeSession() override;
  SessionBusKdeSession(const SessionBusKdeSession&) = delete;
  SessionBusKdeSession& operator=(const SessionBusKdeSession&) = delete;

  std::optional<std::string> notifyMouseSettingsChanged() override;
  std::optional<std::string> setKWinPointer(const std::string& sysName,
                                            std::optional<double> acceleration,
                                            bool adaptive) override;

 private:
  // The connection, made at the first call; nothing when there is no bus.
  struct Connection;
  std::optional<std::string> connect();

  std::string busAddress_;
  std::string runtimeDir_;
  std::unique_ptr<Connection> connection_;
  std::optional<std::string> connectError_;
  bool tried_ = false;
};

}  // namespace korvane::platform::desktop_pointer
