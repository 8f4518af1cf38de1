// SPDX-License-Identifier: MIT
#include "outputpower.h"

#include "wayland-dpms-client-protocol.h"
#include "wayland-wlr-output-power-management-unstable-v1-client-protocol.h"

#include <QCoreApplication>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <wayland-client.h>

extern char** environ;

namespace umbralux {
namespace {

/// The version of each global that this code speaks.
constexpr uint32_t kOutputVersion = 1;
constexpr uint32_t kManagerVersion = 1;

/// The compositor's connection with the globals this code uses.
struct Connection {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    zwlr_output_power_manager_v1* wlr = nullptr;
    org_kde_kwin_dpms_manager* kde = nullptr;
    std::vector<wl_output*> outputs;
    /// Per output, the power control of whichever protocol is used.
    std::vector<zwlr_output_power_v1*> wlrPowers;
    std::vector<org_kde_kwin_dpms*> kdePowers;
    /// Outputs whose control the compositor took back (an output unplugged, another client in charge).
    int failed = 0;
    /// Outputs the compositor reported off, after the last request.
    int reportedOff = 0;

    ~Connection() {
        for (zwlr_output_power_v1* power : wlrPowers)
            zwlr_output_power_v1_destroy(power);
        for (org_kde_kwin_dpms* power : kdePowers)
            org_kde_kwin_dpms_release(power);
        for (wl_output* output : outputs)
            wl_output_destroy(output);
        if (wlr)
            zwlr_output_power_manager_v1_destroy(wlr);
        if (kde)
            org_kde_kwin_dpms_manager_destroy(kde);
        if (registry)
            wl_registry_destroy(registry);
        if (display)
            wl_display_disconnect(display);
    }

    static void global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
        auto* self = static_cast<Connection*>(data);
        if (std::strcmp(interface, wl_output_interface.name) == 0)
            self->outputs.push_back(static_cast<wl_output*>(
                wl_registry_bind(registry, name, &wl_output_interface, kOutputVersion)));
        else if (std::strcmp(interface, zwlr_output_power_manager_v1_interface.name) == 0)
            self->wlr = static_cast<zwlr_output_power_manager_v1*>(
                wl_registry_bind(registry, name, &zwlr_output_power_manager_v1_interface, kManagerVersion));
        else if (std::strcmp(interface, org_kde_kwin_dpms_manager_interface.name) == 0)
            self->kde = static_cast<org_kde_kwin_dpms_manager*>(
                wl_registry_bind(registry, name, &org_kde_kwin_dpms_manager_interface, kManagerVersion));
    }
    static void globalRemove(void*, wl_registry*, uint32_t) {}

    static void wlrMode(void* data, zwlr_output_power_v1*, uint32_t mode) {
        if (mode == ZWLR_OUTPUT_POWER_V1_MODE_OFF)
            ++static_cast<Connection*>(data)->reportedOff;
    }
    static void wlrFailed(void* data, zwlr_output_power_v1*) { ++static_cast<Connection*>(data)->failed; }

    /// Connects and learns the globals; says why not.
    QString open() {
        static const wl_registry_listener listener{&Connection::global, &Connection::globalRemove};
        display = wl_display_connect(nullptr);
        if (!display)
            return QCoreApplication::translate("MonitorPower", "Wayland: no compositor to connect to");
        registry = wl_display_get_registry(display);
        wl_registry_add_listener(registry, &listener, this);
        if (wl_display_roundtrip(display) < 0)
            return QCoreApplication::translate("MonitorPower",
                                               "Wayland: the compositor closed the connection");
        if (!wlr && !kde)
            return QStringLiteral("Wayland: the compositor offers no output power control (neither wlroots' "
                                  "output power management nor KDE's DPMS)");
        if (outputs.empty())
            return QCoreApplication::translate("MonitorPower", "Wayland: the compositor names no output");
        static const zwlr_output_power_v1_listener wlrListener{&Connection::wlrMode, &Connection::wlrFailed};
        for (wl_output* output : outputs) {
            if (wlr) {
                zwlr_output_power_v1* power = zwlr_output_power_manager_v1_get_output_power(wlr, output);
                zwlr_output_power_v1_add_listener(power, &wlrListener, this);
                wlrPowers.push_back(power);
            } else {
                kdePowers.push_back(org_kde_kwin_dpms_manager_get(kde, output));
            }
        }
        return {};
    }

