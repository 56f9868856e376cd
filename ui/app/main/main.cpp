// kivo-basic: the windowed application.

#include <QApplication>

#include "foundation/Common.h"
#include "ui/app/AppStart.h"
#include "ui/app/BasicApp.h"
#include "ui/app/DesktopOpens.h"

int main(int argc, char** argv)
{
    QApplication qtApp(argc, argv);
    prepare_application(argc, argv);
    {
        TBasicApp app;
        // The desktop passes the documents to open (the .desktop file's %F).
        post_desktop_opens(app, argc, argv);
        QApplication::exec();
    }
    gExitStates.SaveToFile();
    return 0;
}
