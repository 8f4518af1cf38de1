// SPDX-License-Identifier: MIT
#pragma once

namespace umbralux {

/// The windows' input context: what turns key presses into text (compose sequences, input methods).
class InputContext {
  public:
    virtual ~InputContext() = default;
    /// Has the input context make now what it otherwise makes at the first key press that reaches a window
    /// taking text input, so that the first key does not wait for it. Whether it was done; when not, a later
    /// call may succeed.
    virtual bool prepare() = 0;
};

} // namespace umbralux
