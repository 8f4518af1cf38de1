// SPDX-License-Identifier: MIT
#pragma once

#include "launcher/launch.h"

namespace umbralux {

/// The whole program: reads the command line, becomes the session's instance or hands the request to the
/// one running, and runs until it ends. Returns the exit status.
int run(int argc, char** argv, const Launch& launch);

} // namespace umbralux
