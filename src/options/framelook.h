// SPDX-License-Identifier: MIT
#pragma once

class QGroupBox;

namespace umbralux {

/// Draws the frame as designed while the program has no skin: a thin border line with the caption set into
/// its top line, and nothing painted inside, so that the frame shows its own background colour. With a skin,
/// the skin and the desktop's style draw the frame.
void drawFrameAsDesigned(QGroupBox* frame);

} // namespace umbralux
