// SPDX-License-Identifier: MIT
#include "procfs.h"

#include "basics.h"

#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>

namespace xbench {

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << '\n' << in.rdbuf();
    return text.str();
}

double procKb(const std::string& text, const std::string& field) {
    const auto at = text.find('\n' + field + ':');
    if (at == std::string::npos)
        die("no " + field + " in /proc");
    return std::strtod(text.c_str() + at + field.size() + 2, nullptr) / 1024.0;
}

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

} // namespace xbench
