#include "ui/app/AppStart.h"

#include "foundation/Common.h"
#include "platform/qt/KeyMessages.h"

void prepare_application(int argc, char** argv)
{
    gAppPrivacy.AnalyzeExePath(argc > 0 ? argv[0] : "");
    // Before the settings are read: the keys held at start decide whether they are.
    platform::install_qt_modifier_reader();
    gPrefs.LoadFromFile();
    gExitStates.LoadFromFile();
}
