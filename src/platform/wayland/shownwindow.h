// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>
#include <QWindow>
#include <functional>

namespace umbralux {

/// Follows which of the program's windows is on screen, for what only works on a visible surface (the
/// Wayland compositor's idle inhibitor). The options window and the blank screen take turns, so the
/// window in use moves with them.
class ShownWindow final : public QObject {
  public:
    /// `moved` is called with the window now in use, or nullptr while none is shown. It is called before a
    /// window in use is hidden, so that nothing is left on a surface that goes away.
    explicit ShownWindow(std::function<void(QWindow*)> moved);
    ~ShownWindow() override;
    ShownWindow(const ShownWindow&) = delete;
    ShownWindow& operator=(const ShownWindow&) = delete;

    QWindow* current() const { return m_current; }

    /// The window to use among the program's top-level windows: the one in use while it stays on screen,
    /// otherwise the first ordinary window or dialog on screen; never a pop-up or tool tip, which come and
    /// go.
    static QWindow* choose(const QList<QWindow*>& windows, QWindow* current);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void lookAgainSoon();
    void lookAgain();
    void moveTo(QWindow* window);

    std::function<void(QWindow*)> m_moved;
    QPointer<QWindow> m_current;
    bool m_lookPending = false;
};

} // namespace umbralux
