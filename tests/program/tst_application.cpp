// SPDX-License-Identifier: MIT
#include "app/failure.h"
#include "program/application.h"

#include <QProcess>
#include <QTest>
#include <QTimer>
#include <cstdio>

using namespace umbralux;

namespace {

constexpr char kEscapeArgument[] = "--let-a-failure-escape";
#ifdef Q_OS_WIN
constexpr char kLineEnd[] = "\r\n"; // the C runtime's text-mode standard output
#else
constexpr char kLineEnd[] = "\n";
#endif

/// An object whose event handler lets a failure escape, as no handler of the program may.
class Faulty : public QObject {
  public:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User)
            throw Failure(QStringLiteral("Overflow"));
        return QObject::event(event);
    }
};

/// The child process: a program whose event handler lets a failure escape.
int letAFailureEscape(int argc, char** argv) {
    Application app(argc, argv);
    app.setBeforeEscapedFailureExit([] { std::puts("pointer shown"); });
    Faulty faulty;
    QCoreApplication::postEvent(&faulty, new QEvent(QEvent::User));
    QTimer::singleShot(5000, &app, [] { QCoreApplication::exit(0); });
    return app.exec();
}

} // namespace

class TestApplication : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void escapedFailureEndsTheProgram();
};

void TestApplication::escapedFailureEndsTheProgram() {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QLatin1String(kEscapeArgument)});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), Application::kEscapedFailureStatus);
    QCOMPARE(child.readAllStandardOutput(),
             QByteArray("pointer shown") + kLineEnd); // restored before the end
    QVERIFY2(child.readAllStandardError().contains("escaped an event handler and the program ends: Overflow"),
             "the reason is on standard error");
}

int main(int argc, char** argv) {
    if (argc > 1 && qstrcmp(argv[1], kEscapeArgument) == 0)
        return letAFailureEscape(argc, argv);
    QCoreApplication app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
