// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

namespace umbralux {

class KeepAwake;

/// Makes the widget's tool tip say what keep-awake uses on this desktop, or why it is not available. The
/// text is taken afresh each time the tool tip is about to show, since the desktop's services answer late.
void showKeepAwakeInToolTip(QWidget* widget, const KeepAwake& keepAwake);

} // namespace umbralux
