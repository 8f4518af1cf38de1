// The one place where the desktop's implementations of the platform services are chosen.
#include "blank/keepawake_desktop.h"
#include "blank/pointerdisplay.h"
#include "colourpicker.h"
#include "dialogs.h"
#include "pageopener.h"
#include "platform.h"
#include "programend.h"
#include "randomsource.h"

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
