// SPDX-License-Identifier: MIT
#include "errorreport.h"

namespace umbralux {
namespace {

/// The program word and build date that every location text starts with.
constexpr char kLocationPrefix[] = "in Umbrasys2021/08/31.";

/// The innermost running handler's scope; the program's windows all run on the main thread.
thread_local const ReportingScope* innermostScope = nullptr;

/// The last line of every report.
QString screenshotRequest() {
    return QCoreApplication::translate("ErrorReport", "Please email screenshot of this message to %1")
        .arg(QLatin1String(kSupportAddress));
}

} // namespace

ReportingScope::ReportingScope(const QString& location) : m_outer(innermostScope), m_location(location) {
    innermostScope = this;
}

ReportingScope::~ReportingScope() {
    innermostScope = m_outer;
}

QString ReportingScope::current() {
    return innermostScope ? innermostScope->m_location : QString();
}

QString describeFailure(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const Failure& f) {
        return f.description();
    } catch (const std::bad_alloc&) {
        return QCoreApplication::translate("ErrorReport", "Out of memory");
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QCoreApplication::translate("ErrorReport", "Unknown error");
    }
}

QString errorReportMessage(const QString& description, const QString& location, int line) {
    return description + QStringLiteral("\r\n") + location +
           QCoreApplication::translate("ErrorReport", "at line %1").arg(line) + QStringLiteral("\r\r") +
           screenshotRequest();
}

QString procedureLocation(const char* window, const char* procedure) {
    return QLatin1String(kLocationPrefix) + QLatin1String(window) + QLatin1Char('.') +
           QLatin1String(procedure) + QLatin1Char(' ');
}

void Procedure::report(int line, const std::exception_ptr& failure) noexcept {
    try {
        m_sink.showErrorReport(errorReportMessage(describeFailure(failure), m_location, line));
    } catch (...) {
        // A report that cannot be shown must not take the handler down with it.
    }
}

void reportUnhandled(ErrorReportSink& sink, const QString& where,
                     const std::exception_ptr& failure) noexcept {
    try {
        sink.showErrorReport(describeFailure(failure) + QStringLiteral("\r\n") + where +
                             QStringLiteral("\r\r") + screenshotRequest());
    } catch (...) {
    }
}

} // namespace umbralux
