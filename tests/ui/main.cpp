// The windows' tests need one QApplication for the whole run. Offscreen, its main
// screen is 1024 by 768 (screens.json); under an X server (xvfb-run) it is that server's.
#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>
#include <QStyleFactory>

#include "tests/TestPaths.h"

#if defined(__SANITIZE_ADDRESS__)
// Under an X server, Qt's accessibility bridge opens D-Bus, whose library keeps an
// allocation to the end; that is the library's, not ours.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdbus-1.so\n";
}
#endif

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsSet("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen")
        qputenv("QT_QPA_PLATFORM",
                QByteArray("offscreen:configfile=") + test_paths::UiTestDir().c_str() + "/screens.json");
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
