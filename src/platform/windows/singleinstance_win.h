// SPDX-License-Identifier: MIT
#pragma once

#include "app/startrequest.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace umbralux {

/// One instance per Windows session: the first start holds a named mutex in the session's namespace and
/// answers on a hidden message-only window; a later start finds that window, checks that it belongs to
/// this program file and this user, hands its request over in a WM_COPYDATA message and ends once the
/// instance has answered. Whenever no answer comes in time, the later start runs on its own. A later start's
/// whole command line (`--status`, `--show --keep-awake-for 1h`) goes the same way, and the instance's reply
/// comes back to a window of the start's own (platform/windows/instancehandover_win.h).
class WindowsSingleInstance final : public SingleInstance {
  public:
    /// `name` (the program's app id) names the mutex and the window's class.
    explicit WindowsSingleInstance(const QString& name);
    ~WindowsSingleInstance() override;
    WindowsSingleInstance(const WindowsSingleInstance&) = delete;
    WindowsSingleInstance& operator=(const WindowsSingleInstance&) = delete;

    /// Call on the GUI thread: the window is made there, so that its event loop delivers the requests.
    bool claim(StartRequest request, Serve serve) override;
    /// Call on the GUI thread, after claim() made this process the instance.
    void serveCommands(const RunCommand& run) override;

    /// What became of handing a later start's command line over.
    struct CommandHandOver {
        enum class Outcome {
            Answered,   ///< The running instance carried it out: `reply` is what this start ends with.
            NoInstance, ///< None is running.
            NoAnswer,   ///< One is, or seems to be, but nothing confirmed within the deadline.
        };
        Outcome outcome = Outcome::NoInstance;
        CommandReply reply;
    };
    /// Hands a later start's whole command line (the program's name first) to the running instance and waits
    /// for its reply, within the same deadline as claim(). This process never becomes the instance here.
    CommandHandOver handOverCommand(const QStringList& arguments);

  private:
    struct State;
    std::unique_ptr<State> m_state;
};

/// This process's command line as Windows keeps it, in UTF-16 (main()'s are in the ANSI code page).
QStringList windowsCommandLine();

} // namespace umbralux
