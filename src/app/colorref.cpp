// SPDX-License-Identifier: MIT
#include "colorref.h"

#include "failure.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPalette>

namespace umbralux {
namespace {

QPalette::ColorRole systemColorRole(quint32 index) {
    switch (index) {
    case 5: // window background
        return QPalette::Base;
    case 8: // window text
        return QPalette::Text;
    case 15: // button face
        return QPalette::Button;
    case 18: // button text
        return QPalette::ButtonText;
    default:
        throw Failure(QCoreApplication::translate("Failure", "Invalid property value"));
    }
}

} // namespace

QColor colorFromReference(qint64 reference) {
    const auto bits = static_cast<quint32>(reference);
    if (reference >= 0 && reference <= 0xFFFFFF)
        return QColor(int(bits & 0xFF), int((bits >> 8) & 0xFF), int((bits >> 16) & 0xFF));
    if ((bits & 0xFFFFFF00u) == kSystemColorFlag)
        return QApplication::palette().color(QPalette::Active, systemColorRole(bits & 0xFF));
    throw Failure(QCoreApplication::translate("Failure", "Invalid property value"));
}

qint32 referenceFromColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16);
}

} // namespace umbralux
