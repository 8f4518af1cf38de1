// SPDX-License-Identifier: MIT
#pragma once

#include "startrequest.h"

#include <optional>

namespace umbralux {

/// Exit status for a command line the program does not understand.
inline constexpr int kUsageErrorStatus = 2;

/// What the command line asks for: an exit status when the program is to end at once, otherwise what the
/// start is to do.
struct CommandLine {
    std::optional<int> exitStatus;
    StartRequest request = StartRequest::OptionsWindow;
};

/// Answers --help and --version, reads --show (and --service, with which the desktop starts the program
/// for a request it sends over the session bus), and refuses anything else, before any window or display is
/// needed.
CommandLine answerCommandLine(int argc, char** argv);

} // namespace umbralux
