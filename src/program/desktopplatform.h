// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

namespace umbralux {

struct Platform;

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
