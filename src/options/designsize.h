// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

namespace umbralux {

/// Fixes a window at its present size, taken as its design size in device-independent pixels, on every
/// monitor. On X11 a window that moves to a monitor with another scale factor keeps its size in device
/// pixels, and so would show only part of its design (a quarter of it at twice the factor); here it takes
/// its design size again, in the new monitor's device pixels.
void keepDesignSize(QWidget& window);

} // namespace umbralux
