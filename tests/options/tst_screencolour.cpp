// SPDX-License-Identifier: MIT
#include "app/colorref.h"
#include "app/controls.h"
#include "app/failure.h"
#include "harness.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace umbralux;
using test::control;
using Answer = test::ScriptedColourPicker::Answer;

namespace {

QLabel* swatchOf(Form1& form1) {
    return control<QLabel>(&form1, "Label1");
}

/// Notes each different text the store holds while the swatch changes colour.
class StoreAtSwatchChange : public QObject {
  public:
    StoreAtSwatchChange(test::TestStore& store, QLabel* swatch) : m_store(store) {
        swatch->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::PaletteChange && !seen.contains(m_store.value("Background Color")))
            seen << m_store.value("Background Color");
        return QObject::eventFilter(watched, event);
    }
    QStringList seen;

  private:
    test::TestStore& m_store;
};

} // namespace

class TestScreenColour : public test::HarnessTest {
    Q_OBJECT
  private Q_SLOTS:

    void referenceAndColour_data();
    void referenceAndColour();
    void invalidReferences_data();
    void invalidReferences();

    void changeColour_data();
    void changeColour();
    void swatchClickIsChangeColour();
    void buttonClickRunsChangeColourOnce();
    void changeColourStoresAfterTheSwatch();
    void resetStoresBeforeTheSwatch();
};

void TestScreenColour::referenceAndColour_data() {
    QTest::addColumn<qint64>("reference");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("black") << qint64(0) << QColor(0, 0, 0);
    QTest::newRow("red is the lowest byte") << qint64(255) << QColor(255, 0, 0);
    QTest::newRow("green") << qint64(0xFF00) << QColor(0, 255, 0);
    QTest::newRow("blue is the third byte") << qint64(0xFF0000) << QColor(0, 0, 255);
    QTest::newRow("white") << qint64(16777215) << QColor(255, 255, 255);
    QTest::newRow("every byte its own") << qint64(0x563412) << QColor(0x12, 0x34, 0x56);
}

void TestScreenColour::referenceAndColour() {
    QFETCH(qint64, reference);
    QFETCH(QColor, colour);
    QCOMPARE(colorFromReference(reference), colour);
    QCOMPARE(qint64(referenceFromColor(colour)), reference);
    // Alpha and other colour models do not change the reference.
    QColor translucent = colour;
    translucent.setAlpha(10);
    QCOMPARE(qint64(referenceFromColor(translucent.toHsv())), reference);
}

void TestScreenColour::invalidReferences_data() {
    QTest::addColumn<qint64>("reference");
    QTest::newRow("negative") << qint64(-1);
    QTest::newRow("a top byte") << qint64(0x1000000);
    QTest::newRow("unknown system colour") << qint64(0x80000063);
    QTest::newRow("system flag with stray bits") << qint64(0x8001000F);
}

void TestScreenColour::invalidReferences() {
    QFETCH(qint64, reference);
    QVERIFY_THROWS_EXCEPTION(Failure, colorFromReference(reference));
}

void TestScreenColour::changeColour_data() {
    QTest::addColumn<QString>("storedBefore"); // null: no key
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QColor>("chosen");
    QTest::addColumn<QColor>("offered");
    QTest::addColumn<QString>("storedAfter");
    QTest::addColumn<QString>("report");
    QTest::newRow("red") << QString() << Answer::Choose << QColor(Qt::red) << QColor(Qt::black) << "255"
                         << "";
    QTest::newRow("white") << "255" << Answer::Choose << QColor(Qt::white) << QColor(Qt::red) << "16777215"
                           << "";
    QTest::newRow("black") << "16777215" << Answer::Choose << QColor(Qt::black) << QColor(Qt::white) << "0"
                           << "";
    QTest::newRow("cancel writes the unchanged colour")
        << "65280" << Answer::Cancel << QColor() << QColor(Qt::green) << "65280"
        << "";
    QTest::newRow("cancel on an empty store writes black")
        << QString() << Answer::Cancel << QColor() << QColor(Qt::black) << "0"
        << "";
    QTest::newRow("dialog fails, the colour is stored again")
        << "65280" << Answer::Fail << QColor() << QColor(Qt::green) << "65280"
        << "Form1.PushButton2_Click at line 102";
}

