// SPDX-License-Identifier: MIT
// What Linux and other Unix desktops do their own way: the start's preparation and the end requests.
#include "desktopparts_unix.h"

#include <fontconfig/fontconfig.h>

namespace umbralux {

StartPreparation::StartPreparation()
    // The font configuration takes longer to read than anything else a window needs before its first text,
    // and it needs nothing of Qt: it is read beside Qt's start, so that the first window finds it ready.
    // fontconfig keeps whichever configuration is read first, should Qt ask for it meanwhile.
    : m_work([] { FcInit(); }) {}

StartPreparation::~StartPreparation() {
    m_work.join();
}

void DesktopPlatform::onEndRequest(std::function<void()> endRequested) {
    QObject::connect(&m_parts->endRequests, &SignalEndRequests::received, &m_parts->endRequests,
                     [endRequested = std::move(endRequested)] { endRequested(); });
}

} // namespace umbralux
