// SPDX-License-Identifier: MIT
#include "program/translations.h"
#include "harness.h"
#include "program/commandline.h"

#include <QLabel>
#include <QTest>

using namespace umbralux;

namespace {

enum class Text { BlankScreenHint, PasswordReminder, FirstHelpOption };

} // namespace
Q_DECLARE_METATYPE(Text)

class TestTranslations : public test::HarnessTest {
    Q_OBJECT
  private Q_SLOTS:
    void textsInTheLocalesLanguage_data();
    void textsInTheLocalesLanguage();

  private:
    QString shown(Text text);
};

QString TestTranslations::shown(Text text) {
    switch (text) {
    case Text::BlankScreenHint: // the stored choice: the ESC key
        m_h->program.start();
        m_h->program.loadedForm1()->PushButton1_Click();
        return m_h->program.loadedForm2()->Label1()->text();
    case Text::PasswordReminder:
        for (int method = 1; method <= 4; ++method) // the password, none stored
            m_h->store.set(QStringLiteral("Option%1").arg(method), method == 4 ? "True" : "False");
        m_h->program.start();
        m_h->program.loadedForm1()->PushButton1_Click();
        return m_h->platform.dialogs.messages.value(0);
    case Text::FirstHelpOption: {
        const QString help = readCommandLine({QStringLiteral("umbralux"), QStringLiteral("--help")}).output;
        for (const QString& line : help.split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1String("  -")))
                return line.simplified(); // the column's width follows the longest option
        }
        return {};
    }
    }
    return {};
}

void TestTranslations::textsInTheLocalesLanguage_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<Text>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("German hint") << "de_DE" << Text::BlankScreenHint << "Zum Beenden 'ESC' drücken";
    QTest::newRow("German reminder")
        << "de_DE" << Text::PasswordReminder
        << "Bitte legen Sie ein Passwort fest oder ändern Sie die Wahl unter „Ausblendoptionen“.";
    QTest::newRow("German help") << "de_AT" << Text::FirstHelpOption
                                 << "-h, --help Zeigt diese Hilfe an und beendet das Programm.";
    QTest::newRow("C hint") << "C" << Text::BlankScreenHint << "Press 'ESC' key to exit";
    QTest::newRow("C reminder") << "C" << Text::PasswordReminder
                                << "Please set password or change Hide Options.";
    QTest::newRow("C help") << "C" << Text::FirstHelpOption << "-h, --help Displays this help and exits.";
    QTest::newRow("English hint") << "en_GB" << Text::BlankScreenHint << "Press 'ESC' key to exit";
    QTest::newRow("English help") << "en_US" << Text::FirstHelpOption
                                  << "-h, --help Displays this help and exits.";
}

void TestTranslations::textsInTheLocalesLanguage() {
    QFETCH(QString, locale);
    QFETCH(Text, text);
    QFETCH(QString, expected);
    const Translations translations{QLocale(locale)};
    QCOMPARE(shown(text), expected);
}

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
