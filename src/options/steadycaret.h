// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

namespace umbralux {

/// Keeps the text cursor of a field from blinking while the field has the keyboard focus. The blink is the
/// only thing that wakes an idle window; for a field nobody sees it buys nothing. The focus itself and
/// whatever the field does with typed keys stay as they were, and every other field blinks as usual.
void keepCaretSteady(QWidget* field);

} // namespace umbralux
