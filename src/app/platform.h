#pragma once

#include <memory>

namespace umbralux {

class ColourPicker;
class Dialogs;
class KeepAwake;
class PageOpener;
class PointerDisplay;
class ProgramEnd;
class RandomSource;

/// The platform services the program uses, each behind one small interface. The program gets them where it
/// is assembled: the desktop's own in main(), recording fakes in tests.
struct Platform {
    Dialogs& dialogs;
    PageOpener& pageOpener;
    RandomSource& random;
    ProgramEnd& programEnd;
    PointerDisplay& pointerDisplay;
    KeepAwake& keepAwake;
    ColourPicker& colourPicker;
};

/// Owns the real services of the desktop the program runs on.
class DesktopPlatform {
  public:
    DesktopPlatform();
    ~DesktopPlatform();
    DesktopPlatform(const DesktopPlatform&) = delete;
    DesktopPlatform& operator=(const DesktopPlatform&) = delete;

    Platform& services() { return *m_services; }

  private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
    std::unique_ptr<Platform> m_services;
};

} // namespace umbralux
