// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>
#include <thread>

namespace umbralux {

struct Platform;
class SingleInstance;

/// What the desktop's libraries can get ready before the program's application object exists, on the
/// other core while Qt starts; done (or waited for) when it goes.
class StartPreparation {
  public:
    StartPreparation();
    ~StartPreparation();
    StartPreparation(const StartPreparation&) = delete;
    StartPreparation& operator=(const StartPreparation&) = delete;

  private:
    std::thread m_work;
};

/// Owns the real services of the desktop the program runs on. The one place that knows the concrete
/// backends: each system lists them in its own header (desktopparts_unix.h, desktopparts_win.h) and does
/// what it does its own way in its own file; desktopplatform.cpp is what they share. The build picks them.
class DesktopPlatform {
  public:
    DesktopPlatform();
    ~DesktopPlatform();
    DesktopPlatform(const DesktopPlatform&) = delete;
    DesktopPlatform& operator=(const DesktopPlatform&) = delete;

    Platform& services() { return *m_services; }
    /// One instance of the program per user session.
    SingleInstance& singleInstance();
    /// Calls `endRequested` when the program is asked from outside to end (SIGTERM, SIGINT and SIGHUP on
    /// Unix); on Windows the session's end arrives as a window message through Qt instead.
    void onEndRequest(std::function<void()> endRequested);

  private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
    std::unique_ptr<Platform> m_services;
};

} // namespace umbralux
