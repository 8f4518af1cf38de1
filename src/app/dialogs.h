// SPDX-License-Identifier: MIT
#pragma once

#include "errorreport.h"

#include <QString>

namespace umbralux {

/// The program's message boxes.
class Dialogs : public ErrorReportSink {
  public:
    /// A box with an OK button only and no icon; returns when it is closed.
    virtual void showMessage(const QString& text, const QString& caption) = 0;
};

} // namespace umbralux
