// run-window-shot LIST PNG [--drive1 FOLDER] [--at MILLIS]: opens the run window, runs
// the list (UTF-8) to its end and saves what the window shows as PNG. With --drive1 the
// drive 1 menu maps FOLDER first; with --at the shot is taken MILLIS after the start,
// while the program may still run (a lit access lamp), and the run is then killed.
// Run it under xvfb-run.

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "foundation/Common.h"
#include "session/FormatSource.h"
#include "ui/runwindow/RunWindow.h"

#if defined(__SANITIZE_ADDRESS__)
// Under an X server, Qt's accessibility bridge opens D-Bus, whose library keeps an
// allocation to the end; that is the library's, not ours.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdbus-1.so\n";
}
#endif

namespace {

constexpr int kRunLimitMillis = 60000;

void settle(int millis)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < millis) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::string drive1;
    int atMillis = -1;
    bool usage = argc < 3;
    for (int i = 3; i < argc && !usage; i += 2) {
        const std::string option = argv[i];
        if (i + 1 >= argc)
            usage = true;
        else if (option == "--drive1")
            drive1 = argv[i + 1];
        else if (option == "--at")
            atMillis = std::atoi(argv[i + 1]);
        else
            usage = true;
    }
    if (usage) {
        std::cerr << "usage: run-window-shot LIST PNG [--drive1 FOLDER] [--at MILLIS]\n";
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    if (!file) {
        std::cerr << "run-window-shot: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::ostringstream list;
    list << file.rdbuf();

    TRunWindow window(gExitStates.RunWindowFrame);
    window.Show();
    window.raise();
    TRunView* view = window.RunView();
    if (!drive1.empty()) {
        platform::Message refs(kRefsReceivedMessage);
        refs.AddInt32("DrvFolderIdx", 0);
        refs.AddRef("refs", platform::EntryRef{drive1});
        window.PostMessage(refs);
        settle(200);
    }
    view->Session().QuitBasic();
    view->Session().ClearBasic();
    gAppPrivacy.Killed = false;
    if (!view->Session().CompileBasic(format_source_for_compiler(list.str()).Text)) {
        std::cerr << "run-window-shot: the list does not compile\n";
        return 1;
    }
    view->Session().ReadyBasic();
    if (!view->Session().RunBasic({})) return 1;
    QElapsedTimer timer;
    timer.start();
    while (!view->RunEnded() && (atMillis < 0 || timer.elapsed() < atMillis)) {
        if (timer.elapsed() > kRunLimitMillis) {
            std::cerr << "run-window-shot: the run did not end\n";
            view->Session().KillBasic();
            return 1;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    // The last redraws and the window manager's frame.
    settle(atMillis < 0 ? 500 : 50);
    QPixmap shot = window.grab();
    view->Session().KillBasic();
    if (QScreen* screen = window.screen()) {
        // With a window manager the title bar is part of what the user sees.
        const QRect frame = window.frameGeometry();
        QPixmap framed = screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
        if (!framed.isNull() && framed.height() > shot.height()) shot = framed;
    }
    if (shot.height() <= window.height()) {
        // No window manager drew a frame (Xvfb alone): the shot gets a title strip of
        // its own, so the picture still names the window.
        constexpr int kTitleHeight = 24;
        QPixmap titled(shot.width(), shot.height() + kTitleHeight);
        titled.fill(QColor(0xD8, 0xD8, 0xD8));
        QPainter painter(&titled);
        painter.setPen(Qt::black);
        painter.drawText(QRect(0, 0, shot.width(), kTitleHeight), Qt::AlignCenter, window.windowTitle());
        painter.drawPixmap(0, kTitleHeight, shot);
        painter.end();
        shot = titled;
    }
    if (!shot.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::cerr << "run-window-shot: cannot write " << argv[2] << "\n";
        return 1;
    }
    std::cout << window.windowTitle().toStdString() << "\n";
    return 0;
}
