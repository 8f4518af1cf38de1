// SPDX-License-Identifier: MIT
#pragma once

#include "busaddress.h"

#include <chrono>
#include <string>
#include <vector>

namespace umbralux {

/// How long `umbralux --show` gives the session bus and the running instance, all steps together
/// (connecting, authenticating, Hello, finding and checking the instance, its confirmation), before it covers
/// the screen itself. The instance confirms within a few milliseconds; a start of the program's own takes
/// about a tenth of a second more, so a stalled bus still leaves the screen covered within a second.
inline constexpr std::chrono::milliseconds kHandOverDeadline{500};

/// What became of handing "show the blank screen" to the running instance.
enum class HandOver {
    Covered,       ///< our instance confirmed that its blank screen is up
    NeedsPassword, ///< our instance shows its options window with the password reminder instead
    NoInstance,    ///< the bus answered, and nobody holds the program's name
    NotOurs,       ///< the name's holder is another program or another user's
    NoAnswer,      ///< our instance did not confirm in time, or answered with an error
    BusSilent,     ///< the bus itself did not answer in time, or broke off
    NoBus,         ///< there is no session bus to reach
};

/// Where the hand-over is sent and whom it trusts.
struct HandOverTarget {
    std::vector<bus::SocketAddress> bus;
    std::string name;       ///< the well-known name the instance holds, e.g. io.github.quenbrook.Umbralux
    std::string path;       ///< its object
    std::string executable; ///< the program file the instance must run, e.g. "/proc/self/exe"
    std::chrono::milliseconds within = kHandOverDeadline;
};

/// The interface beside org.freedesktop.Application on which the instance confirms a request.
inline constexpr char kInstanceInterface[] = "io.github.quenbrook.Umbralux.Instance";
/// ShowScreen(a{sv} options) -> u: the blank screen as "Show Screen" shows it; the answer is one of these.
inline constexpr char kShowScreenMethod[] = "ShowScreen";
inline constexpr unsigned kShowScreenCovered = 0;
inline constexpr unsigned kShowScreenNeedsPassword = 1;

/// Asks the instance that holds `target.name` to show its blank screen, after checking that it is the
/// same program run by the same user, and waits for its confirmation, all within `target.within`. A
/// process that cannot be checked, and any answer but a confirmation, count as no hand-over.
/// `detail` receives what a user would want to know about a hand-over that did not happen.
HandOver handOverShowScreen(const HandOverTarget& target, std::string* detail = nullptr);

} // namespace umbralux
