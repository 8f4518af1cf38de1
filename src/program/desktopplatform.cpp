// SPDX-License-Identifier: MIT
// The one place where the desktop's implementations of the platform services are chosen.
#include "desktopplatform.h"

#include "app/colourpicker.h"
#include "app/dialogs.h"
#include "app/pageopener.h"
#include "app/platform.h"
#include "app/programend.h"
#include "app/randomsource.h"
#include "blank/keepawake_desktop.h"
#include "blank/pointerdisplay_desktop.h"

namespace umbralux {

struct DesktopPlatform::Parts {
    MessageBoxDialogs dialogs;
    DesktopPageOpener pageOpener;
    SystemRandomSource random;
    EventLoopProgramEnd programEnd;
    DesktopPointerDisplay pointerDisplay;
    DesktopKeepAwake keepAwake;
    ColourDialogPicker colourPicker;
};

DesktopPlatform::DesktopPlatform()
    : m_parts(std::make_unique<Parts>()),
      m_services(std::make_unique<Platform>(Platform{m_parts->dialogs, m_parts->pageOpener, m_parts->random,
                                                     m_parts->programEnd, m_parts->pointerDisplay,
                                                     m_parts->keepAwake, m_parts->colourPicker})) {}

DesktopPlatform::~DesktopPlatform() = default;

} // namespace umbralux
