// SPDX-License-Identifier: MIT
#pragma once
// What every part of the benchmark's driver shares: its clock, and how it gives up.

#include <chrono>
#include <stdexcept>
#include <string>

namespace xbench {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

/// Ends the run: main() prints the message and ends with 1.
[[noreturn]] inline void die(const std::string& message) {
    throw std::runtime_error(message);
}

inline double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace xbench
