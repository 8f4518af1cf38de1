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
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <grp.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

/// Both programs show their options window at this size; it is how the driver finds it.
constexpr int kWindowWidth = 536;
constexpr int kWindowHeight = 287;
/// Centre of the "Show Screen" button, in the window's own pixels.
constexpr int kShowButtonX = 268;
constexpr int kShowButtonY = 21;
/// A colour that neither program paints, so that whatever is not root is the program's.
constexpr unsigned long kRootColour = 0x336699;
/// The blank screen may write a hint into this band at its top; below it, a covered screen is one colour.
constexpr int kHintBand = 80;
/// Every this many pixels across and down is compared; enough to see any control appear.
constexpr int kSampleStep = 4;
/// A frame matches its reference when at most this share of the sampled pixels differ.
constexpr double kMatchTolerance = 0.002;
/// Pause between two reads of the screen while waiting for a state.
constexpr auto kPollPause = std::chrono::microseconds(250);
/// A state has not come when it takes longer than this.
constexpr auto kStateTimeout = std::chrono::seconds(20);
/// The screen counts as settled when it has not changed for this long (only to take the references).
constexpr auto kStableFor = milliseconds(700);
/// Pause after a state was reached before the next action, so that deferred work does not overlap it.
constexpr auto kSettle = milliseconds(300);
/// Pause before reading memory or counting idle activity.
constexpr auto kQuiet = milliseconds(1000);
/// A --show that found a running instance ends within this long after the screen is covered.
constexpr auto kHandOverExit = std::chrono::seconds(5);
/// Pause between two looks at whether a process has ended.
constexpr auto kExitPoll = milliseconds(5);
/// The goals printed beside the shortcut's ratios.
constexpr double kHandOverGoal = 1.0;  // the running instance covers at least as fast as the locker starts
constexpr double kColdShowGoal = 1.15; // a cold --show at most this much slower than the floor's

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
    std::vector<uint32_t> startReference;
    std::vector<uint32_t> returnReference;
    std::vector<double> execMs, showMs, dismissMs;
    double heapIdle = 0, heapCurtain = 0, heapCycles = 0;
    double rssIdle = 0, rssCurtain = 0, rssCycles = 0;
    double wakeOptions = 0, cpuOptions = 0, wakeCurtain = 0, cpuCurtain = 0;
};

