// SPDX-License-Identifier: MIT
// The benchmark's driver: starts each program on the current X server, plays the user's part with XTest and
// judges "painted" and "covered" from the pixels of the root window, read back through shared memory. The
// first program named is the floor; the table gives every other one as a ratio of it.
//
// The shortcut's rows, exec -> screen covered: the floor and the second program started with --show (on the
// session bus at --bus when given, with no instance there), the second program's --show handed over to a
// running instance of it on that bus, and the screen locker given with --locker. The same rows, in the same
// rounds, on other screens when they are given:
//   --monitors DISPLAY  an X server split into two monitors: the hand-over covering both, and the locker
//                       (the floor covers one monitor only, so it has no row there)
//   --sway DISPLAY      an X server that shows a sway nested in it through sway's X11 back end, the output
//                       read from that server's root; the programs started for it see no X server and get
//                       --sway-env NAME=VALUE (repeated), run as --sway-uid UID, the shortcut's starts on the
//                       session bus --sway-bus, and the locker is --swaylock (ended with SIGUSR1, its unlock)
//
// usage: xbench [--rounds N] [--cycles N] [--idle SECONDS] [--bus ADDRESS] [--locker PATH]
//               [--monitors DISPLAY] [--sway DISPLAY [--sway-env NAME=VALUE]... [--sway-uid UID]
//               [--sway-bus ADDRESS] [--swaylock PATH]] NAME PROGRAM [NAME PROGRAM ...]

#include "scenarios.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

using namespace xbench;

