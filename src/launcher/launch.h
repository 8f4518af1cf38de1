// SPDX-License-Identifier: MIT
#pragma once

namespace umbralux {

/// What the program's small front end found out before it loaded the rest of the program, which it hands
/// over with the command line.
struct Launch {
    /// False when the session bus did not answer the front end in time: the program then runs without it
    /// rather than wait for it again before it can cover the screen.
    bool sessionBusAnswers = true;
    /// True when the front end handed the command line to a running instance and nothing confirmed in time:
    /// the program then covers the screen on its own rather than ask that instance again.
    bool instanceSilent = false;
};

/// The program behind the front end: the options window, the blank screen, everything that needs Qt's
/// windows. Returns the exit status.
using RunProgram = int(int argc, char** argv, const Launch* launch);
/// The name under which the program's library offers it.
inline constexpr char kRunProgramSymbol[] = "umbralux_run_program";

} // namespace umbralux
