// SPDX-License-Identifier: MIT
#include "designsize.h"

#include <QEvent>
#include <QObject>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace umbralux {
namespace {

/// Watches the window's native window, which exists only from its first showing on, for monitor changes.
class DesignSizeKeeper : public QObject {
  public:
    explicit DesignSizeKeeper(QWidget& window) : QObject(&window), m_window(window), m_size(window.size()) {
        window.setFixedSize(m_size);
        window.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &m_window && (event->type() == QEvent::Show || event->type() == QEvent::WinIdChange))
            watchScreen();
        return false;
    }

  private:
    void watchScreen() {
        QWindow* native = m_window.windowHandle();
        if (!native || native == m_watched)
            return;
        m_watched = native;
        connect(native, &QWindow::screenChanged, this, [this] {
            // After the platform has told the window its size in the new monitor's terms.
            QTimer::singleShot(0, this, [this] {
                if (m_window.size() != m_size)
                    m_window.resize(m_size);
            });
        });
    }

    QWidget& m_window;
    const QSize m_size;
    QWindow* m_watched = nullptr;
};

} // namespace

void keepDesignSize(QWidget& window) {
    new DesignSizeKeeper(window);
}

} // namespace umbralux
