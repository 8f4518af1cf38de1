// SPDX-License-Identifier: MIT
#pragma once

#include "app/startrequest.h"

#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>

namespace umbralux {

/// Exit status for a command line the program does not understand.
inline constexpr int kUsageErrorStatus = 2;
/// Exit status for a question to the running instance when none is running.
inline constexpr int kNoInstanceStatus = 1;

/// What `--show` asks beyond the stored choices, for this showing only; nothing of it is stored.
struct ShowOptions {
    /// Keep-awake on for at most this long, then handed back while the screen stays covered.
    std::optional<std::chrono::seconds> keepAwakeFor;
    /// --monitor NAME...: only these monitors are covered; every monitor when empty.
    QStringList monitors;
    /// --monitors-off: the monitors are powered off while covered.
    bool monitorsOff = false;
};

/// What the command line asks for: an exit status (and what to print) when the program is to end at once,
/// otherwise what the start is to do.
struct CommandLine {
    std::optional<int> exitStatus;
    /// Printed before ending: on standard output with status 0, on standard error otherwise.
    QString output;
    StartRequest request = StartRequest::OptionsWindow;
    ShowOptions show;
    /// --list-monitors: the monitors are listed, nothing is shown.
    bool listMonitors = false;
    /// --status: the running instance's state is printed.
    bool status = false;
};

/// Reads a command line, the program's name first, as the program and its running instance read it.
CommandLine readCommandLine(const QStringList& arguments);

/// Answers --help and --version, reads the other options (and --service, with which the desktop starts the
/// program for a request it sends over the session bus), and refuses anything else, before any window or
/// display is needed; prints what is to be printed.
CommandLine answerCommandLine(int argc, char** argv);

} // namespace umbralux
