// SPDX-License-Identifier: MIT
#pragma once
// A program the driver starts, with the environment, user and stop signal of the screen it runs for.

#include "basics.h"

#include <csignal>
#include <string>
#include <sys/types.h>
#include <vector>

namespace xbench {

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
    Process(const std::string& path, const std::vector<std::string>& args = {}, const Start& start = {});
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    pid_t pid() const { return m_pid; }
    Clock::time_point started() const { return m_start; }

    /// Whether the process ends by itself within the time given.
    bool endsWithin(Clock::duration limit);

  private:
    pid_t m_pid = 0;
    int m_stopSignal;
    Clock::time_point m_start;
};

} // namespace xbench
