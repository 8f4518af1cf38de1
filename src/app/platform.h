// SPDX-License-Identifier: MIT
#pragma once

namespace umbralux {

class ColourPicker;
class Dialogs;
class InputContext;
class KeepAwake;
class MonitorPower;
class PageOpener;
class PointerDisplay;
class ProgramEnd;
class RandomSource;
class SettingsStore;
class WindowHints;

/// The platform services the program uses, each behind one small interface. The program gets them where it
/// is assembled: the desktop's own in main(), recording fakes in tests.
struct Platform {
    SettingsStore& settingsStore;
    Dialogs& dialogs;
    PageOpener& pageOpener;
    RandomSource& random;
    ProgramEnd& programEnd;
    PointerDisplay& pointerDisplay;
    KeepAwake& keepAwake;
    ColourPicker& colourPicker;
    WindowHints& windowHints;
    MonitorPower& monitorPower;
    InputContext& inputContext;
};

} // namespace umbralux
