// SPDX-License-Identifier: MIT
#include "processmemory_unix.h"

#if defined(__linux__)
#include <sys/prctl.h>
#endif

namespace umbralux {

void keepMemoryPrivate() {
#if defined(NDEBUG) && defined(__linux__)
    // The memory holds the password of the blank screen, as typed and as stored, and old passwords the box
    // held before. A process that is not dumpable leaves no core file when it crashes, gcore and other
    // programs of the same user cannot attach to it or read /proc/PID/mem, and its /proc files belong to
    // root. A failure leaves the program as it was: it still runs, only less private.
    prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
#endif
}

} // namespace umbralux
