#include "app/application.h"
#include "app/endrequests.h"
#include "app/platform.h"
#include "blank/mousepointer.h"
#include "program/desktopplatform.h"
#include "program/program.h"

int main(int argc, char** argv) {
    umbralux::Application app(argc, argv);
    umbralux::DesktopPlatform platform;
    umbralux::Program program(platform.services(), QCoreApplication::applicationDirPath());
    app.setBeforeEscapedFailureExit([&program] { program.mousePointer().ShowMousePointer(); });
    umbralux::EndRequests endRequests;
    QObject::connect(&endRequests, &umbralux::EndRequests::received, &program, [&program] { program.end(); });
    program.start();
    return app.exec();
}
