// SPDX-License-Identifier: MIT
#include "keepawake.h"

// Quiet unless something is wrong: what is used and what is missing is logged at info level, which
// QT_LOGGING_RULES="umbralux.keepawake.info=true" turns on; refusals are warnings.
Q_LOGGING_CATEGORY(lcKeepAwake, "umbralux.keepawake", QtWarningMsg)
