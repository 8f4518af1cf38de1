// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <vector>

class QScreen;
class QWidget;

namespace umbralux {

class CompanionWindow;
class WindowHints;

/// Covers the monitors around the blank screen: while it is shown, every monitor other than its own gets a
/// companion window in the screen colour. Monitors that are added while it is up are covered at once,
/// removed ones take their window with them, and each window follows its monitor's geometry.
class OtherMonitors : public QObject {
    Q_OBJECT
  public:
    /// The companions serve this window: the blank screen, which owns this object.
    OtherMonitors(QWidget& form, WindowHints& windowHints);
    ~OtherMonitors() override;

    /// Covers every monitor but the blank screen's, and keeps doing so until uncover().
    void cover();
    /// Takes every companion window away.
    void uncover();
    /// The colour of the companions, now and at every later cover().
    void setColour(const QColor& colour);
    /// Covers only the monitors of these names (every monitor when empty), from the next cover() on.
    void coverOnly(const QStringList& names);

  private:
    struct Cover {
        QPointer<QScreen> screen;
        QPointer<CompanionWindow> window;
    };

    /// Brings the companions in line with the monitors as they are now.
    void follow();
    QScreen* formScreen() const;
    void show(CompanionWindow& window, const QScreen& screen);
    void dispose(CompanionWindow* window);

    QWidget& m_form;
    WindowHints& m_windowHints;
    QColor m_colour{Qt::black};
    QStringList m_only;
    bool m_covering = false;
    std::vector<Cover> m_covers;
    /// Monitor changes come in bursts (a monitor added, then its geometry set); one look after the burst.
    QTimer m_followTimer;
};

} // namespace umbralux
