// SPDX-License-Identifier: MIT
#include "controls.h"

#include "failure.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QWidget>

namespace umbralux::controls {

qint16 checkBoxValue(const QCheckBox* box) {
    switch (box->checkState()) {
    case Qt::Checked:
        return kChecked;
    case Qt::PartiallyChecked:
        return kGrayed;
    case Qt::Unchecked:
        break;
    }
    return kUnchecked;
}

void setCheckBoxValue(QCheckBox* box, qint16 value) {
    switch (value) {
    case kUnchecked:
        box->setCheckState(Qt::Unchecked);
        return;
    case kChecked:
        box->setCheckState(Qt::Checked);
        return;
    case kGrayed:
        box->setTristate(true);
        box->setCheckState(Qt::PartiallyChecked);
        return;
    default:
        throw Failure(QCoreApplication::translate("Failure", "Invalid property value"));
    }
}

QColor backColor(const QWidget* widget) {
    return widget->palette().color(widget->backgroundRole());
}

void setBackColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    palette.setColor(QPalette::Base, color);
    widget->setPalette(palette);
    widget->setBackgroundRole(QPalette::Window);
    widget->setAutoFillBackground(true);
}

QColor foreColor(const QWidget* widget) {
    return widget->palette().color(widget->foregroundRole());
}

void setForeColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
    widget->setForegroundRole(QPalette::WindowText);
}

} // namespace umbralux::controls
