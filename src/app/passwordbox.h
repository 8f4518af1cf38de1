// SPDX-License-Identifier: MIT
#pragma once

#include <QLineEdit>

namespace umbralux {

/// A text box for a password that shows what is typed, as the options window is designed, yet tells
/// assistive technology that it holds a password, so that a screen reader never reads its text out.
class PasswordBox : public QLineEdit {
    Q_OBJECT
  public:
    using QLineEdit::QLineEdit;
};

} // namespace umbralux
