// SPDX-License-Identifier: MIT
#include "pushbutton.h"

#include <QMouseEvent>

namespace umbralux {
namespace {

constexpr double kCaptionPointSize = 11.25;

} // namespace

PushButton::PushButton(QWidget* parent) : QPushButton(parent) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(kCaptionPointSize);
    font.setBold(true);
    setFont(font);
    setMouseTracking(true);
    setAutoDefault(false);
}

void PushButton::mouseMoveEvent(QMouseEvent* event) {
    Q_EMIT MouseMove();
    QPushButton::mouseMoveEvent(event);
    // QAbstractButton ignores a move without a press, which would hand it on to the window's own handler
    // and undo the button's pointer at once. The move belongs to the button.
    event->accept();
}

} // namespace umbralux
