// SPDX-License-Identifier: MIT
#include "scenarios.h"

#include "procfs.h"

#include <thread>

namespace xbench {
namespace {

/// Centre of the "Show Screen" button, in the window's own pixels.
constexpr int kShowButtonX = 268;
constexpr int kShowButtonY = 21;
/// Pause after a state was reached before the next action, so that deferred work does not overlap it.
constexpr auto kSettle = milliseconds(300);
/// Pause before reading memory or counting idle activity.
constexpr auto kQuiet = milliseconds(1000);
/// A --show that found a running instance ends within this long after the screen is covered.
constexpr auto kHandOverExit = std::chrono::seconds(5);

/// One start of a program on a screen, driven through the options window and the blank screen.
class Run {
  public:
    Run(RootView& screen, Program& program) : m_screen(screen), m_program(program), m_process(program.path) {}

    pid_t pid() const { return m_process.pid(); }
    Clock::time_point started() const { return m_process.started(); }

    double waitPainted(const Frame& reference, Clock::time_point from) {
        return m_screen.waitFor(
            from, [&](const Frame& f) { return RootView::matches(f, reference); }, "the options window");
    }

    /// Clicks "Show Screen"; milliseconds until the screen is covered.
    double show() {
        const auto [x, y] = m_screen.optionsWindow();
        m_screen.movePointer(x + kShowButtonX, y + kShowButtonY);
        std::this_thread::sleep_for(milliseconds(30)); // the hover look is not part of the measure
        const auto start = Clock::now();
        m_screen.click();
        return m_screen.waitFor(
            start, [&](const Frame& f) { return m_screen.covered(f); }, "the covered screen");
    }

    /// Presses ESC on the blank screen; milliseconds until the options window is back and painted.
    double dismiss() {
        m_screen.parkPointer();
        const auto start = Clock::now();
        m_screen.escape();
        return waitPainted(m_program.returnReference, start);
    }

    void memory(double& heap, double& rss) {
        const std::string text = readFile("/proc/" + std::to_string(pid()) + "/smaps_rollup");
        heap = procKb(text, "Anonymous");
        rss = procKb(text, "Rss");
    }

    /// Wake-ups and CPU milliseconds per minute over the idle period.
    void idle(int seconds, double& wakeUps, double& cpuMs) {
        const Activity before = activity(pid());
        std::this_thread::sleep_for(std::chrono::seconds(seconds));
        const Activity after = activity(pid());
        wakeUps = (after.wakeUps - before.wakeUps) * 60.0 / seconds;
        cpuMs = (after.cpuMs - before.cpuMs) * 60.0 / seconds;
    }

  private:
    RootView& m_screen;
    Program& m_program;
    Process m_process;
};

void waitBare(RootView& screen) {
    screen.waitFor(
        Clock::now(), [&](const Frame& f) { return screen.bare(f); }, "a bare screen");
}

} // namespace

std::vector<Stage> stages(const Options& options) {
    std::vector<Stage> all(1);
    Stage& primary = all[0];
    primary.screen = std::make_unique<RootView>();
    primary.bus = options.bus;
    primary.locker = options.locker;
    primary.lockerArgs = {"-n", "-c", "000000"};
    primary.coldRows = true;
    if (!options.monitors.empty()) {
        Stage monitors;
        monitors.name = "two monitors";
        monitors.screen = std::make_unique<RootView>(options.monitors);
        monitors.start.env = {"DISPLAY=" + options.monitors};
        monitors.bus = options.bus;
        monitors.locker = options.locker;
        monitors.lockerArgs = primary.lockerArgs;
        all.push_back(std::move(monitors));
    }
    if (!options.sway.empty()) {
        Stage sway;
        sway.name = "sway";
        sway.screen = std::make_unique<RootView>(options.sway);
        sway.start.env = options.swayEnv;
        sway.start.env.emplace_back("DISPLAY"); // the X server is sway's, not theirs
        sway.start.uid = options.swayUid;
        sway.bus = options.swayBus;
        sway.locker = options.swaylock;
        sway.lockerArgs = {"-c", "000000"};
        sway.unlockSignal = SIGUSR1;
        sway.coldRows = true;
        all.push_back(std::move(sway));
    }
    return all;
}

void calibrate(RootView& screen, Program& program) {
    screen.parkPointer();
    waitBare(screen);
    Run run(screen, program);
    auto painted = [&](const Frame& f) { return !screen.bare(f) && !screen.covered(f); };
    program.startReference = screen.waitSettled(painted, "options window");
    run.show();
    std::this_thread::sleep_for(kSettle);
    screen.parkPointer();
    screen.escape();
    program.returnReference = screen.waitSettled(painted, "options window after the blank screen");
}

void timedRound(RootView& screen, Program& program) {
    screen.parkPointer();
    waitBare(screen);
    Run run(screen, program);
    program.execMs.push_back(run.waitPainted(program.startReference, run.started()));
    std::this_thread::sleep_for(kSettle);
    program.showMs.push_back(run.show());
    std::this_thread::sleep_for(kSettle);
    program.dismissMs.push_back(run.dismiss());
}

void calibrateInstance(Stage& stage, const Program& program) {
    RootView& screen = *stage.screen;
    screen.parkPointer();
    waitBare(screen);
    Process instance(program.path, {}, stage.withBus());
    stage.instanceReference =
        screen.waitSettled([&](const Frame& f) { return !screen.bare(f) && !screen.covered(f); },
                           "options window of the running instance");
}

double coldCover(RootView& screen, const std::string& path, const std::vector<std::string>& args,
                 const Start& start) {
    screen.parkPointer();
    waitBare(screen);
    Process process(path, args, start);
    return screen.waitFor(
        process.started(), [&](const Frame& f) { return screen.covered(f); }, "the covered screen");
}

double handOverRound(Stage& stage, const Program& program) {
    RootView& screen = *stage.screen;
    screen.parkPointer();
    waitBare(screen);
    Process instance(program.path, {}, stage.withBus());
    screen.waitFor(
        instance.started(), [&](const Frame& f) { return RootView::matches(f, stage.instanceReference); },
        "the running instance's options window");
    std::this_thread::sleep_for(kSettle);
    Process request(program.path, {"--show"}, stage.withBus());
    const double ms = screen.waitFor(
        request.started(), [&](const Frame& f) { return screen.covered(f); },
        "the screen covered by the running instance");
    if (!request.endsWithin(kHandOverExit))
        die("the second --show did not end: it did not hand its request to the running instance");
    return ms;
}

void longRound(RootView& screen, Program& program, const Options& options) {
    screen.parkPointer();
    waitBare(screen);
    Run run(screen, program);
    run.waitPainted(program.startReference, run.started());
    std::this_thread::sleep_for(kQuiet);
    run.memory(program.heapIdle, program.rssIdle);
    run.idle(options.idleSeconds, program.wakeOptions, program.cpuOptions);
    run.show();
    std::this_thread::sleep_for(kQuiet);
    run.memory(program.heapCurtain, program.rssCurtain);
    run.idle(options.idleSeconds, program.wakeCurtain, program.cpuCurtain);
    run.dismiss();
    for (int i = 1; i < options.cycles; ++i) {
        run.show();
        run.dismiss();
    }
    std::this_thread::sleep_for(kQuiet);
    run.memory(program.heapCycles, program.rssCycles);
}

} // namespace xbench
