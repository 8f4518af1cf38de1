// SPDX-License-Identifier: MIT
#pragma once

namespace umbralux {

/// A pseudo-random number in [0, 1).
class RandomSource {
  public:
    virtual ~RandomSource() = default;
    virtual double nextUnit() = 0;
};

} // namespace umbralux
