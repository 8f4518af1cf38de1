// SPDX-License-Identifier: MIT
#pragma once

#include "launch.h"

namespace umbralux {

/// Loads the program's library from beside the front end (a build folder, a portable folder) or from where
/// it is installed, and runs it; says why and returns kProgramMissingStatus where it cannot.
int runProgramLibrary(int argc, char** argv, const Launch& launch);

/// Exit status when the program's library cannot be loaded (EX_UNAVAILABLE).
inline constexpr int kProgramMissingStatus = 69;

} // namespace umbralux
