// SPDX-License-Identifier: MIT
#include "othermonitors.h"

#include "app/controls.h"
#include "app/windowhints.h"
#include "companionwindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace umbralux {

OtherMonitors::OtherMonitors(QWidget& form, WindowHints& windowHints)
    : m_form(form), m_windowHints(windowHints) {
    m_followTimer.setSingleShot(true);
    m_followTimer.setInterval(0);
    connect(&m_followTimer, &QTimer::timeout, this, &OtherMonitors::follow);
    auto* app = qGuiApp;
    connect(app, &QGuiApplication::screenAdded, &m_followTimer, qOverload<>(&QTimer::start));
    connect(app, &QGuiApplication::screenRemoved, &m_followTimer, qOverload<>(&QTimer::start));
    connect(app, &QGuiApplication::primaryScreenChanged, &m_followTimer, qOverload<>(&QTimer::start));
}

OtherMonitors::~OtherMonitors() {
    for (const Cover& cover : m_covers)
        delete cover.window.data();
}

void OtherMonitors::cover() {
    m_covering = true;
    follow();
}

void OtherMonitors::uncover() {
    m_covering = false;
    m_followTimer.stop();
    for (const Cover& cover : m_covers)
        dispose(cover.window);
    m_covers.clear();
}

void OtherMonitors::setColour(const QColor& colour) {
    m_colour = colour;
    for (const Cover& cover : m_covers) {
        if (cover.window)
            controls::setBackColor(cover.window, colour);
    }
}

void OtherMonitors::coverOnly(const QStringList& names) {
    m_only = names;
}

QScreen* OtherMonitors::formScreen() const {
    // By its place, not by the screen Qt assigns: a window whose monitor went is given another screen, but
    // stays where it was and covers nothing.
    return QGuiApplication::screenAt(m_form.geometry().center());
}

void OtherMonitors::follow() {
    if (!m_covering)
        return;
    const QList<QScreen*> screens = QGuiApplication::screens();
    QScreen* own = formScreen();
    // Windows of monitors that are gone, or that the blank screen covers now itself, go first.
    auto unwanted = [&](const QScreen* screen) {
        return !m_only.isEmpty() && !m_only.contains(screen->name());
    };
    auto gone = [&](const Cover& cover) {
        return !cover.screen || cover.screen == own || !screens.contains(cover.screen) || !cover.window ||
               unwanted(cover.screen);
    };
    for (const Cover& cover : m_covers) {
        if (gone(cover))
            dispose(cover.window);
    }
    m_covers.erase(std::remove_if(m_covers.begin(), m_covers.end(), gone), m_covers.end());

    for (QScreen* screen : screens) {
        if (screen == own || unwanted(screen))
            continue;
        auto known = std::find_if(m_covers.begin(), m_covers.end(),
                                  [&](const Cover& cover) { return cover.screen == screen; });
        if (known == m_covers.end()) {
            known = m_covers.insert(m_covers.end(), Cover{screen, new CompanionWindow(m_form)});
            connect(screen, &QScreen::geometryChanged, &m_followTimer, qOverload<>(&QTimer::start),
                    Qt::UniqueConnection);
        }
        show(*known->window, *screen);
    }
}

void OtherMonitors::show(CompanionWindow& window, const QScreen& screen) {
    controls::setBackColor(&window, m_colour);
    if (window.isVisible() && window.geometry() == screen.geometry())
        return;
    // Without a window manager nobody acts on the full-screen request, so the window takes the monitor's
    // geometry itself; the geometry also tells a window manager which monitor to fill.
    window.setGeometry(screen.geometry());
    m_windowHints.fillOnShow(&window, m_colour);
    window.showFullScreen();
    m_windowHints.skipTaskbar(&window);
}

void OtherMonitors::dispose(CompanionWindow* window) {
    if (!window)
        return;
    const bool hadKeyboard = window->isActiveWindow();
    window->hide();
    // Later: the window may be the one whose input or close request is being handled.
    window->deleteLater();
    // The keyboard must not fall to whatever lies beneath: it goes back to the blank screen.
    if (hadKeyboard && m_form.isVisible())
        m_form.activateWindow();
}

} // namespace umbralux
