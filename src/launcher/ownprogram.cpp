// SPDX-License-Identifier: MIT
#include "ownprogram.h"

#include <cerrno>
#include <climits>
#include <fstream>
#include <unistd.h>

namespace umbralux {
namespace {

/// The program file a /proc/PID/exe link names, without the mark of a file replaced since it started (an
/// update of the package while the instance runs is still our program); empty if it cannot be read, and
/// errno then says why.
std::string programFile(const std::string& link) {
    std::string target(PATH_MAX, '\0');
    const ssize_t length = ::readlink(link.c_str(), target.data(), target.size());
    if (length <= 0)
        return {};
    target.resize(static_cast<std::size_t>(length));
    constexpr std::string_view kReplaced = " (deleted)";
    if (target.size() > kReplaced.size() && target.ends_with(kReplaced))
        target.resize(target.size() - kReplaced.size());
    return target;
}

std::string firstLine(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

} // namespace

bool runsProgram(std::uint32_t pid, const std::string& executable) {
    const std::string process = "/proc/" + std::to_string(pid);
    const std::string ours = programFile(executable);
    const std::string theirs = programFile(process + "/exe");
    if (!theirs.empty())
        return !ours.empty() && theirs == ours;
    if (errno != EACCES)
        return false;
    const std::string ourName = firstLine("/proc/self/comm");
    return !ourName.empty() && firstLine(process + "/comm") == ourName;
}

} // namespace umbralux
