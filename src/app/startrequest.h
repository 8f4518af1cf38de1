// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace umbralux {

/// What one start of the program asks for.
enum class StartRequest {
    OptionsWindow, ///< No arguments: the options window, raised if it is open already.
    ShowScreen,    ///< --show: the blank screen at once, with the stored choices.
    Nothing,       ///< --service: started by the desktop, which sends the request over the session bus.
};

/// What the running instance did with a request handed to it, as it tells the start that sent it.
enum class ServeResult {
    Served,          ///< Carried out: for ShowScreen, its blank screen is up (now, or it was already).
    NeedsPassword,   ///< ShowScreen refused: the password method has no password that can be typed, and the
                     ///< options window shows the reminder instead.
};

/// One instance of the program per user session: the first start serves, a later start hands its request
/// to it and ends.
class SingleInstance {
  public:
    /// Serves one request of a later start and says what became of it.
    using Serve = std::function<ServeResult(StartRequest)>;

    virtual ~SingleInstance() = default;
    /// Becomes the session's instance, or hands `request` to the one that is running. True when this process
    /// is the instance: `serve` then receives the requests of later starts. False when another instance
    /// confirmed that it took the request, and this process is to end. Without a session bus, and whenever
    /// the running instance does not confirm, this process is an instance of its own.
    virtual bool claim(StartRequest request, Serve serve) = 0;

    /// What the instance answers a later start's whole command line: the status that start ends with and
    /// what it prints (on standard output with status 0, on standard error otherwise).
    struct CommandReply {
        int status = 0;
        QString output;
    };
    using RunCommand = std::function<CommandReply(const QStringList& arguments)>;
    /// Lets later starts hand their whole command line to this instance, where the desktop offers a way
    /// (`umbralux --show --keep-awake-for 1h`, `umbralux --status`); a start then ends as the reply says.
    virtual void serveCommands(const RunCommand& /*run*/) {}
};

} // namespace umbralux
