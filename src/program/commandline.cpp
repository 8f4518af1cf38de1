// SPDX-License-Identifier: MIT
#include "commandline.h"

#include "translations.h"
#include "config.h"
#include "duration.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

namespace umbralux {
namespace {

void print(FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

/// A command line that ends the program at once with `status`, printing `output`.
CommandLine ending(int status, QString output) {
    CommandLine command;
    command.exitStatus = status;
    command.output = std::move(output);
    return command;
}

CommandLine usageError(const QString& error, const QCommandLineParser& parser) {
    return ending(
        kUsageErrorStatus,
        QStringLiteral("%1: %2\n\n%3").arg(QCoreApplication::applicationName(), error, parser.helpText()));
}

} // namespace

CommandLine readCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine", "Covers the screen with one colour until it is dismissed in the way chosen in the "
                       "options window."));
    // Qt's own help option would also offer --help-all for Qt's options, which the program does not take.
    const QCommandLineOption help(
        {QStringLiteral("h"), QStringLiteral("help")},
        QCoreApplication::translate("CommandLine", "Displays this help and exits."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption show(
        QStringLiteral("show"),
        QCoreApplication::translate(
            "CommandLine",
            "Covers the screen at once with the stored choices, as Show Screen does. When Umbralux "
            "runs already, its blank screen is shown instead."));
    parser.addOption(show);
    const QCommandLineOption keepAwakeFor(
        QStringLiteral("keep-awake-for"),
        QCoreApplication::translate(
            "CommandLine",
            "With --show: keeps the computer awake for at most DURATION (90s, 45m, 2h, 1h30m; up "
            "to a week), then hands keep-awake back while the screen stays covered. Keep-awake is "
            "on for that long even when the options window's box is unticked; nothing is stored."),
        QCoreApplication::translate("CommandLine", "DURATION"));
    parser.addOption(keepAwakeFor);
    const QCommandLineOption monitor(
        QStringLiteral("monitor"),
        QCoreApplication::translate(
            "CommandLine",
            "With --show, once or more: covers only the monitor of this name (see --list-monitors); "
            "the others stay usable."),
        QCoreApplication::translate("CommandLine", "NAME"));
    parser.addOption(monitor);
    const QCommandLineOption monitorsOff(
        QStringLiteral("monitors-off"),
        QCoreApplication::translate(
            "CommandLine",
            "With --show: powers the monitors off while the screen is covered. Input wakes them "
            "without dismissing the blank screen, which powers them off again after a while; "
            "they come on at every end of the showing."));
    parser.addOption(monitorsOff);
    const QCommandLineOption listMonitors(
        QStringLiteral("list-monitors"),
        QCoreApplication::translate(
            "CommandLine",
            "Lists the monitors, one per line: the desktop's name for it, its geometry and scale, "
            "and which one is primary."));
    parser.addOption(listMonitors);
    const QCommandLineOption status(
        QStringLiteral("status"),
        QCoreApplication::translate(
            "CommandLine",
            "Prints the running instance's state as JSON: whether the screen is covered and since "
            "when, the exit method, and for each means of keep-awake whether it holds, was refused "
            "and why, or is not there."));
    parser.addOption(status);
    QCommandLineOption service(QStringLiteral("service"));
    service.setFlags(
        QCommandLineOption::HiddenFromHelp); // the desktop's own start, from the D-Bus service file
    parser.addOption(service);

    if (!parser.parse(arguments))
        return usageError(parser.errorText(), parser);
    if (!parser.positionalArguments().isEmpty())
        return usageError(QCoreApplication::translate("CommandLine", "Unexpected argument '%1'.")
                              .arg(parser.positionalArguments().constFirst()),
                          parser);
    if (parser.isSet(help))
        return ending(0, parser.helpText());
    if (parser.isSet(version))
        return ending(0, QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                                       QCoreApplication::applicationVersion()));
    CommandLine command;
    if (parser.isSet(keepAwakeFor)) {
        if (!parser.isSet(show))
            return usageError(
                QCoreApplication::translate("CommandLine", "--keep-awake-for goes with --show."), parser);
        const QString value = parser.value(keepAwakeFor);
        command.show.keepAwakeFor = parseDuration(value);
        if (!command.show.keepAwakeFor)
            return usageError(
                QCoreApplication::translate("CommandLine",
                                            "'%1' is no duration for --keep-awake-for: write it as 90s, 45m, "
                                            "2h or 1h30m, more than nothing and at most a week.")
                    .arg(value),
                parser);
    }
    if (parser.isSet(monitor)) {
        if (!parser.isSet(show))
            return usageError(QCoreApplication::translate("CommandLine", "--monitor goes with --show."),
                              parser);
        command.show.monitors = parser.values(monitor);
        command.show.monitors.removeDuplicates();
    }
    if (parser.isSet(monitorsOff)) {
        if (!parser.isSet(show))
            return usageError(QCoreApplication::translate("CommandLine", "--monitors-off goes with --show."),
                              parser);
        command.show.monitorsOff = true;
    }
    const int actions = int(parser.isSet(show)) + int(parser.isSet(listMonitors)) + int(parser.isSet(status));
    if (actions > 1)
        return usageError(QCoreApplication::translate(
                              "CommandLine", "--show, --list-monitors and --status do not go together."),
                          parser);
    if (parser.isSet(show))
        command.request = StartRequest::ShowScreen;
    else if (parser.isSet(service))
        command.request = StartRequest::Nothing;
    command.listMonitors = parser.isSet(listMonitors);
    command.status = parser.isSet(status);
    return command;
}

CommandLine answerCommandLine(int argc, char** argv) {
    if (argc <= 1)
        return {}; // the usual start: nothing to read
    if (argc == 2 && qstrcmp(argv[1], "--show") == 0) {
        CommandLine show; // the shortcut's start, read without a parser
        show.request = StartRequest::ShowScreen;
        return show;
    }
    // A core application reads the arguments without connecting to a display; it is gone before the
    // program's own application object is made.
    QCoreApplication core(argc, argv);
    const Translations translations; // the answers in the user's language
    QCoreApplication::setApplicationVersion(QStringLiteral(UMBRALUX_VERSION));
    CommandLine command = readCommandLine(QCoreApplication::arguments());
    if (command.status && !command.exitStatus) {
        // The front end asks the running instance; reaching the program means there is none to ask.
        command.exitStatus = kNoInstanceStatus;
        command.output = QCoreApplication::translate(
                             "CommandLine", "%1: Umbralux is not running, so there is no state to print.\n")
                             .arg(QCoreApplication::applicationName());
    }
    if (command.exitStatus)
        print(*command.exitStatus == 0 ? stdout : stderr, command.output);
    return command;
}

} // namespace umbralux
