#include "pushbutton.h"

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
}

} // namespace umbralux
