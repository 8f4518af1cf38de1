// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

namespace umbralux {

/// What keep-awake's backends say about themselves, gathered into one sentence for the check box's tool tip:
/// what works if anything does, otherwise what is still being asked, otherwise why nothing can work.
class KeepAwakeSummary {
  public:
    /// A means that holds, or held at the last hold.
    void uses(const QString& means);
    /// A means that was not asked yet or has not answered.
    void mayUse(const QString& means);
    /// Why a means cannot be used.
    void cannotUse(const QString& reason);

    /// The sentence for the tool tip.
    QString text() const;

    const QStringList& used() const { return m_used; }
    const QStringList& undecided() const { return m_undecided; }
    const QStringList& reasons() const { return m_reasons; }

  private:
    QStringList m_used;
    QStringList m_undecided;
    QStringList m_reasons;
};

} // namespace umbralux
