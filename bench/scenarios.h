// SPDX-License-Identifier: MIT
#pragma once
// What the driver measures: the rounds a program is put through, on the screens it is measured on, and the
// figures each round leaves.

#include "process.h"
#include "rootview.h"

#include <memory>
#include <string>
#include <vector>

namespace xbench {

struct Options {
    int rounds = 11;
    int cycles = 200;
    int idleSeconds = 15;
    std::string bus;      // session bus for the shortcut's rows; empty: the environment's
    std::string locker;   // the screen locker to compare the shortcut with; empty: none
    std::string monitors; // the X server with two monitors; empty: none
    std::string sway;     // the X server that shows the nested sway; empty: none
    std::vector<std::string> swayEnv;
    int swayUid = -1;
    std::string swayBus;
    std::string swaylock;
};

struct Program {
    std::string name;
    std::string path;
    Frame startReference;
    Frame returnReference;
    std::vector<double> execMs, showMs, dismissMs;
    double heapIdle = 0, heapCurtain = 0, heapCycles = 0;
    double rssIdle = 0, rssCurtain = 0, rssCycles = 0;
    double wakeOptions = 0, cpuOptions = 0, wakeCurtain = 0, cpuCurtain = 0;
};

/// A screen the shortcut is measured on, how the programs started there reach it, and its figures.
struct Stage {
    std::string name; // added to the labels of its rows; empty for the main screen
    std::unique_ptr<RootView> screen;
    Start start;     // of every program started on it
    std::string bus; // the session bus of the shortcut's starts; empty: no hand-over row
    std::string locker;
    std::vector<std::string> lockerArgs;
    int unlockSignal = SIGTERM;
    bool coldRows = false;   // whether the floor covers this screen, and with it the cold rows
    Frame instanceReference; // the running instance's options window here
    std::vector<double> handOverMs, coldMs, floorColdMs, lockMs;

    Start withBus() const {
        Start s = start;
        if (!bus.empty())
            s.env.push_back("DBUS_SESSION_BUS_ADDRESS=" + bus);
        return s;
    }
    Start forLocker() const {
        Start s = start;
        s.stopSignal = unlockSignal;
        return s;
    }
    std::string lockerLabel() const {
        std::string label = locker.substr(locker.find_last_of('/') + 1);
        for (const std::string& arg : lockerArgs)
            label += ' ' + arg;
        return label;
    }
};

/// The main screen, and the two-monitor and sway screens when they are given.
std::vector<Stage> stages(const Options& options);

/// One start and cycle with generous pauses, to take what each state looks like when it is done.
void calibrate(RootView& screen, Program& program);
/// Exec -> options window painted, "Show Screen" -> covered, ESC -> options window back: one of each.
void timedRound(RootView& screen, Program& program);
/// The options window of an instance started for the shortcut, settled where this screen shows it (a
/// compositor places it itself).
void calibrateInstance(Stage& stage, const Program& program);
/// Exec of PATH ARGS... on a bare screen -> the screen covered.
double coldCover(RootView& screen, const std::string& path, const std::vector<std::string>& args,
                 const Start& start);
/// With an instance of the program running on the bus: exec of a second "PROGRAM --show" -> the screen
/// covered. The second start has to end by itself, or it did not hand the request over.
double handOverRound(Stage& stage, const Program& program);
/// Memory and idle activity with the options window and with the curtain up, then memory after the cycles.
void longRound(RootView& screen, Program& program, const Options& options);

} // namespace xbench
