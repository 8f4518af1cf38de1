// SPDX-License-Identifier: MIT
#include "companionwindow.h"

#include <QCoreApplication>
#include <QEvent>

namespace umbralux {

CompanionWindow::CompanionWindow(QWidget& form) : m_form(&form) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(form.windowTitle());
    setWindowIcon(form.windowIcon());
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, true);
    // The blank screen takes the keyboard when it shows; a companion appearing must not take it away.
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    setAutoFillBackground(true);
}

bool CompanionWindow::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        // Consumed even without the blank screen: nothing typed here may reach another window.
        if (m_form)
            QCoreApplication::sendEvent(m_form, event);
        return true;
    case QEvent::Close:
        // The blank screen's closing rule decides; it takes this window away with it.
        event->ignore();
        if (m_form)
            m_form->close();
        return true;
    default:
        return QWidget::event(event);
    }
}

} // namespace umbralux
