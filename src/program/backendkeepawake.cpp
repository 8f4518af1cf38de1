// SPDX-License-Identifier: MIT
#include "backendkeepawake.h"

#include "app/keepawakesummary.h"

#include <exception>

namespace umbralux {

BackendKeepAwake::BackendKeepAwake(std::vector<std::unique_ptr<KeepAwakeBackend>> backends)
    : m_backends(std::move(backends)) {}

BackendKeepAwake::~BackendKeepAwake() {
    try {
        setHeld(false);
    } catch (...) {
        // Nobody is left to report it to; the services drop the holds of an ended program themselves.
    }
}

/// Every backend gets its call even when one before it fails; the first failure is passed on afterwards,
/// for the tick's step to report it.
template <typename Call> void BackendKeepAwake::forEach(Call call) {
    std::exception_ptr failure;
    for (auto& backend : m_backends) {
        try {
            call(*backend);
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    }
    if (failure)
        std::rethrow_exception(failure);
}

void BackendKeepAwake::setHeld(bool held) {
    if (held == m_held)
        return;
    m_held = held;
    if (held)
        forEach([](KeepAwakeBackend& backend) { backend.hold(); });
    else
        forEach([](KeepAwakeBackend& backend) { backend.release(); });
}

void BackendKeepAwake::signalUserActivity() {
    forEach([](KeepAwakeBackend& backend) { backend.tick(KeepAwakeBackend::Tick::UserActivity); });
}

void BackendKeepAwake::endUserActivity() {
    forEach([](KeepAwakeBackend& backend) { backend.tick(KeepAwakeBackend::Tick::EndUserActivity); });
}

void BackendKeepAwake::keepSystemAwake() {
    forEach([](KeepAwakeBackend& backend) { backend.tick(KeepAwakeBackend::Tick::System); });
}

QString BackendKeepAwake::describe() const {
    KeepAwakeSummary summary;
    report(summary);
    return summary.text();
}

void BackendKeepAwake::report(KeepAwakeSummary& summary) const {
    for (const auto& backend : m_backends)
        backend->report(summary);
}

} // namespace umbralux
