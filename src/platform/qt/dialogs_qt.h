// SPDX-License-Identifier: MIT
#pragma once

#include "app/dialogs.h"

namespace umbralux {

/// Real, modal message boxes (the same on every platform).
class MessageBoxDialogs final : public Dialogs {
  public:
    void showErrorReport(const QString& message) override;
    void showMessage(const QString& text, const QString& caption) override;
};

} // namespace umbralux
