// SPDX-License-Identifier: MIT
#include "blank/keycodes.h"

#include <QKeyEvent>
#include <QTest>

using namespace umbralux;

class TestKeyCodes : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void codes_data();
    void codes();
    void noKeyAtAll();
};

void TestKeyCodes::codes_data() {
    QTest::addColumn<int>("qtKey");
    QTest::addColumn<int>("code");
    QTest::newRow("ESC is 27") << int(Qt::Key_Escape) << 27;
    QTest::newRow("letters are their capitals") << int(Qt::Key_A) << 65;
    QTest::newRow("Z") << int(Qt::Key_Z) << 90;
    QTest::newRow("digits") << int(Qt::Key_7) << 55;
    QTest::newRow("Shift alone") << int(Qt::Key_Shift) << 16;
    QTest::newRow("Control alone") << int(Qt::Key_Control) << 17;
    QTest::newRow("Alt alone") << int(Qt::Key_Alt) << 18;
    QTest::newRow("Return") << int(Qt::Key_Return) << 13;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << 13;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << 8;
    QTest::newRow("Space") << int(Qt::Key_Space) << 32;
    QTest::newRow("F1") << int(Qt::Key_F1) << 112;
    QTest::newRow("F12") << int(Qt::Key_F12) << 123;
    QTest::newRow("left arrow") << int(Qt::Key_Left) << 37;
    QTest::newRow("a key of a foreign layout is still a key") << int(Qt::Key_Adiaeresis) << kKeyCodeOther;
    QTest::newRow("a media key is still a key") << int(Qt::Key_VolumeUp) << kKeyCodeOther;
    QTest::newRow("an unknown key is still a key") << int(Qt::Key_unknown) << kKeyCodeOther;
}

void TestKeyCodes::codes() {
    QFETCH(int, qtKey);
    QFETCH(int, code);
    QCOMPARE(keyCodeForQtKey(qtKey), code);
    const QKeyEvent event(QEvent::KeyPress, qtKey, Qt::NoModifier, 42, 0, 0);
    QCOMPARE(keyCodeFor(event), code);
}

void TestKeyCodes::noKeyAtAll() {
    const QKeyEvent empty(QEvent::KeyPress, 0, Qt::NoModifier);
    QCOMPARE(keyCodeFor(empty), kKeyCodeNone);
}

QTEST_GUILESS_MAIN(TestKeyCodes)
#include "tst_keycodes.moc"
