// SPDX-License-Identifier: MIT
#include "process.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <thread>

namespace xbench {
namespace {

/// Pause between two looks at whether a process has ended.
constexpr auto kExitPoll = milliseconds(5);

} // namespace

Process::Process(const std::string& path, const std::vector<std::string>& args, const Start& start)
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

Process::~Process() {
    if (m_pid <= 0)
        return;
    kill(m_pid, m_stopSignal);
    waitpid(m_pid, nullptr, 0);
}

bool Process::endsWithin(Clock::duration limit) {
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

} // namespace xbench
