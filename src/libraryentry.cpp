// SPDX-License-Identifier: MIT
// The program as a library, loaded by the front end `umbralux` (launcher/) when it has to run the program.
#include "run.h"

extern "C" __attribute__((visibility("default"))) int umbralux_run_program(int argc, char** argv,
                                                                           const umbralux::Launch* launch) {
    return umbralux::run(argc, argv, launch ? *launch : umbralux::Launch{});
}
