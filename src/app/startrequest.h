// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

namespace umbralux {

/// What one start of the program asks for.
enum class StartRequest {
    OptionsWindow, ///< No arguments: the options window, raised if it is open already.
    ShowScreen,    ///< --show: the blank screen at once, with the stored choices.
    Nothing,       ///< --service: started by the desktop, which sends the request over the session bus.
};

/// One instance of the program per user session: the first start serves, a later start hands its request
/// to it and ends.
class SingleInstance {
  public:
    virtual ~SingleInstance() = default;
    /// Becomes the session's instance, or hands `request` to the one that is running. True when this process
    /// is the instance: `serve` then receives the requests of later starts. False when another instance
    /// took the request, and this process is to end. Without a session bus every start is its own instance.
    virtual bool claim(StartRequest request, std::function<void(StartRequest)> serve) = 0;
};

} // namespace umbralux
