// SPDX-License-Identifier: MIT
// The program file on Windows, where the program and its hand-over to a running instance are one. A
// `--status`, and a `--show` with options, go to the running instance whole, as the Linux front end hands
// them over (launcher/main.cpp), and this start ends as the instance answers. The plain start and the Show
// Screen shortcut's bare `--show` are handed over by the program's own claim of the session.
#include "config.h"
#include "platform/windows/singleinstance_win.h"
#include "run.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr char kProgramName[] = "umbralux";

bool given(int argc, char** argv, const char* option) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], option) == 0)
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv) {
    using umbralux::WindowsSingleInstance;
    umbralux::Launch launch;
    const bool show = given(argc, argv, "--show");
    const bool status = given(argc, argv, "--status");
    // What the program answers by itself stays with it: help, the version.
    const bool answeredHere = given(argc, argv, "-h") || given(argc, argv, "--help") ||
                              given(argc, argv, "-v") || given(argc, argv, "--version");
    const bool shortcut = argc == 2 && show;
    if ((show || status) && !answeredHere && !shortcut) {
        const WindowsSingleInstance::CommandHandOver handOver =
            WindowsSingleInstance(QStringLiteral(UMBRALUX_APP_ID))
                .handOverCommand(umbralux::windowsCommandLine());
        switch (handOver.outcome) {
        case WindowsSingleInstance::CommandHandOver::Outcome::Answered:
            std::fputs(handOver.reply.output.toLocal8Bit().constData(),
                       handOver.reply.status == 0 ? stdout : stderr);
            return handOver.reply.status;
        case WindowsSingleInstance::CommandHandOver::Outcome::NoInstance:
            break; // the usual first start: this one is the instance (and --status says there is none)
        case WindowsSingleInstance::CommandHandOver::Outcome::NoAnswer:
            // Never an open screen: a --show that no instance answered covers the screen itself.
            std::fprintf(stderr, "%s: the running instance did not answer in time%s\n", kProgramName,
                         show ? "; covering the screen here" : "");
            launch.instanceSilent = true;
            break;
        }
    }
    return umbralux::run(argc, argv, launch);
}
