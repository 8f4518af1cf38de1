// SPDX-License-Identifier: MIT
#pragma once

#include "app/colourpicker.h"

namespace umbralux {

/// Qt's own colour dialog, drawn by Qt on every platform so that the window look reaches it too.
class ColourDialogPicker final : public ColourPicker {
  public:
    std::optional<QColor> pickColour(QWidget* owner, const QColor& initial) override;
};

} // namespace umbralux
