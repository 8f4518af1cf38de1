// SPDX-License-Identifier: MIT
#pragma once

#include "app/startrequest.h"

namespace umbralux {

/// Windows: every start is an instance of its own for now, as before there was --show.
class WindowsSingleInstance final : public SingleInstance {
  public:
    bool claim(StartRequest, Serve) override { return true; }
};

} // namespace umbralux
