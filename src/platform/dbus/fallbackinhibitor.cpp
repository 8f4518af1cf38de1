// SPDX-License-Identifier: MIT
#include "fallbackinhibitor.h"

namespace umbralux {

FallbackInhibitor::FallbackInhibitor(std::unique_ptr<Inhibitor> primary, std::unique_ptr<Inhibitor> fallback)
    : m_primary(std::move(primary)), m_fallback(std::move(fallback)) {
    m_primary->setOnStateChanged([this] { follow(); });
}

void FallbackInhibitor::hold() {
    m_held = true;
    m_primary->hold();
    follow(); // a failure found at once need not change the state: it may have failed the last time too
}

void FallbackInhibitor::release() {
    m_held = false;
    m_primary->release();
    m_fallback->release();
}

void FallbackInhibitor::tick(Tick step) {
    m_primary->tick(step);
    m_fallback->tick(step);
}

void FallbackInhibitor::report(KeepAwakeSummary& summary) const {
    m_primary->report(summary);
    const Inhibitor::State state = m_primary->state();
    if (state != Inhibitor::State::Holding && state != Inhibitor::State::Released)
        m_fallback->report(summary);
}

void FallbackInhibitor::follow() {
    if (m_held && m_primary->state() == Inhibitor::State::Failed)
        m_fallback->hold();
}

} // namespace umbralux
