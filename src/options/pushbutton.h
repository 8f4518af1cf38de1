// SPDX-License-Identifier: MIT
#pragma once

#include <QPushButton>

namespace umbralux {

/// The options window's command button: a caption in Arial 11.25 point bold, a click notification and a
/// pointer-move notification. It shows whatever pointer its window selects.
class PushButton : public QPushButton {
    Q_OBJECT
  public:
    explicit PushButton(QWidget* parent = nullptr);

  Q_SIGNALS:
    /// Raised for every pointer movement over the button.
    void MouseMove();

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};

} // namespace umbralux