[[noreturn]] void die(const std::string& message) {
    throw std::runtime_error(message);
}

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class RootView {
  public:
    /// The X server given, or DISPLAY's.
    explicit RootView(const std::string& display = {}) {
        m_dpy = XOpenDisplay(display.empty() ? nullptr : display.c_str());
        if (!m_dpy)
            die("cannot open the display " + display);
        m_name = DisplayString(m_dpy);
        if (!XShmQueryExtension(m_dpy))
            die("the X server has no MIT-SHM");
        const int screen = DefaultScreen(m_dpy);
        m_root = RootWindow(m_dpy, screen);
        m_width = DisplayWidth(m_dpy, screen);
        m_height = DisplayHeight(m_dpy, screen);
        m_image = XShmCreateImage(m_dpy, DefaultVisual(m_dpy, screen), DefaultDepth(m_dpy, screen), ZPixmap,
                                  nullptr, &m_shm, m_width, m_height);
        m_shm.shmid = shmget(IPC_PRIVATE, m_image->bytes_per_line * m_height, IPC_CREAT | 0600);
        m_shm.shmaddr = m_image->data = static_cast<char*>(shmat(m_shm.shmid, nullptr, 0));
        m_shm.readOnly = False;
        XShmAttach(m_dpy, &m_shm);
        XSync(m_dpy, False);
        shmctl(m_shm.shmid, IPC_RMID, nullptr); // gone once both sides detach
        XSetWindowBackground(m_dpy, m_root, kRootColour);
        XClearWindow(m_dpy, m_root);
        XSync(m_dpy, False);
    }
    ~RootView() {
        XShmDetach(m_dpy, &m_shm);
        shmdt(m_shm.shmaddr);
        XCloseDisplay(m_dpy);
    }

    /// The sampled pixels of the whole screen, as it is now.
    std::vector<uint32_t> grab() {
        XShmGetImage(m_dpy, m_root, m_image, 0, 0, AllPlanes);
        std::vector<uint32_t> samples;
        samples.reserve((m_width / kSampleStep + 1) * (m_height / kSampleStep + 1));
        for (int y = 0; y < m_height; y += kSampleStep)
            for (int x = 0; x < m_width; x += kSampleStep)
                samples.push_back(XGetPixel(m_image, x, y) & 0xFFFFFF);
        return samples;
    }

    static bool matches(const std::vector<uint32_t>& frame, const std::vector<uint32_t>& reference) {
        size_t differ = 0;
        for (size_t i = 0; i < frame.size(); ++i)
            differ += frame[i] != reference[i];
        return differ <= kMatchTolerance * frame.size();
    }

    /// Nothing but the colour of the empty screen: no window of a program is visible.
    bool bare(const std::vector<uint32_t>& frame) const {
        return std::all_of(frame.begin(), frame.end(), [&](uint32_t p) { return p == m_bare; });
    }

    /// Takes the colour of the empty screen: the root's on a bare X server, the empty output's of a
    /// compositor nested in it.
    void learnBare() {
        const auto frame = waitSettled(
            [](const std::vector<uint32_t>& f) {
                return std::all_of(f.begin(), f.end(), [&](uint32_t p) { return p == f.front(); });
            },
            "empty screen");
        m_bare = frame.front();
    }

    /// One colour, not the empty screen's, everywhere below the hint band: on every monitor, whose tops are
    /// all at the screen's.
    bool covered(const std::vector<uint32_t>& frame) const {
        const size_t first = (kHintBand / kSampleStep) * ((m_width + kSampleStep - 1) / kSampleStep);
        const uint32_t colour = frame.back();
        if (colour == m_bare)
            return false;
        return std::all_of(frame.begin() + first, frame.end(), [&](uint32_t p) { return p == colour; });
    }

    /// Reads the screen until the predicate holds; the milliseconds from start to the read that saw it.
    double waitFor(Clock::time_point start, const std::function<bool(const std::vector<uint32_t>&)>& done,
                   const char* what) {
        for (;;) {
            const auto frame = grab();
            if (done(frame))
                return msSince(start);
            if (Clock::now() - start > kStateTimeout)
                die(std::string("timed out waiting for ") + what + " on " + m_name);
            std::this_thread::sleep_for(kPollPause);
        }
    }

    /// Waits until the screen satisfies the predicate and then stays unchanged for a while; returns it.
    std::vector<uint32_t> waitSettled(const std::function<bool(const std::vector<uint32_t>&)>& wanted,
                                      const char* what) {
        const auto start = Clock::now();
        std::vector<uint32_t> last;
        auto since = Clock::now();
        for (;;) {
            auto frame = grab();
            if (frame != last || !wanted(frame)) {
                last = std::move(frame);
                since = Clock::now();
            } else if (Clock::now() - since >= kStableFor) {
                return last;
            }
            if (Clock::now() - start > kStateTimeout)
                die(std::string("timed out waiting for a settled ") + what + " on " + m_name);
            std::this_thread::sleep_for(milliseconds(20));
        }
    }

    /// Top-left corner of the visible options window.
    std::pair<int, int> optionsWindow() {
        Window rootReturn = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        XQueryTree(m_dpy, m_root, &rootReturn, &parent, &children, &count);
        std::pair<int, int> found{-1, -1};
        for (unsigned i = 0; i < count; ++i) {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(m_dpy, children[i], &attributes) && attributes.map_state == IsViewable &&
                attributes.width == kWindowWidth && attributes.height == kWindowHeight)
                found = {attributes.x, attributes.y};
        }
        if (children)
            XFree(children);
        if (found.first < 0)
            die("no visible 536x287 window");
        return found;
    }

    void movePointer(int x, int y) {
        XTestFakeMotionEvent(m_dpy, -1, x, y, CurrentTime);
        XSync(m_dpy, False);
    }
    void parkPointer() { movePointer(1, 1); }
    void click() {
        XTestFakeButtonEvent(m_dpy, 1, True, CurrentTime);
        XTestFakeButtonEvent(m_dpy, 1, False, CurrentTime);
        XFlush(m_dpy);
    }
    void escape() {
        const KeyCode key = XKeysymToKeycode(m_dpy, XK_Escape);
        XTestFakeKeyEvent(m_dpy, key, True, CurrentTime);
        XTestFakeKeyEvent(m_dpy, key, False, CurrentTime);
        XFlush(m_dpy);
    }

  private:
    Display* m_dpy = nullptr;
    std::string m_name;
    Window m_root = 0;
    int m_width = 0;
    int m_height = 0;
    uint32_t m_bare = kRootColour;
    XImage* m_image = nullptr;
    XShmSegmentInfo m_shm{};
};

