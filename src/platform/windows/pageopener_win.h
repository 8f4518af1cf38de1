// SPDX-License-Identifier: MIT
#pragma once

#include "app/pageopener.h"

namespace umbralux {

/// The desktop's own opener, explorer. Started directly, never through a shell.
class ExplorerPageOpener final : public PageOpener {
  public:
    void openPage(const QString& address) override;
};

} // namespace umbralux
