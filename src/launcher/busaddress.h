// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace umbralux::bus {

/// A Unix socket that a bus address names: a path in the file system or a name in the abstract namespace.
struct SocketAddress {
    std::string name;
    bool abstract = false;

    bool operator==(const SocketAddress&) const = default;
};

/// The Unix sockets of a D-Bus address list
/// ("unix:path=/run/user/1000/bus;unix:abstract=/tmp/dbus-x,guid=.."), in the order they are to be tried.
/// Transports other than unix (tcp, launchd, autolaunch, ...) and malformed entries are left out.
std::vector<SocketAddress> unixSockets(std::string_view addresses);

/// The session bus of this process's environment: DBUS_SESSION_BUS_ADDRESS, or where it is unset the
/// socket "bus" in XDG_RUNTIME_DIR if there is one, as the desktop's own clients find it.
std::vector<SocketAddress> sessionBusSockets();

} // namespace umbralux::bus
