// SPDX-License-Identifier: MIT
#pragma once

#include <QProxyStyle>

namespace umbralux {

/// The look of the options window's frames as designed: a thin border line with the caption set into its top
/// line, and nothing painted inside, so that the frame shows its own background colour. A skin decides the
/// frames' look itself, so a skinned frame goes back to the application's style.
class FrameStyle : public QProxyStyle {
    Q_OBJECT
  public:
    /// Gives the frame the designed look, unless the program is skinned already (a skin's style sheet
    /// reaches only widgets drawn in the application's style).
    static void applyTo(QWidget* frame);

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl subControl,
                         const QWidget* widget = nullptr) const override;

  private:
    FrameStyle() = default;
    static FrameStyle* instance();
};

} // namespace umbralux