void TestScreenColour::changeColour() {
    QFETCH(QString, storedBefore);
    QFETCH(Answer, answer);
    QFETCH(QColor, chosen);
    QFETCH(QColor, offered);
    QFETCH(QString, storedAfter);
    QFETCH(QString, report);
    if (!storedBefore.isNull())
        m_h->store.set("Background Color", storedBefore);
    auto& picker = m_h->platform.colourPicker;
    picker.answer = answer;
    picker.chosen = chosen;
    Form1& form1 = m_h->program.form1();

    form1.PushButton2_Click();

    QCOMPARE(picker.offered, QList<QColor>{offered});
    QCOMPARE(picker.owners, QList<QWidget*>{&form1});
    QCOMPARE(m_h->store.value("Background Color"), storedAfter);
    QCOMPARE(controls::backColor(swatchOf(form1)), colorFromReference(storedAfter.toLongLong()));
    const QStringList& reports = m_h->platform.dialogs.reports;
    QCOMPARE(reports.size(), report.isEmpty() ? 0 : 1);
    if (!report.isEmpty())
        QVERIFY2(reports.first().contains("Umbrasys2021/08/31." + report + "\r\r"),
                 qPrintable(reports.first()));
}

void TestScreenColour::swatchClickIsChangeColour() {
    m_h->store.set("Background Color", "255");
    auto& picker = m_h->platform.colourPicker;
    picker.answer = Answer::Choose;
    picker.chosen = QColor(0x12, 0x34, 0x56);
    Form1& form1 = m_h->program.form1();

    QTest::mouseClick(swatchOf(form1), Qt::LeftButton);
    QCOMPARE(picker.offered, QList<QColor>{QColor(Qt::red)});
    QCOMPARE(m_h->store.value("Background Color"), QStringLiteral("5649426"));
    QCOMPARE(controls::backColor(swatchOf(form1)), picker.chosen);

    // Other buttons do not click.
    QTest::mouseClick(swatchOf(form1), Qt::RightButton);
    QCOMPARE(picker.offered.size(), 1);
}

void TestScreenColour::buttonClickRunsChangeColourOnce() {
    Form1& form1 = m_h->program.form1();
    QTest::mouseClick(control<QPushButton>(&form1, "PushButton2"), Qt::LeftButton);
    QCOMPARE(m_h->platform.colourPicker.offered.size(), 1);
    QCOMPARE(m_h->store.value("Background Color"), QStringLiteral("0"));
}

void TestScreenColour::changeColourStoresAfterTheSwatch() {
    m_h->store.set("Background Color", "16777215");
    m_h->platform.colourPicker.answer = Answer::Choose;
    m_h->platform.colourPicker.chosen = Qt::red;
    Form1& form1 = m_h->program.form1();
    StoreAtSwatchChange witness(m_h->store, swatchOf(form1));
    form1.PushButton2_Click();
    QCOMPARE(witness.seen, QStringList{"16777215"}); // the swatch first, the store after it
    QCOMPARE(m_h->store.value("Background Color"), QStringLiteral("255"));
}

void TestScreenColour::resetStoresBeforeTheSwatch() {
    m_h->store.set("Background Color", "255");
    Form1& form1 = m_h->program.form1();
    StoreAtSwatchChange witness(m_h->store, swatchOf(form1));
    QTest::mouseClick(control<QPushButton>(&form1, "PushButton3"), Qt::LeftButton);
    QCOMPARE(witness.seen, QStringList{"0"}); // the store first, then the swatch
    QCOMPARE(controls::backColor(swatchOf(form1)), QColor(Qt::black));
    QVERIFY(m_h->platform.colourPicker.offered.isEmpty()); // no dialog, no question
    QVERIFY(m_h->platform.dialogs.reports.isEmpty());
}

QTEST_MAIN(TestScreenColour)
#include "tst_screencolour.moc"
