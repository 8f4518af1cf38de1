// SPDX-License-Identifier: MIT
#pragma once

#include "failure.h"

#include <QCoreApplication>
#include <QString>
#include <exception>
#include <utility>

namespace umbralux {

/// Where reports go: a modal message box in the program, a recorder in tests.
class ErrorReportSink {
  public:
    virtual ~ErrorReportSink() = default;
    /// Shows the finished message and returns when the user has closed it.
    virtual void showErrorReport(const QString& message) = 0;
};

/// The address that every error report asks the user to send a screenshot to.
inline constexpr char kSupportAddress[] = "support@quenbrook.example";
/// Caption of the error report box, as written; the box shows it translated (context "ErrorReport").
inline constexpr char kErrorReportCaption[] = QT_TRANSLATE_NOOP("ErrorReport", "Application Error");

/// The report's text: description, CR LF, location, "at line N", CR CR, the request for a screenshot.
QString errorReportMessage(const QString& description, const QString& location, int line);

/// Marks the handler that reports a failure raised while it runs: each Procedure and each unreported
/// handler holds one for its run. Nested runs stack; the innermost is the one whose report a failure
/// reaches first, so a failing save can tell whose report it is (Settings reports each save's failure once
/// for each handler).
class ReportingScope {
  public:
    explicit ReportingScope(const QString& location);
    ~ReportingScope();
    ReportingScope(const ReportingScope&) = delete;
    ReportingScope& operator=(const ReportingScope&) = delete;

    /// The location text of the innermost running handler, or the empty text outside every handler.
    static QString current();

  private:
    const ReportingScope* m_outer;
    QString m_location;
};

/// One run of a handler whose statements carry line numbers. A failing step is reported with the
/// procedure's location text and the step's number, and the run goes on with the next step:
///
///     Procedure p{sink, "in Umbrasys2021/08/31.Form1.Form_Load "};
///     if (p.test(100, [&] { return FileExists(path); }))
///         p.step(102, [&] { loadPointer(path); });
///
/// A failing test counts as holding, so the steps it guards run; a failing last step ends the handler.
class Procedure {
  public:
    Procedure(ErrorReportSink& sink, QString location)
        : m_sink(sink), m_location(std::move(location)), m_scope(m_location) {}

    template <typename Step> void step(int line, Step&& body) noexcept {
        try {
            std::forward<Step>(body)();
        } catch (...) {
            report(line, std::current_exception());
        }
    }

    template <typename Test> bool test(int line, Test&& condition) noexcept {
        try {
            return std::forward<Test>(condition)();
        } catch (...) {
            report(line, std::current_exception());
            return true;
        }
    }

    const QString& location() const { return m_location; }

  private:
    void report(int line, const std::exception_ptr& failure) noexcept;

    ErrorReportSink& m_sink;
    QString m_location;
    ReportingScope m_scope;
};

/// The location text of a numbered procedure of one of the program's windows.
QString procedureLocation(const char* window, const char* procedure);

/// Runs an event handler that has no report of its own. Nothing may escape from an event handler into the
/// event loop, so a failure here is reported in the same box, naming the handler, and the program goes on.
template <typename Handler>
void runUnreportedHandler(ErrorReportSink& sink, const char* window, const char* handler,
                          Handler&& body) noexcept;

void reportUnhandled(ErrorReportSink& sink, const QString& where, const std::exception_ptr& failure) noexcept;

template <typename Handler>
void runUnreportedHandler(ErrorReportSink& sink, const char* window, const char* handler,
                          Handler&& body) noexcept {
    QString location;
    try {
        location = procedureLocation(window, handler);
        const ReportingScope scope(location);
        std::forward<Handler>(body)();
    } catch (...) {
        reportUnhandled(sink, location, std::current_exception());
    }
}

} // namespace umbralux
