#include "application.h"

#include "appicon.h"
#include "errorreport.h"

#include <QtDebug>

namespace umbralux {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setQuitOnLastWindowClosed(false); // the program ends only through the options window's closing rule
    setWindowIcon(applicationIcon()); // message boxes and dialogs carry it too
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (m_sink)
            reportUnhandled(*m_sink, QStringLiteral("in event handler"), std::current_exception());
        else
            qCritical("Unhandled failure in an event handler");
        return false;
    }
}

} // namespace umbralux