    /// Sets every output's power; says why not.
    QString setPower(bool on) {
        for (zwlr_output_power_v1* power : wlrPowers)
            zwlr_output_power_v1_set_mode(power,
                                          on ? ZWLR_OUTPUT_POWER_V1_MODE_ON : ZWLR_OUTPUT_POWER_V1_MODE_OFF);
        for (org_kde_kwin_dpms* power : kdePowers)
            org_kde_kwin_dpms_set(power, on ? ORG_KDE_KWIN_DPMS_MODE_ON : ORG_KDE_KWIN_DPMS_MODE_OFF);
        reportedOff = 0;
        if (wl_display_roundtrip(display) < 0)
            return QCoreApplication::translate("MonitorPower",
                                               "Wayland: the compositor closed the connection");
        if (on)
            return {};
        if (failed > 0 && failed >= int(wlrPowers.size()))
            return QCoreApplication::translate(
                "MonitorPower", "Wayland: the compositor took back the control of the outputs' power");
        // wlroots reports each change of an output's power as it makes it; an output that stays on was
        // not powered off (a virtual output, a back end that cannot).
        if (!wlrPowers.empty() && reportedOff == 0)
            return QCoreApplication::translate("MonitorPower",
                                               "Wayland: the compositor did not power its outputs off");
        return {};
    }
};

} // namespace

struct WaylandOutputPower::Parts {
    std::string guardProgram;
    std::unique_ptr<Connection> connection;
    pid_t guard = -1;
    /// The guard's standard input: it powers the outputs on when this closes, as it does when we die.
    int guardInput = -1;

    void startGuard() {
        if (guardProgram.empty() || guard > 0)
            return;
        int ends[2];
        if (pipe2(ends, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, ends[0], STDIN_FILENO);
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        // Its own session: Ctrl+C in the terminal or the terminal's hang-up must not end the guard first.
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
        char* const arguments[] = {guardProgram.data(), const_cast<char*>(kGuardOption), nullptr};
        if (posix_spawn(&guard, guardProgram.c_str(), &actions, &attributes, arguments, environ) != 0)
            guard = -1;
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
        close(ends[0]);
        if (guard > 0)
            guardInput = ends[1];
        else
            close(ends[1]);
    }

    void stopGuard() {
        if (guardInput >= 0)
            close(guardInput); // the guard powers the outputs on (again) and ends
        guardInput = -1;
        if (guard > 0)
            waitpid(guard, nullptr, WNOHANG); // collected here if it has ended already, else at our end
        guard = -1;
    }
};

WaylandOutputPower::WaylandOutputPower(std::string guardProgram) : m_parts(std::make_unique<Parts>()) {
    m_parts->guardProgram = std::move(guardProgram);
}

WaylandOutputPower::~WaylandOutputPower() {
    m_parts->stopGuard();
}

QString WaylandOutputPower::powerOff() {
    if (!m_parts->connection) {
        auto connection = std::make_unique<Connection>();
        if (QString reason = connection->open(); !reason.isEmpty())
            return reason;
        m_parts->connection = std::move(connection);
    }
    // The guard first: from the moment the outputs are off, something must be there to bring them back.
    if (m_parts->connection->wlr)
        m_parts->startGuard();
    QString reason = m_parts->connection->setPower(false);
    if (!reason.isEmpty())
        m_parts->stopGuard();
    return reason;
}

void WaylandOutputPower::powerOn() {
    if (m_parts->connection)
        m_parts->connection->setPower(true);
    m_parts->stopGuard();
}

int WaylandOutputPower::guard() {
    // Only the end of the input ends the guard: signals meant for the program's group do not.
    for (int signal : {SIGINT, SIGHUP, SIGTERM, SIGPIPE})
        std::signal(signal, SIG_IGN);
    char buffer[64];
    while (read(STDIN_FILENO, buffer, sizeof buffer) != 0) {
        if (errno != EINTR && errno != EAGAIN)
            break;
    }
    Connection connection;
    if (!connection.open().isEmpty())
        return 1;
    return connection.setPower(true).isEmpty() ? 0 : 1;
}

} // namespace umbralux
