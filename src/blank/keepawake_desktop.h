#pragma once

#include "keepawake.h"

namespace umbralux {

/// Keep-awake on X11 desktops: the X server's idle time is reset at every tick and its screen saver is
/// suspended while held. Produces no input events.
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
    bool m_held = false;
};

} // namespace umbralux
