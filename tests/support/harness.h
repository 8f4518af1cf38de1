#pragma once

#include "app/program.h"
#include "blank/form2.h"
#include "fakeplatform.h"
#include "options/form1.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMap>
#include <QWidget>
#include <memory>

namespace umbralux::test {

/// A program assembled for a test: its own settings store, faked services, and the program folder in the
/// store's temporary folder (so no skin or pointer file is found unless the test puts one there).
struct Harness {
    TestStore store;
    FakePlatform platform;
    Program program{platform.services, store.folder()};

    /// Every key with its stored text.
    QMap<QString, QString> stored() const {
        QMap<QString, QString> all;
        for (const QString& key : store.keys())
            all.insert(key, store.value(key));
        return all;
    }
};

/// Runs the deferred deletions of closed windows.
inline void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

/// Base of the window tests: every test function gets a freshly assembled program, and the windows it
/// closed are really gone before the next one starts.
class HarnessTest : public QObject {
    Q_OBJECT
  protected Q_SLOTS:
    void init() { m_h = std::make_unique<Harness>(); }
    void cleanup() {
        m_h.reset();
        settle();
    }

  protected:
    std::unique_ptr<Harness> m_h;
};

template <typename T> T* control(QWidget* window, const char* name) {
    return window->findChild<T*>(QLatin1String(name));
}

} // namespace umbralux::test
