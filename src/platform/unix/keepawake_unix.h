// SPDX-License-Identifier: MIT
#pragma once

#include "app/keepawake.h"

#include <memory>

namespace umbralux {

/// Keep-awake on Linux desktops: the X server's screen saver is suspended while held and its idle time reset
/// at every tick, and the session's and the system's inhibitors are held over D-Bus. Nothing of it produces
/// input that reaches the program's windows.
class LinuxKeepAwake final : public KeepAwake {
  public:
    LinuxKeepAwake();
    ~LinuxKeepAwake() override;
    LinuxKeepAwake(const LinuxKeepAwake&) = delete;
    LinuxKeepAwake& operator=(const LinuxKeepAwake&) = delete;

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
