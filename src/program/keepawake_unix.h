// SPDX-License-Identifier: MIT
#pragma once

#include "app/keepawakebackend.h"

#include <memory>
#include <vector>

class QDBusConnection;

namespace umbralux {

/// Keep-awake's backends on a Linux desktop, in the order the tool tip names them: the display's (the X
/// server's screen saver and xscreensaver, or the Wayland compositor's idle inhibitor), then the services
/// on the session bus and logind on the system bus. None of them produces input that reaches a window.
std::vector<std::unique_ptr<KeepAwakeBackend>> keepAwakeBackends(const QDBusConnection& session,
                                                                 const QDBusConnection& system);

} // namespace umbralux
