// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

namespace umbralux {

/// Makes the options window usable from the keyboard and with a screen reader: names and descriptions for
/// its controls, the colour of the swatch, and the exit-method group as one tab stop at its selected button
/// (the arrow keys move within the group). Changes no choice.
void setUpAccessibility(QWidget& form1);

} // namespace umbralux
