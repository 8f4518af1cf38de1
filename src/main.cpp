#include "app/application.h"
#include "app/commandline.h"
#include "app/platform.h"
#include "blank/mousepointer.h"
#include "program/desktopplatform.h"
#include "program/program.h"

int main(int argc, char** argv) {
    if (const auto status = umbralux::answerCommandLine(argc, argv))
        return *status;
    umbralux::Application app(argc, argv);
    umbralux::DesktopPlatform platform;
    umbralux::Program program(platform.services(), QCoreApplication::applicationDirPath());
    app.setBeforeEscapedFailureExit([&program] { program.mousePointer().ShowMousePointer(); });
    program.start();
    return app.exec();
}
