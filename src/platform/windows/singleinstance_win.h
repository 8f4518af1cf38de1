// SPDX-License-Identifier: MIT
#pragma once

#include "app/startrequest.h"

#include <QString>
#include <memory>

namespace umbralux {

/// One instance per Windows session: the first start holds a named mutex in the session's namespace and
/// answers on a hidden message-only window; a later start finds that window, checks that it belongs to
/// this program file and this user, hands its request over in a WM_COPYDATA message and ends once the
/// instance has answered. Whenever no answer comes in time, the later start runs on its own.
class WindowsSingleInstance final : public SingleInstance {
  public:
    /// `name` (the program's app id) names the mutex and the window's class.
    explicit WindowsSingleInstance(const QString& name);
    ~WindowsSingleInstance() override;
    WindowsSingleInstance(const WindowsSingleInstance&) = delete;
    WindowsSingleInstance& operator=(const WindowsSingleInstance&) = delete;

    /// Call on the GUI thread: the window is made there, so that its event loop delivers the requests.
    bool claim(StartRequest request, Serve serve) override;

  private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace umbralux
