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

/// Real, modal message boxes (the same on every platform).
class MessageBoxDialogs final : public Dialogs {
  public:
    void showErrorReport(const QString& message) override;
    void showMessage(const QString& text, const QString& caption) override;
};

} // namespace umbralux