namespace {

/// The goals printed beside the shortcut's ratios.
constexpr double kHandOverGoal = 1.0;  // the running instance covers at least as fast as the locker starts
constexpr double kColdShowGoal = 1.15; // a cold --show at most this much slower than the floor's

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void row(const char* label, const std::vector<Program>& programs,
         const std::function<double(const Program&)>& value, const char* unit, bool ratio) {
    std::printf("| %s |", label);
    for (const Program& p : programs)
        std::printf(" %.1f %s |", value(p), unit);
    if (ratio) {
        for (size_t i = 1; i < programs.size(); ++i) {
            const double base = value(programs[0]);
            if (base > 0)
                std::printf(" %.2fx |", value(programs[i]) / base);
            else
                std::printf(" |");
        }
    } else {
        for (size_t i = 1; i < programs.size(); ++i)
            std::printf(" |");
    }
    std::printf("\n");
}

void report(const std::vector<Program>& programs, const std::vector<Stage>& stages, const Options& options) {
    std::printf("\nMedians of %d interleaved rounds; memory and idle activity from one long run each "
                "(%d s idle per state).\n\n| |",
                options.rounds, options.idleSeconds);
    for (const Program& p : programs)
        std::printf(" %s |", p.name.c_str());
    for (size_t i = 1; i < programs.size(); ++i)
        std::printf(" ratio |");
    std::printf("\n|---|");
    for (size_t i = 0; i < 2 * programs.size() - 1; ++i)
        std::printf("---|");
    std::printf("\n");
    const std::string cycles = std::to_string(options.cycles);
    row(
        "exec -> options window painted", programs, [](const Program& p) { return median(p.execMs); }, "ms",
        true);
    row(
        "click Show -> screen covered", programs, [](const Program& p) { return median(p.showMs); }, "ms",
        true);
    row(
        "ESC -> options window painted, curtain gone", programs,
        [](const Program& p) { return median(p.dismissMs); }, "ms", true);
    row(
        "heap at idle", programs, [](const Program& p) { return p.heapIdle; }, "MiB", true);
    row(
        "heap, curtain up", programs, [](const Program& p) { return p.heapCurtain; }, "MiB", true);
    row(("heap after " + cycles + " cycles").c_str(), programs, [](const Program& p) { return p.heapCycles; },
        "MiB", true);
    row(("heap growth over " + cycles + " cycles").c_str(), programs,
        [](const Program& p) { return p.heapCycles - p.heapIdle; }, "MiB", false);
    row(
        "RSS at idle", programs, [](const Program& p) { return p.rssIdle; }, "MiB", true);
    row(
        "RSS, curtain up", programs, [](const Program& p) { return p.rssCurtain; }, "MiB", true);
    row(("RSS after " + cycles + " cycles").c_str(), programs, [](const Program& p) { return p.rssCycles; },
        "MiB", true);
    row(
        "wake-ups per idle minute, options window", programs, [](const Program& p) { return p.wakeOptions; },
        "", false);
    row(
        "CPU per idle minute, options window", programs, [](const Program& p) { return p.cpuOptions; }, "ms",
        false);
    row(
        "wake-ups per idle minute, curtain up", programs, [](const Program& p) { return p.wakeCurtain; }, "",
        false);
    row(
        "CPU per idle minute, curtain up", programs, [](const Program& p) { return p.cpuCurtain; }, "ms",
        false);

    const Program& floor = programs[0];
    const Program& shortcut = programs[1];
    std::printf("\nThe shortcut, exec -> screen covered (medians of the same interleaved rounds):\n\n"
                "| | ms | beside | ms | ratio | goal |\n|---|---|---|---|---|---|\n");
    const auto pair = [](const std::string& label, const std::vector<double>& ms, const std::string& other,
                         const std::vector<double>& otherMs, double limit) {
        if (ms.empty() || otherMs.empty())
            return;
        const double ratio = median(ms) / median(otherMs);
        std::printf("| %s | %.1f | %s | %.1f | %.2fx | at most %.2fx: %s |\n", label.c_str(), median(ms),
                    other.c_str(), median(otherMs), ratio, limit, ratio <= limit ? "met" : "missed");
    };
    for (const Stage& stage : stages) {
        const std::string on = stage.name.empty() ? "" : ", " + stage.name;
        pair(shortcut.name + " --show, instance running" + on, stage.handOverMs, stage.lockerLabel() + on,
             stage.lockMs, kHandOverGoal);
        pair(shortcut.name + " --show, cold" + on, stage.coldMs, floor.name + " --show" + on,
             stage.floorColdMs, kColdShowGoal);
    }

    std::printf("\nEvery round (ms):\n");
    const auto print = [](const std::string& name, const std::string& what,
                          const std::vector<double>& values) {
        if (values.empty())
            return;
        std::printf("  %-10s %-24s", name.c_str(), what.c_str());
        for (double v : values)
            std::printf(" %.1f", v);
        std::printf("\n");
    };
    for (const Program& p : programs) {
        print(p.name, "exec", p.execMs);
        print(p.name, "show", p.showMs);
        print(p.name, "dismiss", p.dismissMs);
    }
    for (const Stage& stage : stages) {
        const std::string on = stage.name.empty() ? "" : ", " + stage.name;
        print(floor.name, "--show" + on, stage.floorColdMs);
        print(shortcut.name, "--show" + on, stage.coldMs);
        print(shortcut.name, "handover" + on, stage.handOverMs);
        print(stage.lockerLabel().substr(0, stage.lockerLabel().find(' ')), "lock" + on, stage.lockMs);
    }
}

} // namespace

