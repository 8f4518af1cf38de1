// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

namespace umbralux {

/// Exit status for a command line the program does not understand.
inline constexpr int kUsageErrorStatus = 2;

/// Answers --help and --version, and refuses anything else on the command line, before any window or
/// display is needed. Returns the exit status when the program should end here, nothing when it should start.
std::optional<int> answerCommandLine(int argc, char** argv);

} // namespace umbralux
