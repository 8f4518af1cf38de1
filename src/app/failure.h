// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <stdexcept>

namespace umbralux {

/// A failed step: carries the description that the error report shows.
class Failure : public std::runtime_error {
  public:
    explicit Failure(const QString& description)
        : std::runtime_error(description.toStdString()), m_description(description) {}
    const QString& description() const noexcept { return m_description; }

  private:
    QString m_description;
};

/// The description of whatever was thrown, for reports that have to go on after it.
QString describeFailure(const std::exception_ptr& failure);

} // namespace umbralux
