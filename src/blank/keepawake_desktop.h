// SPDX-License-Identifier: MIT
#pragma once

#include "app/keepawake.h"

#include <memory>

namespace umbralux {

/// Keep-awake with the desktop's own means. On Linux: the X server's screen saver is suspended while held
/// and its idle time reset at every tick, and the session's and the system's inhibitors are held over D-Bus.
/// On Windows: a tagged key press that the program filters out, and a power-management call. Neither
/// produces input that reaches the program's windows.
class DesktopKeepAwake final : public KeepAwake {
  public:
    DesktopKeepAwake();
    ~DesktopKeepAwake() override;
    DesktopKeepAwake(const DesktopKeepAwake&) = delete;
    DesktopKeepAwake& operator=(const DesktopKeepAwake&) = delete;

    void setHeld(bool held) override;
    void signalUserActivity() override;
    void endUserActivity() override;
    void keepSystemAwake() override;
    QString describe() const override;

  private:
    struct Parts; // the platform's mechanisms
    std::unique_ptr<Parts> m_parts;
    bool m_held = false;
};

} // namespace umbralux
