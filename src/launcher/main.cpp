// SPDX-License-Identifier: MIT
// The command `umbralux` on Linux: a front end that links no part of Qt. `umbralux --show` asks the
// running instance to cover the screen and ends once it confirms, without loading any window system
// library; everything else, and a --show that no instance confirms, loads and runs the whole program.
#include "handover.h"
#include "launch.h"
#include "launcherconfig.h"
#include "programlibrary.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr char kProgramName[] = "umbralux";

/// The instance's object path: /a/b/C for the name a.b.C.
std::string objectPath(std::string name) {
    for (char& c : name)
        if (c == '.')
            c = '/';
    return "/" + name;
}

} // namespace

int main(int argc, char** argv) {
    umbralux::Launch launch;
    if (argc == 2 && std::strcmp(argv[1], "--show") == 0) {
        const umbralux::HandOverTarget target{umbralux::bus::sessionBusSockets(), UMBRALUX_APP_ID,
                                              objectPath(UMBRALUX_APP_ID), "/proc/self/exe"};
        std::string detail;
        switch (umbralux::handOverShowScreen(target, &detail)) {
        case umbralux::HandOver::Covered:
            return 0;
        case umbralux::HandOver::NeedsPassword:
            std::fprintf(stderr,
                         "%s: the screen is not covered: the password method has no password yet, "
                         "and the options window says so\n",
                         kProgramName);
            return 1;
        case umbralux::HandOver::NoInstance:
        case umbralux::HandOver::NoBus:
            break; // the usual first start: this one is the instance
        case umbralux::HandOver::BusSilent:
            launch.sessionBusAnswers = false;
            [[fallthrough]];
        case umbralux::HandOver::NotOurs:
        case umbralux::HandOver::NoAnswer:
            // Never an open screen: this start covers it itself.
            std::fprintf(stderr, "%s: %s; covering the screen here\n", kProgramName, detail.c_str());
            break;
        }
    }
    return umbralux::runProgramLibrary(argc, argv, launch);
}
