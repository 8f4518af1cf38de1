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

/// What became of handing a command line to the running instance.
enum class HandOver {
    Answered,   ///< our instance carried it out and answered the status and text to end with
    NoInstance, ///< the bus answered, and nobody holds the program's name
    NotOurs,    ///< the name's holder is another program or another user's
    NoAnswer,   ///< our instance did not answer in time, or answered with an error
    BusSilent,  ///< the bus itself did not answer in time, or broke off
    NoBus,      ///< there is no session bus to reach
};

/// The outcome, and for an answer what the start is to print and end with.
struct HandOverReply {
    HandOver outcome = HandOver::NoBus;
    int status = 0;
    std::string output;
    /// For any other outcome, what a user would want to know about it.
    std::string detail;
};

/// Where the hand-over is sent and whom it trusts.
struct HandOverTarget {
    std::vector<bus::SocketAddress> bus;
    std::string name;       ///< the well-known name the instance holds, e.g. io.github.quenbrook.Umbralux
    std::string path;       ///< its object
    std::string executable; ///< the program file the instance must run, e.g. "/proc/self/exe"
    std::chrono::milliseconds within = kHandOverDeadline;
};

/// The interface beside org.freedesktop.Application on which the instance takes a later start's command
/// line: Run(as arguments) -> (i status, s output), answered once it is carried out (for --show, once the
/// blank screen is up).
inline constexpr char kInstanceInterface[] = "io.github.quenbrook.Umbralux.Instance";
inline constexpr char kRunMethod[] = "Run";

/// Hands `arguments` (the program's name first) to the instance that holds `target.name`, after checking
/// that it is the same program run by the same user, and waits for its answer, all within `target.within`.
/// A process that cannot be checked, and anything but an answer, count as no hand-over.
HandOverReply handOver(const HandOverTarget& target, const std::vector<std::string>& arguments);

} // namespace umbralux
