// SPDX-License-Identifier: MIT
#pragma once

namespace umbralux {

/// Has Qt's input context make now what it otherwise makes at the first key press that reaches a window
/// taking text input. Under X11 that is the compose table of the user's locale, read and compiled from a
/// file of half a megabyte: milliseconds that the first key would otherwise wait. Whether it was done: only
/// under X11, and only while the focus is on something that takes text input.
bool prepareInputContext();

} // namespace umbralux
