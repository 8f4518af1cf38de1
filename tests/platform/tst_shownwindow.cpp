// SPDX-License-Identifier: MIT
// The window that keep-awake's Wayland inhibitor is held on, through the main cycle with faked services:
// always a shown window, let go before it is hidden.
#include "harness.h"
#include "platform/wayland/shownwindow.h"

#include <QPushButton>
#include <QTest>

using namespace umbralux;

enum class Step { Start, ShowScreen, Escape, CloseRequest, CloseOptions };

class TestShownWindow : public test::HarnessTest {
    Q_OBJECT
  private Q_SLOTS:
    void followsTheMainCycle_data() {
        QTest::addColumn<QList<Step>>("steps");
        QTest::addColumn<QString>("moves");
        QTest::newRow("start") << QList<Step>{Step::Start} << "options";
        QTest::newRow("show screen: the options window is let go first")
            << QList<Step>{Step::Start, Step::ShowScreen} << "options none blank";
        QTest::newRow("ESC") << QList<Step>{Step::Start, Step::ShowScreen, Step::Escape}
                             << "options none blank none options";
        QTest::newRow("close request") << QList<Step>{Step::Start, Step::ShowScreen, Step::CloseRequest}
                                       << "options none blank none options";
        QTest::newRow("options window closed")
            << QList<Step>{Step::Start, Step::CloseOptions} << "options none";
    }

    void followsTheMainCycle() {
        QFETCH(QList<Step>, steps);
        QFETCH(QString, moves);
        Program& program = m_h->program;
        auto handle = [](QWidget* form) { return form ? form->windowHandle() : nullptr; };
        QStringList seen;
        ShownWindow shown([&](QWindow* window) {
            seen << (!window                                   ? "none"
                     : window == handle(program.loadedForm1()) ? "options"
                     : window == handle(program.loadedForm2()) ? "blank"
                                                               : window->title());
        });
        for (Step step : steps) {
            switch (step) {
            case Step::Start:
                program.start();
                break;
            case Step::ShowScreen:
                program.loadedForm1()->findChild<QPushButton*>("PushButton1")->click();
                break;
            case Step::Escape:
                QTest::keyClick(program.loadedForm2(), Qt::Key_Escape);
                break;
            case Step::CloseRequest:
                program.loadedForm2()->close();
                break;
            case Step::CloseOptions:
                program.loadedForm1()->close();
                break;
            }
            test::settle();
            // As a user would, the next step waits for the window to come up, and so does the follower.
            QWidget* up = nullptr;
            for (QWidget* form :
                 std::initializer_list<QWidget*>{program.loadedForm1(), program.loadedForm2()})
                if (form && form->isVisible())
                    up = form;
            if (up)
                QVERIFY(QTest::qWaitForWindowExposed(up));
            QTRY_COMPARE(shown.current(), handle(up));
        }
        QCOMPARE(seen.join(' '), moves);
    }
};

QTEST_MAIN(TestShownWindow)
#include "tst_shownwindow.moc"
