// SPDX-License-Identifier: MIT
#pragma once

#include "app/keepawakebackend.h"
#include "app/keepawakesummary.h"

#include <QString>

namespace umbralux {

/// Stands where a desktop offers nothing of a kind (no display that can be told about idleness): it does
/// nothing and says why.
class UnavailableBackend final : public KeepAwakeBackend {
  public:
    explicit UnavailableBackend(QString reason) : m_reason(std::move(reason)) {}

    void hold() override {}
    void release() override {}
    void tick(Tick) override {}
    /// The reason given at construction.
    void report(KeepAwakeSummary& summary) const override { summary.cannotUse(m_reason); }

  private:
    QString m_reason;
};

} // namespace umbralux
