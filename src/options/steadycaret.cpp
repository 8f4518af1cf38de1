// SPDX-License-Identifier: MIT
#include "steadycaret.h"

#include <QEvent>
#include <QGuiApplication>
#include <QStyleHints>
#include <QWidget>

namespace umbralux {
namespace {

/// The blink period is one setting for the whole program, which every text field follows as it changes:
/// it is set to "no blink" while the field has the focus and given back when the field loses it.
class SteadyCaret final : public QObject {
  public:
    explicit SteadyCaret(QWidget* field) : QObject(field) { field->installEventFilter(this); }
    ~SteadyCaret() override { restore(); }

    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::FocusIn && m_savedFlashTime < 0) {
            m_savedFlashTime = QGuiApplication::styleHints()->cursorFlashTime();
            QGuiApplication::styleHints()->setCursorFlashTime(0);
        } else if (event->type() == QEvent::FocusOut) {
            restore();
        }
        return false;
    }

  private:
    void restore() {
        if (m_savedFlashTime < 0)
            return;
        QGuiApplication::styleHints()->setCursorFlashTime(m_savedFlashTime);
        m_savedFlashTime = -1;
    }

    /// The program's blink period while the field holds the focus; -1 when it does not.
    int m_savedFlashTime = -1;
};

} // namespace

void keepCaretSteady(QWidget* field) {
    new SteadyCaret(field);
}

} // namespace umbralux
