// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace umbralux {

/// Opens a web page in the user's browser without waiting for it.
class PageOpener {
  public:
    virtual ~PageOpener() = default;
    /// Throws Failure when the browser cannot be started.
    virtual void openPage(const QString& address) = 0;
};

} // namespace umbralux
