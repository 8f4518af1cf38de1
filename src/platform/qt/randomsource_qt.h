// SPDX-License-Identifier: MIT
#pragma once

#include "app/randomsource.h"

namespace umbralux {

/// Seeded by the system at start.
class SystemRandomSource final : public RandomSource {
  public:
    double nextUnit() override;
};

} // namespace umbralux
