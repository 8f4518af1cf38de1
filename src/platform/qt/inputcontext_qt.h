// SPDX-License-Identifier: MIT
#pragma once

#include "app/inputcontext.h"

namespace umbralux {

/// Qt's platform input context. Under X11 it makes, at the first key press, the compose table of the
/// user's locale, read and compiled from a file of half a megabyte: milliseconds that the first key would
/// otherwise wait. prepare() does it only under X11, and only while the focus is on something that takes
/// text input; elsewhere there is nothing to make ahead.
class QtInputContext final : public InputContext {
  public:
    bool prepare() override;
};

} // namespace umbralux
