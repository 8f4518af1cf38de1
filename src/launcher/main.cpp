// SPDX-License-Identifier: MIT
// The command `umbralux` on Linux: a front end that links no part of Qt. A `--show` or `--status` is handed
// to the running instance, and this start ends as the instance answers, without loading any window-system
// library; everything else, and a --show that no instance answers, loads and runs the whole program.
#include "handover.h"
#include "launch.h"
#include "launcherconfig.h"
#include "programlibrary.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char kProgramName[] = "umbralux";

/// The instance's object path: /a/b/C for the name a.b.C.
std::string objectPath(std::string name) {
    for (char& c : name)
        if (c == '.')
            c = '/';
    return "/" + name;
}

bool given(int argc, char** argv, const char* option) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], option) == 0)
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv) {
    umbralux::Launch launch;
    const bool show = given(argc, argv, "--show");
    const bool status = given(argc, argv, "--status");
    // What the program answers by itself stays with it: help, the version.
    const bool answeredHere = given(argc, argv, "-h") || given(argc, argv, "--help") ||
                              given(argc, argv, "-v") || given(argc, argv, "--version");
    if ((show || status) && !answeredHere) {
        const umbralux::HandOverTarget target{umbralux::bus::sessionBusSockets(), UMBRALUX_APP_ID,
                                              objectPath(UMBRALUX_APP_ID), "/proc/self/exe"};
        const umbralux::HandOverReply reply =
            umbralux::handOver(target, std::vector<std::string>(argv, argv + argc));
        switch (reply.outcome) {
        case umbralux::HandOver::Answered:
            std::fputs(reply.output.c_str(), reply.status == 0 ? stdout : stderr);
            return reply.status;
        case umbralux::HandOver::NoInstance:
        case umbralux::HandOver::NoBus:
            break; // the usual first start: this one is the instance (and --status says there is none)
        case umbralux::HandOver::BusSilent:
            launch.sessionBusAnswers = false;
            [[fallthrough]];
        case umbralux::HandOver::NotOurs:
        case umbralux::HandOver::NoAnswer:
            // Never an open screen: a --show that no instance answered covers the screen itself.
            std::fprintf(stderr, "%s: %s%s\n", kProgramName, reply.detail.c_str(),
                         show ? "; covering the screen here" : "");
            break;
        }
    }
    return umbralux::runProgramLibrary(argc, argv, launch);
}
