// kivo-basic: the windowed application.

#include <QApplication>

#include "foundation/Common.h"
#include "ui/app/BasicApp.h"

int main(int argc, char** argv) {
    QApplication qtApp(argc, argv);
    // Command-line arguments name no documents yet; the first gives the executable.
    gAppPrivacy.AnalyzeExePath(argc > 0 ? argv[0] : "");
    // A missing or damaged file leaves the defaults.
    gPrefs.LoadFromFile();
    gExitStates.LoadFromFile();
    {
        TBasicApp app;
        QApplication::exec();
    }
    gExitStates.SaveToFile();
    return 0;
}
