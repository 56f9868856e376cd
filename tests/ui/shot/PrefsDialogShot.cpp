// prefs-dialog-shot PREFIX: opens the preferences dialog with the system's fonts and
// saves each of its four pages as PREFIX-1.png to PREFIX-4.png. Run it under
// xvfb-run to see the dialog as a user does. Nothing is saved to the settings.

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTabWidget>
#include <QThread>
#include <iostream>
#include <string>

#include "foundation/Common.h"
#include "ui/prefsdialog/PrefsWindow.h"

#if defined(__SANITIZE_ADDRESS__)
// Under an X server, Qt's accessibility bridge opens D-Bus, whose library keeps an
// allocation to the end; that is the library's, not ours.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdbus-1.so\n";
}
#endif

namespace {

void settle(int millis)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < millis) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

// The notices go nowhere: no other window is open.
class DroppingSink : public TAppMessageSink {
public:
    void Post(const platform::Message&) override {}
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: prefs-dialog-shot PREFIX\n";
        return 2;
    }
    DroppingSink sink;
    TPrefsServices services;
    services.sink = &sink;
    TPrefsWindow window(platform::Rect{20, 20, 100, 100}, services);
    window.Show();
    window.raise();
    settle(300);
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("TabViewPref"));
    for (int page = 0; page < tabs->count(); ++page) {
        tabs->setCurrentIndex(page);
        settle(200);
        const std::string path = std::string(argv[1]) + "-" + std::to_string(page + 1) + ".png";
        if (!window.grab().save(QString::fromStdString(path))) {
            std::cerr << "prefs-dialog-shot: cannot write " << path << "\n";
            return 1;
        }
    }
    return 0;
}
