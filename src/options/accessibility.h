// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QColor;

namespace umbralux {

/// Gives the program's own windows the role of application windows, and password boxes the password
/// state with their text hidden. Call once; later calls do nothing.
void installAccessibleInterfaces();

/// A colour as assistive technology reads it: its name when it has one, and its hex form.
QString describeColour(const QColor& colour);

} // namespace umbralux
