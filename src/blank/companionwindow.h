// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>
#include <QWidget>

namespace umbralux {

/// A plain window in the screen colour over one monitor that the blank screen does not cover. It has no
/// hint and no handlers of its own: every key, character, mouse button and mouse move it receives goes to
/// the blank screen as if given to it, and a close request for it is a close request for the blank screen.
class CompanionWindow : public QWidget {
    Q_OBJECT
  public:
    explicit CompanionWindow(QWidget& form);

  protected:
    bool event(QEvent* event) override;

  private:
    QPointer<QWidget> m_form;
};

} // namespace umbralux
