// SPDX-License-Identifier: MIT
#include "framestyle.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionGroupBox>

namespace umbralux {
namespace {

/// Where the caption starts, from the frame's left edge, and the gap kept free of the border on each side
/// of it (pixels at 96 DPI).
constexpr int kCaptionIndent = 7;
constexpr int kCaptionGap = 2;
/// The border line's colour: a mid grey that reads as a thin line on white and on the button face.
constexpr QRgb kBorderColour = 0xFFA0A0A0;

} // namespace

FrameStyle* FrameStyle::instance() {
    static QPointer<FrameStyle> style;
    if (!style) {
        style = new FrameStyle;
        style->setParent(qApp); // outlives every window, and goes with the application
    }
    return style;
}

void FrameStyle::applyTo(QWidget* frame) {
    if (qApp->styleSheet().isEmpty())
        frame->setStyle(instance());
}

QRect FrameStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                 SubControl subControl, const QWidget* widget) const {
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || !box)
        return QProxyStyle::subControlRect(control, option, subControl, widget);
    const QFontMetrics metrics = box->fontMetrics;
    const int captionHeight = metrics.height();
    switch (subControl) {
    case SC_GroupBoxLabel:
        return QRect(box->rect.left() + kCaptionIndent + kCaptionGap, box->rect.top(),
                     metrics.horizontalAdvance(box->text), captionHeight);
    case SC_GroupBoxContents:
        return box->rect.adjusted(1, captionHeight, -1, -1);
    case SC_GroupBoxFrame:
        return box->rect.adjusted(0, captionHeight / 2, 0, 0);
    default:
        return QProxyStyle::subControlRect(control, option, subControl, widget);
    }
}

void FrameStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                    QPainter* painter, const QWidget* widget) const {
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || !box) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    const QRect frame = subControlRect(control, option, SC_GroupBoxFrame, widget);
    const QRect caption = subControlRect(control, option, SC_GroupBoxLabel, widget);
    const int top = frame.top();
    painter->save();
    painter->setPen(QColor::fromRgba(kBorderColour));
    // The top line stops on either side of the caption.
    const int gapLeft = box->text.isEmpty() ? frame.left() : caption.left() - kCaptionGap;
    const int gapRight = box->text.isEmpty() ? frame.left() : caption.right() + kCaptionGap;
    painter->drawLine(frame.left(), top, gapLeft, top);
    painter->drawLine(gapRight, top, frame.right(), top);
    painter->drawLine(frame.left(), top, frame.left(), frame.bottom());
    painter->drawLine(frame.right(), top, frame.right(), frame.bottom());
    painter->drawLine(frame.left(), frame.bottom(), frame.right(), frame.bottom());
    painter->restore();
    drawItemText(painter, caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, box->palette,
                 box->state & State_Enabled, box->text, QPalette::WindowText);
}

} // namespace umbralux
