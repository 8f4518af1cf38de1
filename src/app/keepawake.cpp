// SPDX-License-Identifier: MIT
#include "keepawake.h"

Q_LOGGING_CATEGORY(lcKeepAwake, "umbralux.keepawake")
