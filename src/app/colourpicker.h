// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <optional>

class QWidget;

namespace umbralux {

/// The platform's standard colour dialog.
class ColourPicker {
  public:
    virtual ~ColourPicker() = default;
    /// Opens the dialog modal to `owner`, starting at `initial`, and returns when the user closes it: the
    /// chosen colour, or nothing when the user cancelled. Throws Failure when the dialog cannot be opened.
    virtual std::optional<QColor> pickColour(QWidget* owner, const QColor& initial) = 0;
};

} // namespace umbralux
