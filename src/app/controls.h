// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QtGlobal>

class QCheckBox;
class QWidget;

/// Control properties in the terms the handlers use: back and text colours, check box values.
namespace umbralux::controls {

/// Check box values: 0 unchecked, 1 checked, 2 greyed.
inline constexpr qint16 kUnchecked = 0;
inline constexpr qint16 kChecked = 1;
inline constexpr qint16 kGrayed = 2;

qint16 checkBoxValue(const QCheckBox* box);
/// Throws Failure for a value that is no check box state.
void setCheckBoxValue(QCheckBox* box, qint16 value);

QColor backColor(const QWidget* widget);
void setBackColor(QWidget* widget, const QColor& color);
QColor foreColor(const QWidget* widget);
void setForeColor(QWidget* widget, const QColor& color);

} // namespace umbralux::controls
