// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace umbralux {

/// Whether the process runs the program file `executable` names (e.g. "/proc/self/exe"): the check that a
/// holder of the program's bus name is our own program before anything is handed to it. A file replaced
/// since the process started (an update while it runs) still counts. A process that is not dumpable, as
/// our release build makes itself to keep the password out of other programs' reach, hides its program
/// file from the same user: then only its name can be compared.
bool runsProgram(std::uint32_t pid, const std::string& executable);

} // namespace umbralux
