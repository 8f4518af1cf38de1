// SPDX-License-Identifier: MIT
// What every desktop shares: the services handed to the program and the single instance, taken from the
// parts that the system's own header lists.
#include "desktopplatform.h"

#include "app/platform.h"

#include <QtGlobal>

// The parts of the system the program is built for.
#ifdef Q_OS_WIN
#include "desktopparts_win.h"
#else
#include "desktopparts_unix.h"
#endif

namespace umbralux {

DesktopPlatform::DesktopPlatform()
    : m_parts(std::make_unique<Parts>()),
      m_services(std::make_unique<Platform>(
          Platform{m_parts->settingsStore, m_parts->dialogs, m_parts->pageOpener, m_parts->random,
                   m_parts->programEnd, m_parts->pointerDisplay, m_parts->keepAwake, m_parts->colourPicker,
                   m_parts->windowHints, m_parts->monitorPower, m_parts->inputContext})) {}

DesktopPlatform::~DesktopPlatform() = default;

SingleInstance& DesktopPlatform::singleInstance() {
    return m_parts->singleInstance;
}

} // namespace umbralux
