// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>

namespace umbralux {

/// The program's own icon, which both windows show.
QIcon applicationIcon();

} // namespace umbralux
