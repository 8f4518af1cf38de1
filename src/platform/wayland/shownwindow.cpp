// SPDX-License-Identifier: MIT
#include "shownwindow.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPlatformSurfaceEvent>
#include <QTimer>

namespace umbralux {

ShownWindow::ShownWindow(std::function<void(QWindow*)> moved) : m_moved(std::move(moved)) {
    qGuiApp->installEventFilter(this);
    lookAgain();
}

ShownWindow::~ShownWindow() {
    qGuiApp->removeEventFilter(this);
}

namespace {

/// Exposure is reported late on some platforms; visibility changes at once when the program hides a window.
bool onScreen(const QWindow* window) {
    return window->isVisible() && window->isExposed();
}

} // namespace

QWindow* ShownWindow::choose(const QList<QWindow*>& windows, QWindow* current) {
    if (current && windows.contains(current) && onScreen(current))
        return current;
    for (QWindow* window : windows) {
        const Qt::WindowType type = window->type();
        if ((type == Qt::Window || type == Qt::Dialog) && onScreen(window))
            return window;
    }
    return nullptr;
}

bool ShownWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::Expose && type != QEvent::Show && type != QEvent::Hide &&
        type != QEvent::PlatformSurface)
        return false;
    auto* window = qobject_cast<QWindow*>(watched);
    if (!window || !window->isTopLevel())
        return false;
    // A window in use that leaves the screen is let go at once: its surface may be gone by the time the
    // event loop comes round again.
    const bool surfaceEnds =
        type == QEvent::PlatformSurface && static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() ==
                                               QPlatformSurfaceEvent::SurfaceAboutToBeDestroyed;
    if (window == m_current && (type == QEvent::Hide || surfaceEnds || !onScreen(window)))
        moveTo(nullptr);
    lookAgainSoon();
    return false;
}

void ShownWindow::lookAgainSoon() {
    // The windows change several at a time (one shown, the other hidden): look once they have settled.
    if (m_lookPending)
        return;
    m_lookPending = true;
    QTimer::singleShot(0, this, [this] {
        m_lookPending = false;
        lookAgain();
    });
}

void ShownWindow::lookAgain() {
    QWindow* chosen = choose(QGuiApplication::topLevelWindows(), m_current);
    if (chosen != m_current)
        moveTo(chosen);
}

void ShownWindow::moveTo(QWindow* window) {
    m_current = window;
    m_moved(window);
}

} // namespace umbralux
