// SPDX-License-Identifier: MIT
// The program file on Windows, where the program and its hand-over to a running instance are one.
#include "run.h"

int main(int argc, char** argv) {
    return umbralux::run(argc, argv, umbralux::Launch{});
}
