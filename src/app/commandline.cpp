// SPDX-License-Identifier: MIT
#include "commandline.h"

#include "config.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

namespace umbralux {
namespace {

void print(FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

CommandLine answerCommandLine(int argc, char** argv) {
    if (argc <= 1)
        return {}; // the usual start: nothing to read
    if (argc == 2 && qstrcmp(argv[1], "--show") == 0)
        return {std::nullopt, StartRequest::ShowScreen}; // the shortcut's start, read without a parser
    // A core application reads the arguments without connecting to a display; it is gone before the
    // program's own application object is made.
    QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(UMBRALUX_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Covers the screen with one colour until it is dismissed in the way chosen in the "
                       "options window."));
    // Qt's own help option would also offer --help-all for Qt's options, which the program does not take.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help and exits."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption show(
        QStringLiteral("show"),
        QStringLiteral(
            "Covers the screen at once with the stored choices, as Show Screen does. When Umbralux "
            "runs already, its blank screen is shown instead."));
    parser.addOption(show);
    QCommandLineOption service(QStringLiteral("service"));
    service.setFlags(
        QCommandLineOption::HiddenFromHelp); // the desktop's own start, from the D-Bus service file
    parser.addOption(service);

    const bool understood = parser.parse(QCoreApplication::arguments());
    if (!understood || !parser.positionalArguments().isEmpty()) {
        const QString error =
            understood
                ? QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().constFirst())
                : parser.errorText();
        print(stderr, QStringLiteral("%1: %2\n\n%3")
                          .arg(QCoreApplication::applicationName(), error, parser.helpText()));
        return {kUsageErrorStatus};
    }
    if (parser.isSet(help)) {
        print(stdout, parser.helpText());
        return {0};
    }
    if (parser.isSet(version)) {
        print(stdout, QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                                    QCoreApplication::applicationVersion()));
        return {0};
    }
    if (parser.isSet(show))
        return {std::nullopt, StartRequest::ShowScreen};
    if (parser.isSet(service))
        return {std::nullopt, StartRequest::Nothing};
    return {};
}

} // namespace umbralux
