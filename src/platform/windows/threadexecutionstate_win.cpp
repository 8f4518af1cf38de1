// SPDX-License-Identifier: MIT
#include "threadexecutionstate_win.h"

#include "app/keepawakesummary.h"

#include <QCoreApplication>
#include <windows.h>

namespace umbralux {

void ThreadExecutionState::tick(Tick step) {
    if (step == Tick::System)
        SetThreadExecutionState(ES_SYSTEM_REQUIRED);
}

void ThreadExecutionState::report(KeepAwakeSummary& summary) const {
    summary.uses(QCoreApplication::translate("KeepAwake", "Windows power management"));
}

} // namespace umbralux
