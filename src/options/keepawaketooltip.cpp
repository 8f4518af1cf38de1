// SPDX-License-Identifier: MIT
#include "keepawaketooltip.h"

#include "app/keepawake.h"

#include <QEvent>
#include <QWidget>

namespace umbralux {
namespace {

class ToolTipRefresher final : public QObject {
  public:
    ToolTipRefresher(QWidget* widget, const KeepAwake& keepAwake) : QObject(widget), m_keepAwake(keepAwake) {
        widget->setToolTip(keepAwake.describe());
        widget->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ToolTip)
            static_cast<QWidget*>(watched)->setToolTip(m_keepAwake.describe());
        return false; // the widget shows the tool tip as usual
    }

  private:
    const KeepAwake& m_keepAwake;
};

} // namespace

void showKeepAwakeInToolTip(QWidget* widget, const KeepAwake& keepAwake) {
    new ToolTipRefresher(widget, keepAwake);
}

} // namespace umbralux
