#include "keepawake_desktop.h"

#include "x11desktop.h"

namespace umbralux {

DesktopKeepAwake::DesktopKeepAwake() = default;

DesktopKeepAwake::~DesktopKeepAwake() {
    setHeld(false);
}

void DesktopKeepAwake::setHeld(bool held) {
    if (held == m_held)
        return;
    m_held = held;
    x11::suspendScreenSaver(held);
}

void DesktopKeepAwake::signalUserActivity() {
    x11::resetScreenSaver();
}

void DesktopKeepAwake::endUserActivity() {}

void DesktopKeepAwake::keepSystemAwake() {}

QString DesktopKeepAwake::describe() const {
    return x11::available() ? QStringLiteral("Keep-awake uses the X server's screen saver control.")
                            : QStringLiteral("Keep-awake is not available on this desktop: no X server.");
}

} // namespace umbralux