/// The text of a file with a line break in front, so that every field starts after one.
std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << '\n' << in.rdbuf();
    return text.str();
}

/// A "Name:   123 kB" field of a /proc file, in MiB.
double procKb(const std::string& text, const std::string& field) {
    const auto at = text.find('\n' + field + ':');
    if (at == std::string::npos)
        die("no " + field + " in /proc");
    return std::strtod(text.c_str() + at + field.size() + 2, nullptr) / 1024.0;
}

struct Activity {
    double cpuMs = 0;
    long wakeUps = 0;
};

/// CPU time and voluntary context switches (each one a sleep that ended in a wake-up) of every thread.
Activity activity(pid_t pid) {
    Activity total;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(tasks.c_str());
    if (!dir)
        die("process " + std::to_string(pid) + " is gone");
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        const std::string task = tasks + "/" + entry->d_name;
        total.cpuMs += std::strtod(readFile(task + "/schedstat").c_str() + 1, nullptr) / 1e6;
        const std::string status = readFile(task + "/status");
        const auto at = status.find("\nvoluntary_ctxt_switches:");
        if (at != std::string::npos)
            total.wakeUps += std::strtol(status.c_str() + at + 25, nullptr, 10);
    }
    closedir(dir);
    return total;
}

/// How a program is started: changes to the driver's environment ("NAME=VALUE" sets, a bare "NAME" unsets),
/// the user and group it runs as (-1: the driver's) and the signal that ends it.
struct Start {
    std::vector<std::string> env;
    int uid = -1;
    int stopSignal = SIGTERM;
};

