#include "app/application.h"
#include "app/dialogs.h"
#include "app/platform.h"
#include "app/program.h"

int main(int argc, char** argv) {
    umbralux::Application app(argc, argv);
    umbralux::DesktopPlatform platform;
    app.setErrorReportSink(&platform.services().dialogs);
    umbralux::Program program(platform.services(), QCoreApplication::applicationDirPath());
    program.start();
    return app.exec();
}
