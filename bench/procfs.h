// SPDX-License-Identifier: MIT
#pragma once
// What /proc tells of a running program: its memory and its activity while it should be idle.

#include <string>
#include <sys/types.h>

namespace xbench {

/// The text of a file with a line break in front, so that every field starts after one.
std::string readFile(const std::string& path);

/// A "Name:   123 kB" field of a /proc file, in MiB.
double procKb(const std::string& text, const std::string& field);

struct Activity {
    double cpuMs = 0;
    long wakeUps = 0;
};

/// CPU time and voluntary context switches (each one a sleep that ended in a wake-up) of every thread.
Activity activity(pid_t pid);

} // namespace xbench
