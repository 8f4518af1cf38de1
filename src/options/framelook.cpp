// SPDX-License-Identifier: MIT
#include "framelook.h"

#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QPainter>

namespace umbralux {
namespace {

/// Where the caption starts, from the frame's left edge, and the gap kept free of the border on each side
/// of it (pixels at 96 DPI).
constexpr int kCaptionIndent = 7;
constexpr int kCaptionGap = 2;
/// The border line's colour: a mid grey that reads as a thin line on white and on the button face.
constexpr QRgb kBorderColour = 0xFFA0A0A0;

/// Paints the frame in place of its style, as long as no skin is applied.
class FramePainter : public QObject {
  public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint || !qApp->styleSheet().isEmpty())
            return QObject::eventFilter(watched, event);
        paint(static_cast<QGroupBox*>(watched));
        return true;
    }

  private:
    static void paint(QGroupBox* frame) {
        QPainter painter(frame);
        const QFontMetrics metrics = frame->fontMetrics();
        const QString caption = frame->title();
        const QRect border = frame->rect().adjusted(0, metrics.height() / 2, -1, -1);
        const int captionLeft = kCaptionIndent + kCaptionGap;
        const int captionRight = captionLeft + metrics.horizontalAdvance(caption);
        painter.setPen(QColor::fromRgba(kBorderColour));
        // The top line stops on either side of the caption.
        const int top = border.top();
        painter.drawLine(border.left(), top, caption.isEmpty() ? border.right() : captionLeft - kCaptionGap,
                         top);
        if (!caption.isEmpty())
            painter.drawLine(captionRight + kCaptionGap, top, border.right(), top);
        painter.drawLine(border.left(), top, border.left(), border.bottom());
        painter.drawLine(border.right(), top, border.right(), border.bottom());
        painter.drawLine(border.left(), border.bottom(), border.right(), border.bottom());
        painter.setPen(frame->palette().color(frame->isEnabled() ? QPalette::Active : QPalette::Disabled,
                                              QPalette::WindowText));
        painter.drawText(QRect(captionLeft, 0, captionRight - captionLeft, metrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, caption);
    }
};

} // namespace

void drawFrameAsDesigned(QGroupBox* frame) {
    frame->installEventFilter(new FramePainter(frame));
}

} // namespace umbralux
