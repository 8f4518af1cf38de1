// SPDX-License-Identifier: MIT
#pragma once

#include "blank/form2.h"
#include "fakeplatform.h"
#include "options/form1.h"
#include "program/program.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMap>
#include <QWidget>
#include <memory>

namespace umbralux::test {

/// A program assembled for a test: its own settings store, faked services, and the program folder in the
/// store's temporary folder (so no skin or pointer file is found unless the test puts one there).
struct Harness {
    FakePlatform platform;
    TestStore& store = platform.store;
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

/// The blank screen's own state, which the program keeps private to the window: tests look at it, and
/// shorten the keep-awake interval to see many ticks in a short time.
struct Form2Probe {
    Form2& form;
    FormTimer& Timer1() const { return form.Timer1; }
    FormTimer& Timer2() const { return form.Timer2; }
    FormTimer& Timer3() const { return form.Timer3; }
    qint32 ShownSeconds() const { return form.ShownSeconds; }
    const QString& TypedText() const { return form.TypedText; }
    qint32 TypingSeconds() const { return form.TypingSeconds; }
};
inline Form2Probe probe(Form2& form) {
    return {form};
}

template <typename T> T* control(QWidget* window, const char* name) {
    return window->findChild<T*>(QLatin1String(name));
}

} // namespace umbralux::test