int main(int argc, char** argv) {
    try {
        Options options;
        std::vector<Program> programs;
        for (int i = 1; i + 1 < argc; i += 2) {
            const std::string arg = argv[i];
            if (arg == "--rounds")
                options.rounds = std::atoi(argv[i + 1]);
            else if (arg == "--cycles")
                options.cycles = std::atoi(argv[i + 1]);
            else if (arg == "--idle")
                options.idleSeconds = std::atoi(argv[i + 1]);
            else if (arg == "--bus")
                options.bus = argv[i + 1];
            else if (arg == "--locker")
                options.locker = argv[i + 1];
            else if (arg == "--monitors")
                options.monitors = argv[i + 1];
            else if (arg == "--sway")
                options.sway = argv[i + 1];
            else if (arg == "--sway-env")
                options.swayEnv.emplace_back(argv[i + 1]);
            else if (arg == "--sway-uid")
                options.swayUid = std::atoi(argv[i + 1]);
            else if (arg == "--sway-bus")
                options.swayBus = argv[i + 1];
            else if (arg == "--swaylock")
                options.swaylock = argv[i + 1];
            else {
                Program program;
                program.name = arg;
                program.path = argv[i + 1];
                programs.push_back(std::move(program));
            }
        }
        if (argc % 2 == 0 || programs.size() < 2 || options.rounds < 1 || options.cycles < 1 ||
            options.idleSeconds < 1) {
            std::fprintf(stderr,
                         "usage: xbench [--rounds N] [--cycles N] [--idle SECONDS] [--bus ADDRESS] "
                         "[--locker PATH] [--monitors DISPLAY] [--sway DISPLAY [--sway-env NAME=VALUE]... "
                         "[--sway-uid UID] [--sway-bus ADDRESS] [--swaylock PATH]] "
                         "FLOOR-NAME PROGRAM NAME PROGRAM...\n");
            return 2;
        }
        std::vector<Stage> all = stages(options);
        RootView& screen = *all[0].screen;
        for (Stage& stage : all)
            stage.screen->learnBare();
        for (Program& p : programs) {
            std::fprintf(stderr, "calibrating %s\n", p.name.c_str());
            calibrate(screen, p);
        }
        for (Stage& stage : all) {
            if (stage.bus.empty())
                continue;
            std::fprintf(stderr, "calibrating %s's running instance%s\n", programs[1].name.c_str(),
                         stage.name.empty() ? "" : (" on " + stage.name).c_str());
            calibrateInstance(stage, programs[1]);
        }
        // The main screen's programs started above; on the others, a first untimed --show of each, so that
        // the first round does not carry what a first start there costs.
        for (size_t i = 1; i < all.size(); ++i)
            if (all[i].coldRows)
                for (const Program* p : {&programs[0], &programs[1]})
                    coldCover(*all[i].screen, p->path, {"--show"}, all[i].withBus());
        std::vector<std::function<void()>> tasks;
        for (Program& p : programs)
            tasks.emplace_back([&screen, program = &p] { timedRound(screen, *program); });
        for (Stage& stage : all) {
            Stage* s = &stage;
            if (s->coldRows) {
                tasks.emplace_back([&programs, s] {
                    s->floorColdMs.push_back(
                        coldCover(*s->screen, programs[0].path, {"--show"}, s->withBus()));
                });
                tasks.emplace_back([&programs, s] {
                    s->coldMs.push_back(coldCover(*s->screen, programs[1].path, {"--show"}, s->withBus()));
                });
            }
            if (!s->bus.empty())
                tasks.emplace_back(
                    [&programs, s] { s->handOverMs.push_back(handOverRound(*s, programs[1])); });
            if (!s->locker.empty())
                tasks.emplace_back([s] {
                    s->lockMs.push_back(coldCover(*s->screen, s->locker, s->lockerArgs, s->forLocker()));
                });
        }
        for (int round = 0; round < options.rounds; ++round) {
            std::fprintf(stderr, "round %d of %d\n", round + 1, options.rounds);
            // Interleaved, and in turn first and last, so that a slow moment of the machine falls on all.
            for (size_t k = 0; k < tasks.size(); ++k)
                tasks[round % 2 ? tasks.size() - 1 - k : k]();
        }
        for (Program& p : programs) {
            std::fprintf(stderr, "memory and idle: %s\n", p.name.c_str());
            longRound(screen, p, options);
        }
        report(programs, all, options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "xbench: %s\n", e.what());
        return 1;
    }
    return 0;
}
