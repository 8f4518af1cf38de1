#pragma once

#include <QApplication>

namespace umbralux {

class ErrorReportSink;

/// The program's QApplication: nothing thrown inside an event handler may unwind through the event loop, so
/// whatever a handler lets escape is reported in an error box and the program goes on.
class Application : public QApplication {
    Q_OBJECT
  public:
    Application(int& argc, char** argv);

    /// Where escaped failures are reported; none until the program is assembled.
    void setErrorReportSink(ErrorReportSink* sink) { m_sink = sink; }

    bool notify(QObject* receiver, QEvent* event) override;

  private:
    ErrorReportSink* m_sink = nullptr;
};

} // namespace umbralux
