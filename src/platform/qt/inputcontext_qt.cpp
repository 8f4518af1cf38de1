// SPDX-License-Identifier: MIT
#include "inputcontext_qt.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatforminputcontext.h>
#include <qpa/qplatformintegration.h>

namespace umbralux {

bool QtInputContext::prepare() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    const QPlatformIntegration* integration = QGuiApplicationPrivate::platformIntegration();
    QPlatformInputContext* context = integration ? integration->inputContext() : nullptr;
    if (!context || !context->inputMethodAccepted())
        return false;
    // The input context sets itself up at the first key press it filters. A press without a key symbol
    // starts no compose sequence and is passed over; it reaches no window.
    const QKeyEvent noKey(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, 0, 0, 0);
    context->filterEvent(&noKey);
    return true;
}

} // namespace umbralux
