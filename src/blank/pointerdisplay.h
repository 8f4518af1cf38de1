#pragma once

namespace umbralux {

/// The platform's pointer display counter: the pointer shows while the count is 0 or more.
class PointerDisplay {
  public:
    virtual ~PointerDisplay() = default;
    /// Raises (show) or lowers (hide) the count by one and returns the new count.
    virtual int ShowCursor(bool show) = 0;
};

/// The counter of the desktop: Windows keeps it itself; elsewhere the program keeps one and hides the pointer
/// over all of its windows while it is negative.
class DesktopPointerDisplay final : public PointerDisplay {
  public:
    DesktopPointerDisplay() = default;
    ~DesktopPointerDisplay() override;
    DesktopPointerDisplay(const DesktopPointerDisplay&) = delete;
    DesktopPointerDisplay& operator=(const DesktopPointerDisplay&) = delete;

    int ShowCursor(bool show) override;

  private:
    int m_count = 0;
    bool m_blanked = false;
};

} // namespace umbralux
