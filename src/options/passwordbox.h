// SPDX-License-Identifier: MIT
#pragma once

#include <QLineEdit>

namespace umbralux {

/// A text box for a password that shows what is typed, as the options window is designed, yet tells
/// assistive technology that it holds a password, so that a screen reader never reads its text out.
///
/// Its text never leaves it through a clipboard: the copy and cut keys and menu entries do nothing, and
/// the selection, which a line edit offers to other programs as the X11 primary selection (a middle click
/// pastes it anywhere), is taken back at once. A line edit shows its text only with the normal echo mode,
/// and only then copies, so that mode alone cannot keep the password in.
class PasswordBox : public QLineEdit {
    Q_OBJECT
  public:
    using QLineEdit::QLineEdit;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    /// Takes the clipboards back from a copy of this box's text that the line edit has just made.
    void withdrawCopies();
};

} // namespace umbralux