/// A started program, ended with its stop signal when it goes out of scope.
class Process {
  public:
    Process(const std::string& path, const std::vector<std::string>& args = {}, const Start& start = {})
        : m_stopSignal(start.stopSignal) {
        std::vector<char*> argv{const_cast<char*>(path.c_str())};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        m_start = Clock::now();
        m_pid = fork();
        if (m_pid == 0) {
            // The programs' own messages would run through the table.
            if (const int null = open("/dev/null", O_WRONLY); null >= 0) {
                dup2(null, STDOUT_FILENO);
                dup2(null, STDERR_FILENO);
            }
            for (const std::string& change : start.env) {
                const auto equals = change.find('=');
                if (equals == std::string::npos)
                    unsetenv(change.c_str());
                else
                    setenv(change.substr(0, equals).c_str(), change.c_str() + equals + 1, 1);
            }
            if (start.uid >= 0 &&
                (setgroups(0, nullptr) != 0 || setgid(start.uid) != 0 || setuid(start.uid) != 0))
                _exit(126);
            execv(path.c_str(), argv.data());
            std::perror("exec");
            _exit(127);
        }
    }
    ~Process() {
        if (m_pid <= 0)
            return;
        kill(m_pid, m_stopSignal);
        waitpid(m_pid, nullptr, 0);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    pid_t pid() const { return m_pid; }
    Clock::time_point started() const { return m_start; }

    /// Whether the process ends by itself within the time given.
    bool endsWithin(Clock::duration limit) {
        const auto until = Clock::now() + limit;
        while (Clock::now() < until) {
            if (waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
                m_pid = 0;
                return true;
            }
            std::this_thread::sleep_for(kExitPoll);
        }
        return false;
    }

  private:
    pid_t m_pid = 0;
    int m_stopSignal;
    Clock::time_point m_start;
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
    bool coldRows = false; // whether the floor covers this screen, and with it the cold rows
    std::vector<uint32_t> instanceReference; // the running instance's options window here
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

class Run {
  public:
    Run(RootView& screen, Program& program) : m_screen(screen), m_program(program), m_process(program.path) {}

    pid_t pid() const { return m_process.pid(); }
    Clock::time_point started() const { return m_process.started(); }

    double waitPainted(const std::vector<uint32_t>& reference, Clock::time_point from) {
        return m_screen.waitFor(
            from, [&](const std::vector<uint32_t>& f) { return RootView::matches(f, reference); },
            "the options window");
    }

    /// Clicks "Show Screen"; milliseconds until the screen is covered.
    double show() {
        const auto [x, y] = m_screen.optionsWindow();
        m_screen.movePointer(x + kShowButtonX, y + kShowButtonY);
        std::this_thread::sleep_for(milliseconds(30)); // the hover look is not part of the measure
        const auto start = Clock::now();
        m_screen.click();
        return m_screen.waitFor(
            start, [&](const std::vector<uint32_t>& f) { return m_screen.covered(f); }, "the covered screen");
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
        Clock::now(), [&](const std::vector<uint32_t>& f) { return screen.bare(f); }, "a bare screen");
}

/// One start and cycle with generous pauses, to take what each state looks like when it is done.
void calibrate(RootView& screen, Program& program) {
    screen.parkPointer();
    waitBare(screen);
    Run run(screen, program);
    auto painted = [&](const std::vector<uint32_t>& f) { return !screen.bare(f) && !screen.covered(f); };
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

/// The options window of an instance started for the shortcut, settled where this screen shows it (a
/// compositor places it itself).
void calibrateInstance(Stage& stage, const Program& program) {
    RootView& screen = *stage.screen;
    screen.parkPointer();
    waitBare(screen);
    Process instance(program.path, {}, stage.withBus());
    stage.instanceReference = screen.waitSettled(
        [&](const std::vector<uint32_t>& f) { return !screen.bare(f) && !screen.covered(f); },
        "options window of the running instance");
}

/// Exec of PATH ARGS... on a bare screen -> the screen covered.
double coldCover(RootView& screen, const std::string& path, const std::vector<std::string>& args,
                 const Start& start) {
    screen.parkPointer();
    waitBare(screen);
    Process process(path, args, start);
    return screen.waitFor(
        process.started(), [&](const std::vector<uint32_t>& f) { return screen.covered(f); },
        "the covered screen");
}

/// With an instance of the program running on the bus: exec of a second "PROGRAM --show" -> the screen
/// covered. The second start has to end by itself, or it did not hand the request over.
double handOverRound(Stage& stage, const Program& program) {
    RootView& screen = *stage.screen;
    screen.parkPointer();
    waitBare(screen);
    Process instance(program.path, {}, stage.withBus());
    screen.waitFor(
        instance.started(),
        [&](const std::vector<uint32_t>& f) { return RootView::matches(f, stage.instanceReference); },
        "the running instance's options window");
    std::this_thread::sleep_for(kSettle);
    Process request(program.path, {"--show"}, stage.withBus());
    const double ms = screen.waitFor(
        request.started(), [&](const std::vector<uint32_t>& f) { return screen.covered(f); },
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

/// The main screen, and the two-monitor and sway screens when they are given.
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
