// SPDX-License-Identifier: MIT
#include "programlibrary.h"

#include "launcherconfig.h"

#include <climits>
#include <cstdio>
#include <dlfcn.h>
#include <string>
#include <unistd.h>

namespace umbralux {
namespace {

std::string ownFolder() {
    std::string path(PATH_MAX, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0)
        return {};
    path.resize(static_cast<std::size_t>(length));
    return path.substr(0, path.rfind('/'));
}

} // namespace

int runProgramLibrary(int argc, char** argv, const Launch& launch) {
    const std::string folder = ownFolder();
    // Beside the front end in a build or a portable folder; in the installation's library folder, found
    // from the front end's own place so that an installation can be moved; where it was installed.
    const std::string candidates[] = {
        folder + "/" UMBRALUX_PROGRAM_LIBRARY,
        folder + "/" UMBRALUX_PROGRAM_LIBRARY_FROM_BINDIR "/" UMBRALUX_PROGRAM_LIBRARY,
        UMBRALUX_PROGRAM_LIBRARY_INSTALLED,
    };
    std::string errors;
    for (const std::string& candidate : candidates) {
        if (::access(candidate.c_str(), F_OK) != 0)
            continue;
        // Loaded for good: its code runs until the process ends, and it is never closed.
        void* library = ::dlopen(candidate.c_str(), RTLD_LAZY | RTLD_LOCAL);
        if (!library) {
            errors += std::string("\n  ") + ::dlerror();
            continue;
        }
        if (auto* run = reinterpret_cast<RunProgram*>(::dlsym(library, kRunProgramSymbol)))
            return run(argc, argv, &launch);
        errors += "\n  " + candidate + ": " + kRunProgramSymbol + " is missing";
    }
    std::fprintf(stderr, "umbralux: the program's library %s cannot be loaded%s\n", UMBRALUX_PROGRAM_LIBRARY,
                 errors.empty() ? " (not found beside the program nor where it is installed)"
                                : errors.c_str());
    return kProgramMissingStatus;
}

} // namespace umbralux
